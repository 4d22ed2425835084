// A repetitive dive is planned only from a computed dive before it: files, clears and
// settings that leave the dive before it uncomputed take the later dives' ascents off.
// And closing the program with several changed series asks every series before it
// closes any.

#include "tests/support/EditorFixture.h"

#include "engine/TextLineWriter.h"
#include "platform/ShellServices.h"
#include "settings/frmProperties.h"
#include "shell/ProfileFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>

namespace {

ClassUseractions legLog(float depth, float minutes, int16_t mix, bool computed)
{
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, depth, minutes, mix);
    if (computed) {
        log.NewAction();
        log.setuser(2, 0, 0, 0);
        log.setdeco(2);
    }
    return log;
}

int16_t decoMarkers(const ClassUseractions &log)
{
    int16_t n = 0;
    for (int16_t i = 1; i <= log.GetLength(); ++i)
        n += log.getaction(i) == ActionDecoMarker;
    return n;
}

float runTime(const frmWaypointEditor *w)
{
    return w->dive().InputProfile.GetRunTime(w->dive().InputProfile.GetLength());
}

} // namespace

class SeriesPlanTest : public EditorFixture {
protected:
    // The box that tells of ascents taken off: the reason, then what was done.
    static QString takenOff() { return GetLangStringQ(7040) + "\r\n" + GetLangStringQ(7041); }

    void open(const QString &path)
    {
        TestHooks::fileAnswers.push_back(path);
        gMainForm->mnuOpen->trigger();
    }

    // Dive 1 at 40 m for 20 min on trimix, dives 2 and 3 at 30 m for 25 min on air after
    // 90 min each; `computed` says which dives carry their deco marker.
    // `alone` writes the dive of dives 2 and 3 as a first dive.
    QString writeSeries(const char *name, std::initializer_list<bool> computed, bool alone = false)
    {
        const QString path = dir.filePath(name);
        std::ofstream file(path.toStdString(), std::ios::binary);
        TextLineWriter out(file);
        bool first = !alone;
        for (bool c : computed) {
            WriteProfileDive(dive(), first ? 0 : 90, first ? legLog(40, 20, kTrimix, c) : legLog(30, 25, kAir, c), out);
            first = false;
        }
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(SeriesPlanTest, AComputedDiveAfterAnUncomputedOneOpensUncomputed)
{
    // Alone, the repetitive dive's plan is what a first dive of it would be.
    open(writeSeries("alone.prf", {true}, true));
    frmWaypointEditor *alone = gDiveWindows.at(2);
    ASSERT_EQ(alone->EditorState(), EditorComputed);
    const float aloneHelium = gSettings[alone->ProfileNumber()].HeCompartments[16];
    alone->CloseByCode();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Dive 1 has no ascent, dives 2 and 3 have theirs: neither may be planned, since the
    // tissues dive 2 would start from were never computed. One box for the file.
    TestHooks::msgBoxAnswers = {vbOK};
    open(writeSeries("gap.prf", {false, true, true}));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, takenOff());
    std::vector<frmWaypointEditor *> w;
    for (int16_t n = 1; n < int16_t(gDiveWindows.size()); ++n)
        if (gDiveWindows[n] && gDiveWindows[n] != editor)
            w.push_back(gDiveWindows[n]);
    ASSERT_EQ(w.size(), 3u);
    for (int i = 1; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(w[i]->EditorState(), EditorUserLegs);
        EXPECT_EQ(decoMarkers(w[i]->dive().UserEnteredWaypoints), 0);
        EXPECT_EQ(w[i]->dive().UserEnteredWaypoints.GetLength(), 1) << "the diver's leg stays";
        EXPECT_FLOAT_EQ(runTime(w[i]), 25);
        EXPECT_TRUE(gSettings[w[i]->ProfileNumber()].ProfileChanged);
    }
    // DOLV_SHOTS=<folder> keeps the main window as the diver sees it now.
    if (const char *shots = std::getenv("DOLV_SHOTS"))
        gMainForm->grab().save(QDir(shots).filePath(QStringLiteral("series-gap.png")));

    // Compute on dive 2 is refused while dive 1 is not computed, and changes nothing.
    TestHooks::msgBoxAnswers = {vbOK};
    w[1]->StartDeco();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_EQ(TestHooks::msgBoxes[1].prompt, GetLangStringQ(7040));
    EXPECT_EQ(w[1]->EditorState(), EditorUserLegs);
    EXPECT_EQ(w[1]->dive().UserEnteredWaypoints.GetLength(), 1);

    // In order they compute, dive 2 from dive 1's tissues: the helium of dive 1's
    // trimix is still in the slowest compartment, which the air dive alone never has.
    w[0]->StartDeco();
    w[1]->StartDeco();
    w[2]->StartDeco();
    EXPECT_EQ(w[2]->EditorState(), EditorComputed);
    EXPECT_GT(gSettings[w[1]->ProfileNumber()].HeCompartments[16], aloneHelium + 0.01f);
    EXPECT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_TRUE(TestHooks::msgBoxAnswers.empty());
}

TEST_F(SeriesPlanTest, ClearingOrLosingTheFirstPlanTakesTheLaterPlansOff)
{
    open(writeSeries("three.prf", {true, true, true}));
    std::vector<frmWaypointEditor *> w{gDiveWindows.at(2), gDiveWindows.at(3), gDiveWindows.at(4)};
    ASSERT_TRUE(w[2] && w[2]->EditorState() == EditorComputed);
    ASSERT_TRUE(TestHooks::msgBoxes.empty());
    const float planned2 = runTime(w[1]);
    const Comp16 tissues2 = gSettings[w[1]->ProfileNumber()].N2Compartments;

    // Clear the computed points of dive 1: dives 2 and 3 would be computed from the end of
    // a plan no longer shown. Both lose their ascents, with one box.
    TestHooks::msgBoxAnswers = {vbOK};
    w[0]->mnucleardecopoints();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, takenOff());
    EXPECT_EQ(w[1]->EditorState(), EditorUserLegs);
    EXPECT_EQ(w[2]->EditorState(), EditorUserLegs);

