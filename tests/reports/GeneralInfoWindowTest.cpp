// The dive information in the running program: a tab per dive of the series, every grid
// and label refilled for the dive of the selected tab, limits crossed shown in red, and
// the copy of what is shown on the clipboard.

#include "tests/support/EditorFixture.h"
#include "tests/support/TextFits.h"

#include "engine/DiveModel.h"
#include "engine/VBConversions.h"
#include "platform/FlexGrid.h"
#include "platform/RegEditModule.h"
#include "reports/frmGeneralInfo.h"
#include "shell/frmMultiLevel.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>

#include <algorithm>

namespace {

bool marked(FlexGrid *grid, int row, int col)
{
    const QTableWidgetItem *item = grid->CellItem(row, col);
    return item->foreground().color() == QColor(255, 0, 0) && item->font().bold();
}

// Every text the window shows for a dive: labels and all cells of the four grids.
QStringList shownTexts(frmGeneralInfo &info)
{
    QStringList texts;
    for (QLabel *l : info.findChildren<QLabel *>())
        texts << l->objectName() + (l->isHidden() ? "(hidden)=" : "=") + l->text();
    for (FlexGrid *g : info.findChildren<FlexGrid *>())
        for (int i = 0; i < g->Rows() * g->Cols(); ++i)
            texts << g->objectName() + QString::number(i) + "=" + g->TextArray(i);
    return texts;
}

// Right click on a widget as the diver does, then "Copy" in the menu that pops up; the
// copied lines.
QStringList copyFrom(frmGeneralInfo &info, QWidget *where)
{
    QTest::mouseClick(where, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(info.mnuCopyInfo->isVisible()) << where->objectName().toStdString();
    TestHooks::msgBoxAnswers.push_back(vbOK);
    QTest::mouseClick(info.mnuCopyInfo, Qt::LeftButton, {}, info.mnuCopyInfo->actionGeometry(info.GeneralInfo).center());
    EXPECT_EQ(TestHooks::msgBoxes.back().prompt, "Copy to clipboard done");
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text.count('\n'), text.count("\r\n")) << "every line ends in CR LF";
    return text.split("\r\n");
}

} // namespace

class GeneralInfoTest : public EditorFixture {
protected:
    // Dive 1: 40 m for 20 min on trimix; dive 2 after 1 h 30 min, 25 min at 30 m on
    // EAN32; dive 3 after 3 h, 25 min at 21.5 m on air, planned when `computeLast`.
    void threeDiveSeries(bool computeLast = true)
    {
        leg(40, 20);
        editor->StartDeco();
        for (const auto &[n, hours, depth, mix] : {std::tuple{2, "1", 30.0f, 1}, std::tuple{3, "3", 21.5f, 0}}) {
            gMainForm->mnuSurface_Click();
            auto *dialog = gMainForm->findChildren<frmMultiLevel *>().last();
            dialog->tbHours->setText(hours);
            dialog->tbMinutes->setText(n == 2 ? "30" : "0");
            dialog->Command2->click();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ASSERT_TRUE(gDiveWindows[n]);
            gDiveWindows[n]->SaveUserEnteredWaypoints(25, depth, static_cast<int16_t>(mix), false);
            gDiveWindows[n]->ReEvaluateUserEnteredWaypoints();
            if (n == 2 || computeLast)
                gDiveWindows[n]->StartDeco();
        }
    }

    static ClassProfile &shown(int16_t n) { return FindDive(n)->InputProfile; }
};

