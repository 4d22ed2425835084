// The editor window: its layout, what it shows after a replay, a refused command taken
// back whole, and its closing protocol.

#include "tests/support/EditorFixture.h"

#include "engine/EngineHost.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScrollBar>

class WaypointEditorTest : public EditorFixture {};


TEST_F(WaypointEditorTest, LayoutFollowsTheWindow)
{
    auto check = [this] {
        const float W = PixelsToTwips(editor->width());
        const float H = PixelsToTwips(editor->height());
        EXPECT_NEAR(editor->pbMainContainer->Width(), W - 20, kTwipsPerPixel);
        EXPECT_NEAR(editor->pbMainContainer->Height(), H * 3 / 4, kTwipsPerPixel);
        EXPECT_NEAR(editor->pbGrid->Width(), 2 * W, kTwipsPerPixel); // the plot scrolls
        EXPECT_NEAR(editor->HScroll1->maximum(), 2 * W - W + 870, 2 * kTwipsPerPixel);
        EXPECT_EQ(editor->HScroll1->value(), 0);
        // The chart sits below the scroll bar, inside the window.
        EXPECT_GT(editor->pbCompartmentLoad->y(), editor->HScroll1->geometry().bottom());
        EXPECT_LE(editor->pbCompartmentLoad->geometry().bottom(), editor->height());
    };
    check();
    editor->HScroll1->setValue(3000);
    EXPECT_NEAR(editor->pbGrid->Left(), -3000, kTwipsPerPixel);

    editor->parentWidget()->resize(700, 500);
    QApplication::processEvents();
    check();
    EXPECT_FLOAT_EQ(editor->pbGrid->Left(), 0);

    // Minimised, the window keeps its layout.
    const QRect chart = editor->pbCompartmentLoad->geometry();
    editor->parentWidget()->showMinimized();
    QApplication::processEvents();
    editor->resize();
    EXPECT_EQ(editor->pbCompartmentLoad->geometry(), chart);
}

TEST_F(WaypointEditorTest, AnEmptyDiveShowsTheSmallestRectangle)
{
    const PlotScale &s = editor->Scale();
    EXPECT_FLOAT_EQ(s.AxisTimeMax, 190);
    EXPECT_FLOAT_EQ(s.AxisBottom, -130);
    EXPECT_EQ(editor->EditorState(), 0);
    // The plot area is black, its margin the window's grey.
    const float midY = (s.GridTop + s.GridBottom) / 2;
    EXPECT_EQ(grid()->PointColor(7, midY - 7), QColor(0, 0, 0));
    EXPECT_EQ(grid()->PointColor(100, s.GridTop / 2), QColor(128, 120, 128));
    EXPECT_TRUE(editor->lbDepth->text().endsWith(GetLangStringQ(1222))) << "a metric dive";
    // The settings switch the dive to feet: the caption follows with the plot.
    dive().Metric = false;
    editor->ReEvaluateUserEnteredWaypoints();
    EXPECT_TRUE(editor->lbDepth->text().endsWith(GetLangStringQ(1223)));
}

