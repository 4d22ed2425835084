// Drawing a dive with the mouse: press, drag and release on the plot, the waypoint
// dialog answered, the logged waypoint and the replayed profile checked.

#include "tests/shell/EditorFixture.h"

#include "shell/frmWaypointForm.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Answers the next waypoint dialog: optionally types a depth and a time, then OK.
void answerDialog(QString depth = {}, QString minutes = {})
{
    TestHooks::modalHandlers.push_back([depth, minutes](QDialog *d) {
        if (!depth.isEmpty())
            d->findChild<QLineEdit *>("tbDepth")->setText(depth);
        if (!minutes.isEmpty())
            d->findChild<QLineEdit *>("tbTime")->setText(minutes);
        QTest::mouseClick(d->findChild<QPushButton *>("cbOK"), Qt::LeftButton);
    });
}

} // namespace

class MouseEditingTest : public EditorTest {
protected:
    // Drags a new leg from the last waypoint to (minutes, depth) and releases there.
    void drag(float minutes, float depth)
    {
        const QPoint start = pixelOf(editor->InputProfile.GetRunTime(editor->InputProfile.GetLength()) + 3, 1);
        const QPoint end = pixelOf(minutes, depth);
        QTest::mousePress(grid(), Qt::LeftButton, {}, start);
        QTest::mouseMove(grid(), (start + end) / 2);
        QTest::mouseMove(grid(), end);
        QTest::mouseRelease(grid(), Qt::LeftButton, {}, end);
    }
};

TEST_F(MouseEditingTest, ADraggedLegBecomesALoggedWaypointAndAReplayedLeg)
{
    answerDialog();
    drag(25, 30);
    ASSERT_EQ(editor->UserEnteredWaypoints.GetLength(), 1);
    // The preset depth is the pointer's, cut to whole metres by the dialog.
    EXPECT_NEAR(editor->UserEnteredWaypoints.getDepth(1), 30, 1);
    EXPECT_NEAR(editor->UserEnteredWaypoints.gettime(1), 25, 0.5);
    EXPECT_EQ(editor->UserEnteredWaypoints.getaction(1), 0);
    EXPECT_EQ(editor->EditorState(), 1);
    // Replayed: the descent at 20 m/min, then the stay to the logged time.
    const ClassProfile &p = editor->InputProfile;
    ASSERT_EQ(p.GetLength(), 2);
    EXPECT_FLOAT_EQ(p.GetRate(1), 20);
    EXPECT_FLOAT_EQ(p.GetRate(2), 0);
    EXPECT_FLOAT_EQ(p.GetRunTime(2), editor->UserEnteredWaypoints.gettime(1));
    EXPECT_FALSE(editor->Frame1->isVisible());
    EXPECT_FALSE(editor->RubberBandActive());
    EXPECT_TRUE(gSettings[1].ProfileChanged);
}