TEST_F(GeneralInfoTest, ATabPerDiveAndEachTabShowsItsDive)
{
    threeDiveSeries();
    frmGeneralInfo info(ActiveProfileNumber(), AlgorithmMenuTicks(), gMainForm);
    info.setthefirstprofile();
    info.show();
    EXPECT_EQ(info.SeriesCount(), 3);
    ASSERT_FALSE(info.TabStrip1->isHidden());
    ASSERT_EQ(info.TabStrip1->count(), 3);
    EXPECT_EQ(info.TabStrip1->tabText(0), GetLangStringQ(3012));
    EXPECT_EQ(info.TabStrip1->tabText(2), GetLangStringQ(3013) + "3");
    EXPECT_EQ(info.windowTitle(), GetLangStringQ(2100) + ": " + QString::fromStdString(gSettings[1].ProfileName));

    // The first dive although dive 3 is the active one: a row per waypoint, its stops,
    // per gas in the order of the gas list, the model as the algorithm menu names it.
    EXPECT_EQ(info.ShownDive(), 1);
    EXPECT_TRUE(info.Label17->isHidden());
    const ClassProfile &p1 = shown(1);
    const int last = p1.GetLength() + 1;
    ASSERT_EQ(info.fginfo->Rows(), last + 1);
    EXPECT_EQ(info.fginfo->TextMatrix(last, 2), QString::fromStdString(FormatFixed(p1.GetRunTime(last - 1), 1)));
    EXPECT_EQ(info.fgSummary->TextMatrix(0, 1), info.fginfo->TextMatrix(last, 2)) << "run time";
    EXPECT_EQ(info.fgSummary->TextMatrix(4, 3), "40.0") << "greatest depth";
    int stops = 0;
    float trimix = 0;
    for (int16_t i = 0; i <= p1.GetLength(); ++i) {
        stops += i > 0 && p1.getStopDepth(i) != 0;
        trimix += p1.GetGasMixName(i) == "Trimix 18/45" ? p1.getGasUsed(i) : 0;
    }
    EXPECT_EQ(info.fgDecoStop->Rows(), stops + 1);
    ASSERT_EQ(info.fgGasConsumption->Rows(), 4);
    EXPECT_EQ(info.fgGasConsumption->TextMatrix(1, 0), "EAN50");
    EXPECT_EQ(info.fgGasConsumption->TextMatrix(3, 0), "Trimix 18/45");
    EXPECT_EQ(info.fgGasConsumption->TextMatrix(3, 1), QString::fromStdString(FormatFixed(trimix, 1)));
    ASSERT_TRUE(gMainForm->mnuBulhmannB->isChecked());
    EXPECT_EQ(info.lbModel->text(), "ZH-L16B");
    EXPECT_EQ(info.fginfo->TextMatrix(last, 13), "ZH-L16B");
    const QStringList first = shownTexts(info);

    // The second tab: the dive after 1 h 30 min, its interval shown.
    info.TabStrip1->setCurrentIndex(1);
    EXPECT_EQ(info.ShownDive(), 2);
    EXPECT_FALSE(info.Label17->isHidden());
    EXPECT_EQ(info.Label16->text(), GetLangStringQ(3016));
    EXPECT_EQ(info.Label17->text(), "1 hrs :30 min");
    EXPECT_EQ(info.fginfo->Rows(), shown(2).GetLength() + 2);
    EXPECT_EQ(info.fgGasConsumption->TextMatrix(1, 0), "EAN32");

    // Its copy names dive 2 in the three title boxes, not the active dive 3.
    QStringList lines = copyFrom(info, info.fginfo->viewport());
    const QString caption2 = gDiveWindows[2]->windowTitle();
    ASSERT_NE(caption2, gDiveWindows[3]->windowTitle());
    EXPECT_EQ(lines[1].trimmed(), GetLangStringQ(6084) + ":   " + caption2);
    EXPECT_EQ(lines.filter(":   " + caption2).size(), 3);
    EXPECT_EQ(lines[4], GetLangStringQ(6022) + "1 hrs :30 min");

    // Back to the first: all of dive 2 is gone, its interval too (also from the copy).
    info.TabStrip1->setCurrentIndex(0);
    EXPECT_EQ(shownTexts(info), first);
    lines = copyFrom(info, info.Frame3);
    EXPECT_EQ(lines[4], GetLangStringQ(6022) + "None");
}

