// Repetitive dives: the next dive after a surface interval, series saved and opened
// again, closing dives of a series, the save question and files that are refused.

#include "tests/support/EditorFixture.h"

#include "engine/TemplateModule.h"
#include "engine/TextLineWriter.h"
#include "shell/frmMultiLevel.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedLocale.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace {

// Everything of a dive that a round trip must bring back.
struct DiveState {
    std::string settings; // the template block as written
    float surfTime, cns, otu;
    Comp16 n2;
    int16_t number;
    std::vector<std::array<float, 5>> waypoints; // depth, run time, stop, total CNS, total OTU

    bool operator==(const DiveState &) const = default;
};

DiveState stateOf(int16_t n)
{
    const frmWaypointEditor *w = gDiveWindows.at(n);
    const SettingsRecord &r = gSettings.at(n);
    std::ostringstream block;
    TextLineWriter out(block);
    WriteTemplateBlock(r.Template, out);
    DiveState s{block.str(), r.SurfTime, r.CNS, r.OTU, r.N2Compartments, w->dive().SurfProfileNumber, {}};
    const ClassProfile &p = w->dive().InputProfile;
    for (int16_t i = 0; i <= p.GetLength(); ++i)
        s.waypoints.push_back({p.getDepth(i), p.GetRunTime(i), p.getStopTime(i), p.getTotalCNS(i), p.getTotalOTU(i)});
    return s;
}

} // namespace

class DiveSeriesTest : public EditorFixture {
protected:
    void draw(int16_t n, float depth, float minutes, int16_t mix)
    {
        gDiveWindows.at(n)->SaveUserEnteredWaypoints(minutes, depth, mix, false);
        gDiveWindows.at(n)->ReEvaluateUserEnteredWaypoints();
    }

    // The next-dive dialog on the active dive, as the diver fills it in. The dialog
    // stays open (and is returned) when it refused the fields.
    frmMultiLevel *nextDive(const QString &hours, const QString &minutes)
    {
        gMainForm->mnuSurface_Click();
        auto *dialog = gMainForm->findChildren<frmMultiLevel *>().last();
        dialog->tbHours->setText(hours);
        dialog->tbMinutes->setText(minutes);
        dialog->Command2->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return gMainForm->findChildren<frmMultiLevel *>().value(0);
    }

    static void cancel(frmMultiLevel *dialog)
    {
        ASSERT_NE(dialog, nullptr) << "the dialog stays open";
        dialog->Command1->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void activate(int16_t n)
    {
        gMainForm->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(gDiveWindows.at(n)->parentWidget()));
    }

    // Dive 1: 40 m for 20 min on trimix; dive 2 after 1 h 30 on EAN32; dive 3 after
    // 3 h 0.5 min on air to 21.5 m. Each computed.
    void threeDiveSeries(const QString &decimal)
    {
        leg(40, 20);
        editor->StartDeco();
        EXPECT_EQ(nextDive("1", "30"), nullptr);
        draw(2, 30, 25, 1);
        gDiveWindows[2]->StartDeco();
        EXPECT_EQ(nextDive("3", "0" + decimal + "5"), nullptr);
        draw(3, 21.5f, 2.5f, kAir);
        draw(3, 21.5f, 30, kAir);
        gDiveWindows[3]->StartDeco();
    }

    QTemporaryDir dir;
};

