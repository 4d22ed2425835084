// Computing a drawn dive with the engine and taking the computation back again.

#include "tests/support/EditorFixture.h"

#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "shell/PlotScale.h"

#include <QDir>
#include <QImage>
#include <QLabel>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// What a diver reads off a computed dive: every waypoint's depth, run time, stop and gas.
struct Row {
    float depth, runTime, stopTime;
    int16_t status;
    std::string gas;
    bool operator==(const Row &) const = default;
};

std::vector<Row> rows(const ClassProfile &p)
{
    std::vector<Row> v;
    for (int16_t i = 0; i <= p.GetLength(); ++i)
        v.push_back({p.getDepth(i), p.GetRunTime(i), p.getStopTime(i), p.GetStatus(i), p.GetGasMixName(i)});
    return v;
}

int countStops(const ClassProfile &p)
{
    int n = 0;
    for (int16_t i = 1; i <= p.GetLength(); ++i)
        n += p.GetStatus(i) == 4;
    return n;
}

} // namespace

class DecoCommandsTest : public EditorFixture {
protected:
    // 60 m for 25 min on Trimix 18/45: a dive with stops and two deco gases.
    void drawTrimixDive() { leg(60, 25); }
};

TEST_F(DecoCommandsTest, ComputeClearAndComputeAgainGiveTheSameDive)
{
    drawTrimixDive();
    const std::vector<Row> drawn = rows(editor->dive().InputProfile);
    gSettings[1].ProfileChanged = false;

    editor->StartDeco();
    EXPECT_EQ(editor->EditorState(), 2);
    EXPECT_TRUE(gSettings[1].ProfileChanged);
    ASSERT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.getaction(2), 1) << "a deco marker is logged";
    const ClassProfile &p = editor->dive().InputProfile;
    const std::vector<Row> computed = rows(p);
    EXPECT_FLOAT_EQ(p.getDepth(p.GetLength()), 0) << "the dive ends at the surface";
    EXPECT_GE(countStops(p), 3);
    EXPECT_FLOAT_EQ(editor->LastRunTime(), p.GetRunTime(p.GetLength()));
    EXPECT_EQ(editor->DecoProfile().GetLength(), 0);
    // The switches to EAN50 and oxygen are in the plan.
    bool ean50 = false, oxygen = false;
    for (const Row &r : computed) {
        ean50 = ean50 || r.gas == "EAN50";
        oxygen = oxygen || r.gas == "Oxygen";
    }
    EXPECT_TRUE(ean50 && oxygen);

    editor->mnucleardecopoints();
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_EQ(rows(editor->dive().InputProfile), drawn);

    editor->StartDeco();
    EXPECT_EQ(rows(editor->dive().InputProfile), computed);

    // Replaying the log (as a change of settings does) computes the same dive again.
    editor->ReEvaluateUserEnteredWaypoints();
    EXPECT_EQ(editor->EditorState(), 2);
    EXPECT_EQ(rows(editor->dive().InputProfile), computed);
}

TEST_F(DecoCommandsTest, ClearingTheLastWaypointTwiceAfterAComputation)
{
    drawTrimixDive();
    leg(40, 10);
    editor->StartDeco();
    editor->mnuclearlastwaypoint(); // the deco marker
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_EQ(countStops(editor->dive().InputProfile), 0);
    EXPECT_FLOAT_EQ(editor->LastRunTime(), 35);
    editor->mnuclearlastwaypoint(); // the 40 m leg
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_FLOAT_EQ(editor->dive().InputProfile.getDepth(editor->dive().InputProfile.GetLength()), 60);
    EXPECT_FLOAT_EQ(editor->LastRunTime(), 25);
}

TEST_F(DecoCommandsTest, ALegDrawnAfterAComputationStartsAtTheSurfacing)
{
    drawTrimixDive();
    editor->StartDeco();
    const ClassProfile computedOnce = editor->dive().InputProfile;
    const float surfacing = editor->LastRunTime();
    // Replayed from the log, as after opening a file: the end of the last logged leg is
    // remembered, so a new leg of 5 minutes ends 5 minutes after the surfacing.
    editor->ReEvaluateUserEnteredWaypoints();
    EXPECT_FLOAT_EQ(editor->LastRunTime(), surfacing);
    leg(10, 5, kAir);
    EXPECT_FLOAT_EQ(editor->LastRunTime(), surfacing + 5);
    EXPECT_EQ(editor->EditorState(), 1);
    // The computed ascent is replayed stop by stop with each stop's recorded (whole
    // minute) time, so the shown dive may end up to a minute later per stop cut short;
    // the new leg itself lasts its 5 minutes after that.
    const ClassProfile &p = editor->dive().InputProfile;
    const int16_t n = p.GetLength();
    EXPECT_FLOAT_EQ(p.getDepth(n), 10);
    EXPECT_FLOAT_EQ(p.getDepth(n - 2), 0);
    EXPECT_NEAR(p.GetRunTime(n) - p.GetRunTime(n - 2), 5, 1e-4);

    // A second computation plans from the first result plus the later leg.
    editor->StartDeco();
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 4);
    EXPECT_EQ(editor->EditorState(), 2);
    const int16_t m = editor->dive().InputProfile.GetLength();
    EXPECT_GT(m, n);
    EXPECT_FLOAT_EQ(editor->dive().InputProfile.getDepth(m), 0);
    EXPECT_GT(countStops(editor->dive().InputProfile), countStops(computedOnce));
}

