// Drawing a dive with the mouse: presses, drags and releases on the plot, the waypoint
// dialog answered, the logged waypoint and the replayed profile checked.

#include "tests/support/EditorFixture.h"

#include "shell/frmWaypointForm.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>

namespace {

// Answers the next waypoint dialog: optionally types a depth, then OK.
void answerOK(QString depth = {})
{
    TestHooks::modalHandlers.push_back([depth](QDialog *d) {
        if (!depth.isEmpty())
            d->findChild<QLineEdit *>("tbDepth")->setText(depth);
        QTest::mouseClick(d->findChild<QPushButton *>("cbOK"), Qt::LeftButton);
    });
}

int countPixels(const QImage &image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

} // namespace

class MouseEditingTest : public EditorFixture {
protected:
    // A press away from every waypoint: a little after the end of the dive, near the
    // surface. The new leg starts at the last waypoint whatever the press.
    void press()
    {
        const float end = editor->dive().InputProfile.GetRunTime(editor->dive().InputProfile.GetLength());
        at_ = pixelOf(end + 4, 1.5f);
        QTest::mousePress(grid(), Qt::LeftButton, {}, at_);
    }
    void moveTo(float minutes, float depth)
    {
        const QPoint to = pixelOf(minutes, depth);
        QTest::mouseMove(grid(), (at_ + to) / 2);
        QTest::mouseMove(grid(), to);
        at_ = to;
    }
    void release() { QTest::mouseRelease(grid(), Qt::LeftButton, {}, at_); }
    // The cursor read-out "<depth> m. <time> Min.", one decimal each: {depth, time}.
    std::pair<double, double> readOut() const
    {
        static const QRegularExpression form(QStringLiteral(R"(^(\d+\.\d) m\. (\d+\.\d) Min\.$)"));
        const auto m = form.match(editor->Text1->text());
        EXPECT_TRUE(m.hasMatch()) << editor->Text1->text().toStdString();
        return {m.captured(1).toDouble(), m.captured(2).toDouble()};
    }
    void drag(float minutes, float depth)
    {
        press();
        moveTo(minutes, depth);
        release();
    }

    QPoint at_;
};

TEST_F(MouseEditingTest, ADraggedLegBecomesALoggedWaypointAndAReplayedLeg)
{
    gSettings[1].ProfileChanged = false;
    press();
    EXPECT_TRUE(editor->RubberBandActive());
    moveTo(25, 30);
    EXPECT_TRUE(editor->Frame1->isVisible());
    EXPECT_NEAR(readOut().first, 30, 1);
    EXPECT_NEAR(readOut().second, 25, 1);

    answerOK();
    release();
    ASSERT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    // The dialog takes the pointer's depth in whole metres and its time.
    EXPECT_NEAR(editor->dive().UserEnteredWaypoints.getDepth(1), 30, 1);
    EXPECT_NEAR(editor->dive().UserEnteredWaypoints.gettime(1), 25, 0.5);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.getmixnumber(1), kAir) << "the gas of the last waypoint";
    EXPECT_EQ(editor->EditorState(), 1);
    const ClassProfile &p = editor->dive().InputProfile;
    ASSERT_EQ(p.GetLength(), 2);
    EXPECT_FLOAT_EQ(p.GetRate(1), 20);
    EXPECT_FLOAT_EQ(p.GetRate(2), 0);
    EXPECT_FLOAT_EQ(p.GetRunTime(2), editor->dive().UserEnteredWaypoints.gettime(1));
    EXPECT_FALSE(editor->Frame1->isVisible());
    EXPECT_FALSE(editor->RubberBandActive());
    EXPECT_TRUE(gSettings[1].ProfileChanged);
    EXPECT_EQ(commands().ascent, true);

    // A second leg is timed from the end of the first.
    answerOK(QStringLiteral("20"));
    drag(40, 20);
    ASSERT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_FLOAT_EQ(editor->dive().UserEnteredWaypoints.getDepth(2), 20);
    EXPECT_NEAR(editor->dive().UserEnteredWaypoints.gettime(2), 40 - p.GetRunTime(2), 0.5);
    EXPECT_NEAR(editor->dive().InputProfile.GetRunTime(editor->dive().InputProfile.GetLength()), 40, 0.5);
}