TEST_F(DiveSeriesTest, NextDiveCarriesSettingsAndOxygenAndIsNumbered)
{
    threeDiveSeries(".");
    ASSERT_TRUE(gDiveWindows[2] && gDiveWindows[3]);
    EXPECT_EQ(gDiveWindows[1]->dive().NextProfile(), 2);
    EXPECT_EQ(gDiveWindows[3]->dive().PrevProfile(), 2);
    EXPECT_EQ(gSettings[3].PrevProfile, 2);
    EXPECT_EQ(gDiveWindows[3]->dive().SurfProfileNumber, 3);
    EXPECT_FLOAT_EQ(gSettings[3].SurfTime, 180.5f);
    EXPECT_EQ(gSettings[3].Template.GasChanges.size(), 2u) << "settings copied from dive 1";
    EXPECT_TRUE(gDiveWindows[2]->windowTitle().contains("1 hrs :30 min"));
    EXPECT_TRUE(gDiveWindows[3]->windowTitle().contains(GetLangStringQ(3013) + ":3"));

    // The CNS carried in halves every 90 minutes; the OTU is carried whole.
    const float cns1 = gSettings[1].CNS, otu1 = gSettings[1].OTU;
    ASSERT_GT(cns1, 0.01f);
    EXPECT_FLOAT_EQ(gDiveWindows[2]->dive().InputProfile.getCNS(0), cns1 / 2);
    EXPECT_FLOAT_EQ(gDiveWindows[2]->dive().InputProfile.getOTU(0), otu1);
    EXPECT_NEAR(gDiveWindows[3]->dive().InputProfile.getCNS(0), gSettings[2].CNS / 4.0 * std::pow(2.0, -0.5 / 90), 1e-7);

    // Recomputing dive 1 and the later dives after them (their ascents went with dive
    // 1's): they start again from what dive 1 leaves and do not count their own earlier
    // totals twice.
    const float end3 = gSettings[3].CNS;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    editor->mnucleardecopoints();
    editor->StartDeco();
    gDiveWindows[2]->StartDeco();
    gDiveWindows[3]->StartDeco();
    EXPECT_FLOAT_EQ(gSettings[3].CNS, end3);
}

TEST_F(DiveSeriesTest, NextDiveDialogRefusesWhatItCannotUse)
{
    const struct {
        const char *hours, *minutes;
        int text;
    } refused[] = {{"x", "0", 3085}, {"1", "", 3085}, {"1h", "0", 3085}, {"-1", "0", 3086},
                   {"24.5", "0", 3027}, {"25", "99", 3027}, {"1", "60", 3028}, {"1", "-1", 3028}};
    leg(20, 30);
    editor->StartDeco();
    gMainForm->mnuSurface_Click(); // its title is shown whole
    const auto *dialog = gMainForm->findChildren<frmMultiLevel *>().last();
    // Beside the title: the window icon, the close box and the margins.
    const QFontMetrics fm = dialog->fontMetrics();
    EXPECT_GE(dialog->width(), fm.horizontalAdvance(dialog->windowTitle()) + 4 * fm.height());
    cancel(gMainForm->findChildren<frmMultiLevel *>().last());
    for (const auto &r : refused) {
        SCOPED_TRACE(std::string(r.hours) + " h " + r.minutes + " min");
        TestHooks::msgBoxes.clear();
        TestHooks::msgBoxAnswers.push_back(vbOK);
        cancel(nextDive(r.hours, r.minutes));
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(r.text));
    }
    EXPECT_EQ(gMainForm->MdiArea()->subWindowList().size(), 1);

    // 24 h 59 min is the longest interval; a dive that already has a next dive, and one
    // not yet computed, have nothing to follow.
    EXPECT_EQ(nextDive("24", "59"), nullptr);
    EXPECT_FLOAT_EQ(gSettings[2].SurfTime, 1499);
    TestHooks::msgBoxes.clear();
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    activate(1);
    cancel(nextDive("1", "0"));
    activate(2);
    cancel(nextDive("1", "0"));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(3087));
    EXPECT_EQ(TestHooks::msgBoxes[1].prompt, GetLangStringQ(3088));
    EXPECT_EQ(gMainForm->MdiArea()->subWindowList().size(), 2);
}

class SeriesRoundTrip : public DiveSeriesTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(SeriesRoundTrip, SavedSeriesOpensAsTheSameDivesAndSavesByteForByte)
{
    ScopedLocale locale(GetParam());
    const bool german = std::string(GetParam()) != "C";
    if (german && !locale.decimalComma())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    gDecimalSeparator = german ? "," : ".";
    gThousandSeparator = german ? "." : "";