TEST_F(WaypointEditorTest, ReplayedLegsAreDrawnAndTheCeilingIsShown)
{
    leg(30, 25);
    EXPECT_EQ(editor->EditorState(), 1);
    const ClassProfile &p = editor->dive().InputProfile;
    ASSERT_EQ(p.GetLength(), 2);
    // The last waypoint's dot, white for a drawn leg, and the anchor of the next leg.
    const PlotPoint end = editor->WorldToPixel(25, -30);
    EXPECT_FLOAT_EQ(editor->AnchorX(), end.x);
    EXPECT_FLOAT_EQ(editor->AnchorY(), end.y);
    EXPECT_EQ(grid()->PointColor(end.x, end.y), QColor(255, 255, 255));
    // 25 min at 30 m on trimix leaves a ceiling: shown with one decimal, in yellow.
    const float ceiling = p.GetCeiling(2);
    EXPECT_GT(ceiling, 0.05f);
    EXPECT_EQ(editor->lbCeilingNumber->text(),
              QString::fromStdString(FormatFixed(ceiling, 1)) + QStringLiteral(" m"));
    EXPECT_EQ(editor->lbCeilingNumber->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_FLOAT_EQ(editor->LastRunTime(), 25);
    // The start point of a first dive: ppO2 of air at the dive's surface pressure.
    EXPECT_NEAR(p.GetPPO2(0), 1.01325 * 0.21, 1e-6);

    // A short shallow dive has no ceiling: "0.0 m" in black.
    editor->mnuclearallwaypoints();
    leg(10, 5, 0);
    EXPECT_EQ(editor->lbCeilingNumber->text(), QStringLiteral("0.0 m"));
    EXPECT_EQ(editor->lbCeilingNumber->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST_F(WaypointEditorTest, TheCompartmentChartShowsTheLastWaypointsLoads)
{
    PictureBox *chart = editor->pbCompartmentLoad;
    Comp16 loads{};
    loads[1] = 0.5f;
    loads[2] = 1.5f;
    loads[3] = 3.5f;
    editor->dive().InputProfile.NewWayPoint();
    editor->dive().InputProfile.SetPercentCompartments(1, loads);
    editor->PlotCompartmentLoad(editor->dive().InputProfile, 1);
    const float SW = chart->ScaleWidth();
    const float SH = chart->ScaleHeight();
    const float unit = (SH - 550) / 3;
    const float bottom = SH - 300;
    auto at = [&](int k, float percent) {
        const float x = (k - 1) * SW / 16 + SW / 40;
        return chart->PointColor(x, bottom - unit * percent / 100);
    };
    EXPECT_EQ(at(1, 25), QColor(0, 255, 0));
    EXPECT_EQ(at(1, 75), QColor(255, 255, 255)) << "above 50 % the slot is empty";
    EXPECT_EQ(at(2, 125), QColor(255, 128, 64));
    EXPECT_EQ(at(2, 175), QColor(255, 255, 255));
    EXPECT_EQ(at(3, 250), QColor(255, 0, 0));
    EXPECT_EQ(at(4, 25), QColor(255, 255, 255)) << "an unloaded compartment";
}

TEST_F(WaypointEditorTest, ARefusedReplayLeavesTheDiveAsItWas)
{
    leg(30, 25);
    const int16_t before = editor->dive().InputProfile.GetLength();
    gSettings[1].ProfileChanged = false;
    // The diver deletes every descent rate in the settings and the dive is re-evaluated.
    const auto rates = dive().DescendRates;
    dive().DescendRates.clear();
    TestHooks::msgBoxAnswers.push_back(vbOK);
    editor->ReEvaluateUserEnteredWaypoints();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(), GetLangString(2429));
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbCritical + vbOKOnly);
    EXPECT_EQ(editor->dive().InputProfile.GetLength(), before);
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);

    // A command that fails the same way takes back its change of the log.
    TestHooks::msgBoxAnswers.push_back(vbOK);
    editor->mnuclearlastwaypoint();
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_EQ(editor->dive().InputProfile.GetLength(), before);
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    dive().DescendRates = rates;
}

TEST_F(WaypointEditorTest, ClearingDecoPointsOutsideAComputedDiveChangesNothing)
{
    leg(30, 25);
    gSettings[1].ProfileChanged = false;
    editor->mnucleardecopoints();
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_EQ(editor->EditorState(), 1);
}

TEST_F(WaypointEditorTest, ClosingAChangedFirstDiveAsksToSave)
{
    leg(30, 25);
    gSettings[1].ProfileChanged = true;
    gSettings[1].CNS = 0.2f;
    gSettings[1].SurfTime = 60;

    QWidget *frame = editor->parentWidget();
    TestHooks::msgBoxAnswers.push_back(vbCancel);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbExclamation + vbYesNoCancel);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.contains(editor->windowTitle() + "]?"));
    EXPECT_FLOAT_EQ(gSettings[1].CNS, 0.2f) << "Cancel changes nothing";
    EXPECT_FALSE(gSettings[1].SlotFree);

    TestHooks::msgBoxAnswers.push_back(vbNo);
    EXPECT_TRUE(frame->close());
    EXPECT_FLOAT_EQ(gSettings[1].CNS, 0);
    EXPECT_FLOAT_EQ(gSettings[1].SurfTime, 0);
    EXPECT_TRUE(gSettings[1].SlotFree);
}

TEST_F(WaypointEditorTest, ALaterDiveOfASeriesClosesWithoutAsking)
{
    editor->setPrevNext(2, -1);
    gSettings[1].ProfileChanged = true;
    EXPECT_TRUE(editor->parentWidget()->close());
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_TRUE(gSettings[1].SlotFree);
}