TEST_F(MouseEditingTest, TheBandCrossesTheDescentBandsAndVanishesWhenCancelled)
{
    dive().DescendRates = {{0, 0, 20, 0}, {0, 0, 15, 10}, {0, 0, 10, 20}};
    editor->ReEvaluateUserEnteredWaypoints(); // the plot takes up the new bands
    const QImage before = grid()->Image();
    const int red = countPixels(before, qRgb(255, 0, 0));
    press();
    moveTo(20, 30);
    // Two band depths crossed: two red rings drawn over the black plot.
    EXPECT_GT(countPixels(grid()->Image(), qRgb(255, 0, 0)), red + 8);
    const QImage band = grid()->Image();
    // Each move takes the old band away exactly: back at the same place, the same picture.
    moveTo(25, 35);
    EXPECT_NE(grid()->Image(), band);
    moveTo(20, 30);
    EXPECT_EQ(grid()->Image(), band);

    TestHooks::modalHandlers.push_back([](QDialog *d) {
        d->findChild<QPushButton *>("cbHelioxAdd")->click();
        d->reject();
    });
    release();
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 0) << "a cancelled point is not logged";
    EXPECT_TRUE(gSettings[1].ProfileChanged) << "the gas it added stays: closing must ask";
    EXPECT_EQ(grid()->Image(), before) << "the band is gone";

    // Drawn and confirmed: two band pieces, the last travel piece and the stay.
    answerOK(QStringLiteral("30"));
    drag(20, 30);
    const ClassProfile &p = editor->dive().InputProfile;
    ASSERT_EQ(p.GetLength(), 4);
    EXPECT_EQ(p.GetStatus(1), 2);
    EXPECT_FLOAT_EQ(p.getDepth(1), 10);
    EXPECT_EQ(p.GetStatus(2), 2);
    EXPECT_FLOAT_EQ(p.getDepth(2), 20);
    EXPECT_FLOAT_EQ(p.GetRate(3), 10);
    EXPECT_FLOAT_EQ(p.GetRate(4), 0);
}

TEST_F(MouseEditingTest, APointerBeforeTheEndOfTheTravelIsMovedToIt)
{
    // 0 -> 40 m at 20 m/min takes 2 minutes; the pointer is released at 0.5 min.
    press();
    moveTo(0.5f, 40);
    EXPECT_NEAR(readOut().second, 2.0, 0.11);
    answerOK(QStringLiteral("40"));
    release();
    ASSERT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_NEAR(editor->dive().UserEnteredWaypoints.gettime(1), 2.0, 0.11);
}

TEST_F(MouseEditingTest, AnAscentIsHeldAtTheShallowestBand)
{
    dive().AscendRates[0].Depth = 3; // an ascent table that starts at 3 m
    leg(30, 20, kAir);
    press();
    moveTo(40, 0.5f);
    EXPECT_NEAR(readOut().first, 3.0, 0.11);
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        EXPECT_EQ(d->findChild<QLineEdit *>("tbDepth")->text(), QStringLiteral("3"));
        QTest::mouseClick(d->findChild<QPushButton *>("cbCancel"), Qt::LeftButton);
    });
    release();
}

TEST_F(MouseEditingTest, APointAboveTheCeilingIsRefused)
{
    leg(60, 25);
    const ClassProfile &p = editor->dive().InputProfile;
    const float ceiling = p.GetCeiling(p.GetLength());
    ASSERT_GT(ceiling, 5);
    const QString shallower = QString::number(static_cast<int>(ceiling) - 2);
    answerOK(shallower);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    drag(40, ceiling - 2);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(3061));
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbCritical + vbOKOnly);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_EQ(editor->dive().InputProfile.GetLength(), 2);
}

TEST_F(MouseEditingTest, AClickOnAWaypointShowsItAndDrawsNothing)
{
    leg(30, 25);
    gSettings[1].ProfileChanged = false;
    QString depthShown, timeShown, timeLabel;
    bool editable = true;
    TestHooks::modalHandlers.push_back([&](QDialog *d) {
        timeLabel = d->findChild<QLabel *>("Label2")->text();
        depthShown = d->findChild<QLineEdit *>("tbDepth")->text();
        timeShown = d->findChild<QLineEdit *>("tbTime")->text();
        editable = d->findChild<QLineEdit *>("tbDepth")->isEnabled() &&
                   !d->findChild<QLineEdit *>("tbDepth")->isReadOnly();
        d->close();
    });
    // Within half a minute and half a metre of the waypoint at 25 min, 30 m.
    const QPoint on = pixelOf(25.2f, 30.3f);
    QTest::mousePress(grid(), Qt::LeftButton, {}, on);
    QTest::mouseRelease(grid(), Qt::LeftButton, {}, on);
    auto number = [](QString t) { return t.replace(',', '.').toDouble(); };
    EXPECT_DOUBLE_EQ(number(depthShown), 30);
    EXPECT_DOUBLE_EQ(number(timeShown), 25) << "the time shown is the run time";
    EXPECT_EQ(timeLabel, GetLangStringQ(2103)) << "and is labelled so";
    EXPECT_FALSE(editable);
    EXPECT_FALSE(editor->RubberBandActive());
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_FALSE(gSettings[1].ProfileChanged) << "a look changes nothing";
}