    threeDiveSeries(QString::fromStdString(gDecimalSeparator));
    const std::vector<DiveState> before = {stateOf(1), stateOf(2), stateOf(3)};
    ASSERT_GT(std::count_if(before[0].waypoints.begin(), before[0].waypoints.end(),
                            [](const auto &w) { return w[2] > 0; }), 2) << "dive 1 has stops";

    const QString first = dir.filePath("trip.series.prf"), second = dir.filePath("again.prf");
    TestHooks::fileAnswers.push_back(first);
    gMainForm->mnuSaveProfileAs->trigger();
    const std::string text = FileBytes(first.toStdString());
    EXPECT_NE(text.find("SurfTime = 180.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n21.5,2.5,0,0,\r\n"), std::string::npos);
    EXPECT_EQ(gSettings[2].ProfileName, "trip.series.prf");
    EXPECT_EQ(gDiveWindows[3]->windowTitle(), "trip.series.prf" + GetLangStringQ(6163) + "Default.tpl ]");

    // Just saved: closing has nothing to ask.
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(TestHooks::msgBoxes.empty());

    TestHooks::fileAnswers.push_back(first);
    gMainForm->mnuOpen->trigger();
    ASSERT_EQ(gMainForm->MdiArea()->subWindowList().size(), 3);
    EXPECT_EQ(stateOf(1), before[0]);
    EXPECT_EQ(stateOf(2), before[1]);
    EXPECT_EQ(stateOf(3), before[2]);
    EXPECT_EQ(gDiveWindows[3]->windowTitle(), "trip.series.prf Dive:3" + GetLangStringQ(6163) +
                                                  "Default.tpl] surface interval 180" +
                                                  QString::fromStdString(gDecimalSeparator) + "5 min");
    EXPECT_FALSE(gSettings[1].ProfileChanged || gSettings[2].ProfileChanged || gSettings[3].ProfileChanged);

    // Save goes to the file it came from without asking; Save As to a new one.
    gMainForm->mnuSaveProfile->trigger();
    EXPECT_TRUE(TestHooks::fileDialogs.size() == 2u) << "Save asked for a name";
    TestHooks::fileAnswers.push_back(second);
    gMainForm->mnuSaveProfileAs->trigger();
    EXPECT_EQ(FileBytes(first.toStdString()), text);
    EXPECT_EQ(FileBytes(second.toStdString()), text);
}

INSTANTIATE_TEST_SUITE_P(Locales, SeriesRoundTrip, ::testing::Values("C", "de_DE.UTF-8"),
                         [](const auto &p) { return std::string(p.index ? "German" : "C"); });

TEST_F(DiveSeriesTest, ClosingTheMiddleDiveRelinksAndRenumbers)
{
    threeDiveSeries(".");
    for (int n : {1, 2, 3})
        gSettings[n].ProfileChanged = false; // saved
    const float cns1 = gSettings[1].CNS;
    // File > Close on the middle dive acts as the diver's own close.
    activate(2);
    gMainForm->mnuClose->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(gDiveWindows[2]);
    EXPECT_TRUE(TestHooks::msgBoxes.empty());

    EXPECT_EQ(gDiveWindows[1]->dive().NextProfile(), 3);
    EXPECT_EQ(gDiveWindows[3]->dive().PrevProfile(), 1);
    EXPECT_EQ(gSettings[3].PrevProfile, 1);
    EXPECT_EQ(gDiveWindows[3]->dive().SurfProfileNumber, 2);
    EXPECT_TRUE(gDiveWindows[3]->windowTitle().contains(GetLangStringQ(3013) + ":2"));
    // Dive 3 now follows dive 1 directly.
    EXPECT_NEAR(gDiveWindows[3]->dive().InputProfile.getCNS(0), cns1 / 4.0 * std::pow(2.0, -0.5 / 90), 1e-7);

    // Closing the first dive closes the rest of its series after one question.
    TestHooks::msgBoxAnswers.push_back(vbNo);
    editor->parentWidget()->close();
    EXPECT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(gSettings[1].SlotFree && gSettings[3].SlotFree);
}