    // Dive 1 computed again: dive 2 is planned as before, from dive 1's tissues.
    w[0]->StartDeco();
    w[1]->StartDeco();
    w[2]->StartDeco();
    EXPECT_EQ(runTime(w[1]), planned2);
    EXPECT_EQ(gSettings[w[1]->ProfileNumber()].N2Compartments, tissues2);

    // New settings under which not even dive 1's legs compute (the trimix it breathes is
    // gone): its ascent goes with its own reason, and the later dives follow it.
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    TemplateRec &settings1 = gSettings[w[0]->ProfileNumber()].Template;
    settings1.Gases.resize(kTrimix);
    // Every dive is announced for its window to redraw, dive 1 last, as its word comes last.
    std::vector<int16_t> announced;
    const auto heard = QObject::connect(&ShellNotices::Instance(), &ShellNotices::DiveChanged,
                                        [&announced](int16_t n) { announced.push_back(n); });
    w[0]->ReEvaluateUserEnteredWaypoints();
    QObject::disconnect(heard);
    EXPECT_EQ(announced, (std::vector<int16_t>{w[2]->ProfileNumber(), w[1]->ProfileNumber(), w[0]->ProfileNumber()}));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 3u);
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.endsWith(GetLangStringQ(7000)));
    EXPECT_EQ(TestHooks::msgBoxes[2].prompt, takenOff());
    for (frmWaypointEditor *d : w) {
        EXPECT_EQ(d->EditorState(), EditorUserLegs);
        EXPECT_EQ(decoMarkers(d->dive().UserEnteredWaypoints), 0);
    }
    EXPECT_TRUE(TestHooks::msgBoxAnswers.empty());
}

TEST_F(SeriesPlanTest, ALaterAscentInTheLogGoesToo)
{
    // Dive 2 computed, then a leg drawn after its ascent: the ascent in the middle of the
    // log would otherwise stay on screen, planned from the old tissues of dive 1.
    open(writeSeries("two.prf", {true, true}));
    frmWaypointEditor *first = gDiveWindows.at(2), *second = gDiveWindows.at(3);
    second->SaveUserEnteredWaypoints(15, 12, kAir, false);
    second->ReEvaluateUserEnteredWaypoints();
    ASSERT_EQ(decoMarkers(second->dive().UserEnteredWaypoints), 1);
    ASSERT_EQ(second->dive().UserEnteredWaypoints.GetLength(), 3);

    TestHooks::msgBoxAnswers = {vbOK};
    first->mnucleardecopoints();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(decoMarkers(second->dive().UserEnteredWaypoints), 0);
    ASSERT_EQ(second->dive().UserEnteredWaypoints.GetLength(), 2) << "both legs stay";
    EXPECT_FLOAT_EQ(second->dive().UserEnteredWaypoints.getDepth(2), 12);
    EXPECT_FLOAT_EQ(runTime(second), 40);
}