TEST_F(MouseEditingTest, ARightClickOpensTheWaypointMenu)
{
    leg(30, 25);
    gSettings[1].ProfileChanged = false;
    const QPoint p = pixelOf(40, 10);
    QTest::mousePress(grid(), Qt::RightButton, {}, p);
    EXPECT_TRUE(gMainForm->mnuWaypoint->isVisible());
    EXPECT_FALSE(editor->RubberBandActive());
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    gMainForm->mnuWaypoint->close();
    QTest::mouseRelease(grid(), Qt::RightButton, {}, p);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
}

TEST_F(MouseEditingTest, ALegStartedBeforeTheLoggedEndIsPresetToNoTime)
{
    // Up to the surface in a logged 10 min; the travel takes 4.7 min, so the dive's last
    // point lies before the logged end at 35 min, where the next leg's time starts.
    leg(30, 25, kAir);
    leg(0, 10, kAir);
    EXPECT_FLOAT_EQ(editor->LastRunTime(), 35);
    QString timeShown;
    TestHooks::modalHandlers.push_back([&](QDialog *d) {
        timeShown = d->findChild<QLineEdit *>("tbTime")->text();
        QTest::mouseClick(d->findChild<QPushButton *>("cbCancel"), Qt::LeftButton);
    });
    drag(32, 10);
    EXPECT_EQ(timeShown, QStringLiteral("0"));
}

TEST_F(MouseEditingTest, AfterASurfacingTheNextLegLandsWhereItWasReleased)
{
    leg(30, 25, kAir);
    leg(0, 10, kAir); // 4.7 min of travel, then a stay at the surface
    answerOK(QStringLiteral("20"));
    drag(50, 20);
    const ClassProfile &p = editor->dive().InputProfile;
    EXPECT_NEAR(p.GetRunTime(p.GetLength()), 50, 0.5); // the dialog's whole minutes
    EXPECT_FLOAT_EQ(p.GetRunTime(p.GetLength()), editor->LastRunTime());
    leg(30, 9900, kAir); // the week holds travel to the 500 m limit, not to 5000 m typed
    TestHooks::msgBoxAnswers.push_back(vbOK);
    answerOK(QStringLiteral("5000"));
    drag(p.GetRunTime(p.GetLength()) + 100, 30);
    EXPECT_EQ(TestHooks::msgBoxes.at(0).prompt, GetLangStringQ(3062)) << "held at the limit";
    EXPECT_FLOAT_EQ(p.getDepth(p.GetLength()), 500);
}

TEST_F(MouseEditingTest, MovesOutsideThePlotAreaLeaveTheBandAsItIs)
{
    press();
    moveTo(20, 30);
    const QImage band = grid()->Image();
    const QString readOut = editor->Text1->text();
    // Into the margin above the plot area (the inside test looks 50 twips lower).
    const QPoint margin(at_.x(), TwipsToPixels(editor->Scale().GridTop - 120));
    QTest::mouseMove(grid(), margin);
    EXPECT_EQ(grid()->Image(), band);
    EXPECT_EQ(editor->Text1->text(), readOut);
    EXPECT_EQ(grid()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(grid(), at_);
    EXPECT_EQ(grid()->cursor().shape(), Qt::CrossCursor);
    TestHooks::modalHandlers.push_back([](QDialog *d) { d->close(); });
    release();
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 0);
}

TEST_F(MouseEditingTest, ALegThatWouldMakeTheDiveLongerThanAWeekIsRefusedInTheDialog)
{
    leg(30, 25, kAir);
    // 25 + 10056 minutes is a minute more than a dive can be planned for (and its file
    // read back): the dialog says so and stays open; 10055 fills the week exactly.
    bool stayedOpen = false;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    TestHooks::modalHandlers.push_back([&stayedOpen](QDialog *d) {
        d->findChild<QLineEdit *>("tbDepth")->setText(QStringLiteral("30"));
        d->findChild<QLineEdit *>("tbTime")->setText(QStringLiteral("10056"));
        QTest::mouseClick(d->findChild<QPushButton *>("cbOK"), Qt::LeftButton);
        stayedOpen = d->isVisible() && d->result() == 0;
        d->findChild<QLineEdit *>("tbTime")->setText(QStringLiteral("10055"));
        QTest::mouseClick(d->findChild<QPushButton *>("cbOK"), Qt::LeftButton);
    });
    drag(40, 30);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.startsWith(QStringLiteral("The legs of this dive last 10081 minutes")))
        << TestHooks::msgBoxes[0].prompt.toStdString();
    ASSERT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_FLOAT_EQ(editor->dive().UserEnteredWaypoints.gettime(2), 10055);
    EXPECT_DOUBLE_EQ(LoggedDiveMinutes(editor->dive().UserEnteredWaypoints, editor->dive().Record().Template), 10080);
}