TEST_F(DecoCommandsTest, ARefusedComputationLeavesNoMarkerBehind)
{
    drawTrimixDive();
    const std::vector<Row> drawn = rows(editor->dive().InputProfile);
    gSettings[1].ProfileChanged = false;
    dive().StepSize = 0; // the engine cannot plan stops 0 m apart
    TestHooks::msgBoxAnswers.push_back(vbOK);
    gMainForm->mnuStartAscent->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(2420));
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_EQ(rows(editor->dive().InputProfile), drawn);
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    // Once the command is over the dive can be computed again.
    QApplication::processEvents();
    EXPECT_EQ(commands(), (Commands{true, true, false, false}));
    EXPECT_TRUE(gMainForm->mnuStartAscent->isEnabled());
}

TEST_F(DecoCommandsTest, AComputedTrimixDiveIsPlottedWithStopsCeilingAndGasLabels)
{
    leg(60, 25);
    editor->StartDeco();
    gMainForm->resize(1300, 1000);
    editor->parentWidget()->resize(1200, 820);
    QApplication::processEvents();

    const QImage plot = editor->pbGrid->Image();
    int blue = 0, yellow = 0;
    for (int y = 0; y < plot.height(); ++y)
        for (int x = 0; x < plot.width(); ++x) {
            const QRgb c = plot.pixel(x, y);
            blue += c == qRgb(0, 0, 255);      // stop dots
            yellow += c == qRgb(255, 255, 0);  // gas labels and ascent band dots
        }
    EXPECT_GT(blue, 50);
    EXPECT_GT(yellow, 100);
    // The deepest point sits at half the plot's depth range: 60 m of 120.
    EXPECT_FLOAT_EQ(editor->Scale().AxisBottom, -130);

    // DOLV_SCREENSHOT_DIR keeps a picture of the window to look at.
    if (const char *dir = std::getenv("DOLV_SCREENSHOT_DIR"))
        gMainForm->grab().save(QDir(dir).filePath("computed_trimix_dive.png"));
}

TEST_F(DecoCommandsTest, EveryGasSwitchOfTheShownProfileIsLabelled)
{
    leg(45, 25, kAir); // EAN50 from the 21 m stop, reached by hidden travel points
    editor->StartDeco();
    const ClassProfile &p = editor->dive().InputProfile;
    std::vector<std::string> labelled;
    for (int16_t nr = 0; nr <= p.GetLength(); ++nr)
        for (const GasLabel &label : GasLabelsAt(p, nr, nr == p.GetLength()))
            labelled.push_back(label.name);
    EXPECT_EQ(labelled, (std::vector<std::string>{"Air", "EAN50", "Oxygen"}));
}

TEST_F(DecoCommandsTest, TheMainWindowsCommandsFollowTheDivesState)
{
    using C = Commands;
    EXPECT_EQ(commands(), (C{false, false, false, false})) << "a new dive";
    drawTrimixDive();
    EXPECT_EQ(commands(), (C{true, true, false, false})) << "drawn legs";

    gMainForm->mnuStartAscent->trigger();
    EXPECT_EQ(editor->EditorState(), 2);
    EXPECT_EQ(commands(), (C{false, true, true, true})) << "computed";
    EXPECT_FALSE(gMainForm->mnuStartAscent->isEnabled());

    gMainForm->mnucleardecopoints->trigger();
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(commands(), (C{true, true, false, false})) << "deco points cleared";

    gMainForm->Buttons(6)->trigger(); // the toolbar's Ascent
    EXPECT_EQ(commands(), (C{false, true, true, true}));
    gMainForm->mnuclearlastwaypoint->trigger(); // the deco marker
    EXPECT_EQ(commands().nextDive, false);
    EXPECT_EQ(commands().ascent, true);
    gMainForm->mnuclearlastwaypoint->trigger(); // the only leg
    EXPECT_EQ(editor->EditorState(), 0);
    EXPECT_EQ(commands(), (C{false, false, false, false})) << "an empty dive";
    EXPECT_FALSE(gMainForm->mnuStartAscent->isEnabled());
    EXPECT_EQ(editor->lbCeilingNumber->text(), QStringLiteral("0"));

    drawTrimixDive();
    gMainForm->mnuStartAscent->trigger();
    gMainForm->mnuclearallwaypoints->trigger();
    EXPECT_EQ(editor->EditorState(), 0);
    EXPECT_EQ(commands().nextDive, false);
    EXPECT_EQ(commands().ascent, false);
}

TEST_F(DecoCommandsTest, ActivationOffersTheNextDiveOnlyForAComputedLastDive)
{
    drawTrimixDive();
    editor->StartDeco();
    editor->Form_Activate();
    EXPECT_TRUE(commands().nextDive);
    // A computed dive that has a next dive already.
    editor->dive().SetNextProfile(7);
    editor->Form_Activate();
    EXPECT_FALSE(commands().nextDive);
    editor->dive().SetNextProfile(-1);
}