TEST_F(SeriesPlanTest, ExitAsksEverySeriesBeforeClosingAny)
{
    leg(30, 20);
    gMainForm->mnuNewProfile->trigger();
    frmWaypointEditor *other = gDiveWindows.at(2);
    ASSERT_TRUE(other && other->dive().PrevProfile() == -1);
    other->SaveUserEnteredWaypoints(20, 25, kAir, false);
    other->ReEvaluateUserEnteredWaypoints();
    gSettings[1].ProfileChanged = gSettings[2].ProfileChanged = true;
    const QString title1 = editor->windowTitle(), title2 = other->windowTitle();
    auto openDives = [] { return gMainForm->MdiArea()->subWindowList().size(); };

    // "No" to the first series, Cancel to the second: the exit is off and the first
    // series, answered already, is still open with its plan.
    TestHooks::msgBoxAnswers = {vbNo, vbCancel};
    EXPECT_FALSE(gMainForm->close());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.contains(title1)) << "the series in the order they were made";
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.contains(title2));
    EXPECT_EQ(openDives(), 2);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_TRUE(gSettings[1].ProfileChanged);

    // Yes saves the first series; a Cancel after it still closes nothing.
    const QString saved = dir.filePath("first.prf");
    TestHooks::msgBoxAnswers = {vbYes, vbCancel};
    TestHooks::fileAnswers = {saved};
    EXPECT_FALSE(gMainForm->close());
    EXPECT_EQ(openDives(), 2);
    EXPECT_NE(FileBytes(saved.toStdString()).find("30,20,5,0,"), std::string::npos);

    // Every series answered: each question once, then all close.
    TestHooks::msgBoxes.clear();
    TestHooks::msgBoxAnswers = {vbNo};
    EXPECT_TRUE(gMainForm->close());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u) << "the saved series has nothing to ask";
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.contains(title2));
    EXPECT_EQ(openDives(), 0);
    EXPECT_TRUE(TestHooks::msgBoxAnswers.empty() && TestHooks::fileAnswers.empty());
}

// Taking a dive's ascents off keeps each leg's gas: a later change of its gas list still
// finds the gas the leg was logged with, not whatever took its place in the list.
TEST_F(SeriesPlanTest, LegsWhoseAscentWasTakenOffKeepTheirGas)
{
    const QString path = dir.filePath("gap-gases.prf");
    {
        std::ofstream file(path.toStdString(), std::ios::binary);
        TextLineWriter out(file);
        WriteProfileDive(dive(), 0, legLog(40, 20, kTrimix, false), out);
        WriteProfileDive(dive(), 90, legLog(30, 25, 1, true), out); // on EAN32
    }
    TestHooks::msgBoxAnswers = {vbOK};
    open(path);
    frmWaypointEditor *second = gDiveWindows.at(3);
    ASSERT_TRUE(second);
    ASSERT_EQ(second->dive().UserEnteredWaypoints.GetLength(), 1);
    ASSERT_TRUE(second->dive().UserEnteredWaypoints.getgasname(1).has_value());
    TemplateRec &t = gSettings[second->ProfileNumber()].Template;
    ASSERT_EQ(t.Gases[1].Name, "EAN32");
    std::swap(t.Gases[1], t.Gases[2]);
    second->ReEvaluateUserEnteredWaypoints();
    const ClassProfile &p = second->dive().InputProfile;
    ASSERT_GT(p.GetLength(), 0);
    for (int16_t k = 1; k <= p.GetLength(); ++k)
        EXPECT_EQ(p.GetGasMixName(k), "EAN32") << "piece " << k;
}

// A series may change units from dive to dive, in its file or by the settings dialog: the
// second dive starts from the first one's tissues in its own units and plans as the same
// series in its units throughout (8.8 msw of nitrogen read as fsw gave 11 min of stops).
TEST_F(SeriesPlanTest, ASeriesThatChangesUnitsCarriesItsTissuesAcross)
{
    dive().GasChanges.clear();
    const TemplateRec metric = dive();
    const auto switchUnits = [](int16_t number, bool toMetric) {
        frmProperties dialog(number);
        dialog.Option1[toMetric ? 1 : 0]->click();
        dialog.cbOK->click();
    };
    switchUnits(1, false);
    const TemplateRec imperial = dive();
    // 40 m (131 ft) for 30 min, then after 30 min 30.48 m (100 ft) for 25 min, on air.
    auto secondDiveStops = [&, files = 0](bool firstMetric, bool fileMetric, bool planMetric) mutable {
        const QString path = dir.filePath(QString::number(++files));
        std::ofstream file(path.toStdString(), std::ios::binary);
        TextLineWriter out(file);
        WriteProfileDive(firstMetric ? metric : imperial, 0, legLog(firstMetric ? 40 : 131, 30, kAir, true), out);
        WriteProfileDive(fileMetric ? metric : imperial, 30, legLog(fileMetric ? 30.48f : 100, 25, kAir, true), out);
        file.close();
        open(path);
        const int16_t second = int16_t(gDiveWindows.size() - 1);
        if (planMetric != fileMetric)
            switchUnits(second, planMetric);
        const ClassProfile &p = gDiveWindows.at(second)->dive().InputProfile;
        float stops = 0;
        for (int16_t i = 1; i <= p.GetLength(); ++i)
            stops += p.GetStatus(i) == 4 ? p.GetSegmentTime(i) : 0;
        return stops;
    };
    const float throughout[] = {secondDiveStops(false, false, false), secondDiveStops(true, true, true)};
    ASSERT_GT(std::min(throughout[0], throughout[1]), 30);
    using Case = std::array<bool, 3>; // first dive metric, second in the file, planned metric
    for (const Case &c : {Case{true, false, false}, Case{false, true, true}, Case{true, true, false}, Case{false, false, true}})
        EXPECT_NEAR(secondDiveStops(c[0], c[1], c[2]), throughout[c[2]], 2) << c[0] << c[1] << c[2];
}