TEST_F(GeneralInfoTest, LimitsAreMarkedOnlyBeyondThemAndTheDecoLimitHoldsFromTheFirstStop)
{
    leg(40, 20);
    editor->StartDeco();
    TemplateRec &t = dive();
    t.MinPPO2 = 0.18f;
    t.MaxPPO2 = 1.4f;
    t.DecoPPO2 = 1.6f;
    t.MaximalEND = 30;
    t.GFOn = true;
    ClassProfile &p = shown(1);
    // A waypoint of the bottom, the first stop, and a travel between later stops.
    const int16_t bottom = 1;
    int16_t firstStop = -1, between = -1;
    for (int16_t i = 1; i <= p.GetLength() && between < 0; ++i)
        if (firstStop < 0 && p.getStopDepth(i) != 0)
            firstStop = i;
        else if (firstStop > 0 && p.getStopDepth(i) == 0 && p.getDepth(i) > 0)
            between = i;
    ASSERT_GT(firstStop, bottom);
    ASSERT_GT(between, firstStop);

    frmGeneralInfo info(ActiveProfileNumber(), AlgorithmMenuTicks(), gMainForm);
    FlexGrid *g = info.fginfo;
    const struct {
        int16_t wp;
        float ppO2;
        bool warn, slanted;
    } ppO2Cases[] = {
        {bottom, 1.4f, false, false},  {bottom, 1.41f, true, false}, {bottom, 0.18f, false, false},
        {bottom, 0.17f, true, false},  {between, 1.5f, false, false}, // the deco limit, latched
        {between, 1.6f, false, false}, {between, 1.61f, true, true},  {firstStop, 1.61f, true, true},
        {between, 0.17f, true, true},
    };
    for (const auto &c : ppO2Cases) {
        const float kept = p.GetPPO2(c.wp);
        p.SetPPO2(c.wp, c.ppO2);
        info.setInfo(1, false);
        EXPECT_EQ(marked(g, c.wp + 1, 5), c.warn) << c.wp << " " << c.ppO2;
        EXPECT_EQ(g->CellItem(c.wp + 1, 5)->font().italic(), c.slanted) << c.wp << " " << c.ppO2;
        p.SetPPO2(c.wp, kept);
    }

    // CNS of a segment at 100 %, END 0.1 above the limit, a factor of 1.0: not marked.
    const struct {
        float cns, end, gf;
        bool warn;
        const char *gfText;
    } cases[] = {{1.0f, 30.1f, 1.0f, false, ""}, {1.001f, 30.11f, 1.01f, true, "101"}, {0.5f, 29, 0.85f, false, "85.0"}};
    for (const auto &c : cases) {
        p.setCNS(bottom, c.cns);
        p.SetEND(bottom, c.end);
        p.SetGF(bottom, c.gf);
        info.setInfo(1, false);
        EXPECT_EQ(marked(g, bottom + 1, 6), c.warn) << c.cns;
        EXPECT_EQ(marked(g, bottom + 1, 8), c.warn) << c.end;
        EXPECT_EQ(marked(g, bottom + 1, 11), c.warn) << c.gf;
        EXPECT_EQ(g->TextMatrix(bottom + 1, 11), c.gfText);
    }

    // The summary's extremes against the bottom limits: equal is not marked.
    float highest = 0, lowest = 1000, highestEND = 0;
    for (int16_t i = 0; i <= p.GetLength(); ++i) {
        highest = std::max(highest, p.GetPPO2(i));
        lowest = std::min(lowest, p.GetPPO2(i));
        highestEND = std::max(highestEND, p.GetEND(i));
    }
    for (float beyond : {0.0f, 0.01f}) {
        t.MaxPPO2 = highest - beyond;
        t.MinPPO2 = lowest + beyond;
        t.MaximalEND = highestEND - beyond;
        info.setInfo(1, false);
        for (auto [row, col] : {std::pair{2, 1}, {2, 3}, {3, 1}})
            EXPECT_EQ(marked(info.fgSummary, row, col), beyond > 0) << row << "," << col;
    }
}

TEST_F(GeneralInfoTest, EachDiveIsShownAfreshAndAnUnplannedDiveShowsItsLegs)
{
    threeDiveSeries(false);
    gSettings[1].Template.GFOn = true;
    gSettings[1].Template.GFHigh = 1.1f;
    gSettings[1].Template.MaxPPO2 = 1.0f; // dive 1's highest ppO2 is above it
    TemplateRec &t3 = gSettings[3].Template;
    t3.GFOn = true;
    t3.GFHigh = 0.8f;
    t3.MaxPPO2 = t3.DecoPPO2 = 5;
    t3.MinPPO2 = 0;
    frmGeneralInfo info(ActiveProfileNumber(), AlgorithmMenuTicks(), gMainForm);
    info.setthefirstprofile();
    EXPECT_EQ(info.lbHiGFValue->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(marked(info.fgSummary, 2, 1));

    // Dive 3, drawn but not planned: its legs, no stops, no warning of dive 1 left.
    info.TabStrip1->setCurrentIndex(2);
    const ClassProfile &p3 = shown(3);
    EXPECT_EQ(info.fginfo->Rows(), p3.GetLength() + 2);
    EXPECT_EQ(info.fginfo->TextMatrix(p3.GetLength() + 1, 0), "21.5");
    EXPECT_EQ(info.fginfo->TextMatrix(p3.GetLength() + 1, 12), GetLangStringQ(3018)) << "a planned leg";
    EXPECT_EQ(info.fgDecoStop->Rows(), 1);
    EXPECT_NE(info.lbHiGFValue->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (int i = 0; i < 24; ++i)
        EXPECT_FALSE(marked(info.fgSummary, i / 4, i % 4)) << i;
    EXPECT_NE(info.fgSummary->TextMatrix(5, 3), "");

    // Only its start point: one row and no summary at all, the deco ppO2 included.
    shown(3).clear();
    info.TabStrip1->setCurrentIndex(0);
    info.TabStrip1->setCurrentIndex(2);
    EXPECT_EQ(info.fginfo->Rows(), 2);
    EXPECT_EQ(info.fgDecoStop->Rows(), 1);
    EXPECT_EQ(info.fgGasConsumption->Rows(), 1);
    for (int row = 0; row < 6; ++row)
        for (int col : {1, 3})
            EXPECT_EQ(info.fgSummary->TextMatrix(row, col), "") << row << "," << col;
}

TEST_F(GeneralInfoTest, TheMenuOpensItOnASingleRebreatherDiveWithoutTabsAndCopiesIt)
{
    gMainForm->SetConstPPO(true);
    ASSERT_FALSE(dive().OpenCircuit);
    leg(40, 20);
    editor->StartDeco();
    QStringList lines;
    int rows = 0;
    TestHooks::modalHandlers.push_back([&](QDialog *d) {
        auto &info = *static_cast<frmGeneralInfo *>(d);
        EXPECT_EQ(info.parentWidget(), gMainForm) << "owned by the main window";
        EXPECT_TRUE(info.TabStrip1->isHidden());
        EXPECT_TRUE(info.Label17->isHidden());
        rows = info.fginfo->Rows();
        for (int row = 1; row < rows; ++row)
            EXPECT_EQ(info.fginfo->TextMatrix(row, 9), "--   ") << row;
        // The summary offers no copy; the window itself does.
        QTest::mouseClick(info.fgSummary->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_FALSE(info.mnuCopyInfo->isVisible());
        lines = copyFrom(info, &info);
        info.Command1->click();
    });
    gMainForm->mnuDiveInformation->trigger(); // Ctrl+F
    EXPECT_EQ(TestHooks::modalWindows.count("frmGeneralInfo"), 1);

    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines[1].trimmed(), GetLangStringQ(6084) + ":   " + editor->windowTitle());
    EXPECT_EQ(lines[4], GetLangStringQ(6022) + "None");
    EXPECT_EQ(lines[6].indexOf(GetLangStringQ(6048) + ": " + GetLangStringQ(2126)), 51);
    EXPECT_EQ(lines[12].indexOf("   " + GetLangStringQ(6170) + ": 0.80"), 19) << "the high factor";
    // Gas used starts in column 53 of a waypoint's row: after 7+6+8+5+4+6+6+6+4 columns.
    const int header = static_cast<int>(lines.indexOf(QRegularExpression(GetLangStringQ(6060) + " .*%O2.*")));
    ASSERT_GT(header, 0);
    for (int row = header + 1; row < header + rows; ++row)
        EXPECT_EQ(lines[row].mid(52, 8), "--      ") << lines[row].toStdString();

    // The toolbar's button opens it too; with no dive window neither opens anything.
    TestHooks::modalHandlers.push_back([](QDialog *d) { d->reject(); });
    gMainForm->Button(QStringLiteral("AscentInfo"))->trigger();
    gSettings[1].ProfileChanged = false;
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    gMainForm->mnuDiveInformation_Click();
    EXPECT_EQ(TestHooks::modalWindows.count("frmGeneralInfo"), 2);
}

class GeneralInfoLayoutTest : public GeneralInfoTest, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override
    {
        stored_ = GetRegString(QStringLiteral("Language"), QString());
        SetRegString(QStringLiteral("Language"), QString(), QString::fromLatin1(GetParam()));
        GeneralInfoTest::SetUp();
    }
    void TearDown() override
    {
        GeneralInfoTest::TearDown();
        SetRegString(QStringLiteral("Language"), QString(), stored_);
    }
    QString stored_;
};

TEST_P(GeneralInfoLayoutTest, NoTextIsCutOffOrCovered)
{
    dive().GFOn = true;
    threeDiveSeries();
    frmGeneralInfo info(ActiveProfileNumber(), AlgorithmMenuTicks(), gMainForm);
    info.setthefirstprofile();
    EXPECT_EQ(ClippedTexts(&info), "") << "the first dive";
    info.TabStrip1->setCurrentIndex(1);
    EXPECT_EQ(ClippedTexts(&info), "") << "a repetitive dive";
}

INSTANTIATE_TEST_SUITE_P(Languages, GeneralInfoLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &p) { return std::string(p.param).substr(5, 2); });
