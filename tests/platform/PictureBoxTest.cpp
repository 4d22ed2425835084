// The picture box: drawing in twips (15 to a pixel), boxes whatever way round their
// corners come, exclusive-or drawing that a second pass erases, dotted lines.

#include "platform/PictureBox.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

namespace {

const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor red(255, 0, 0);

struct Box100 {
    PictureBox pb;
    Box100()
    {
        pb.Move(0, 0, 100 * kTwipsPerPixel, 100 * kTwipsPerPixel);
        pb.SetBackColor(black);
    }
    QColor at(int px, int py) const { return pb.PointColor(px * 15.f, py * 15.f); }
};

} // namespace

TEST(PictureBox, SizesAndPositionsAreTwips)
{
    Box100 b;
    EXPECT_EQ(b.pb.width(), 100);
    EXPECT_FLOAT_EQ(b.pb.ScaleWidth(), 1500);
    EXPECT_FLOAT_EQ(b.pb.ScaleHeight(), 1500);
    b.pb.Move(300, 150);
    EXPECT_EQ(b.pb.pos(), QPoint(20, 10));
    // The drawing area follows a new size at once, also while the box is hidden.
    b.pb.hide();
    b.pb.SetWidth(3000);
    EXPECT_FLOAT_EQ(b.pb.ScaleWidth(), 3000);
}

TEST(PictureBox, BoxesIncludeBothCornersWhicheverWayRound)
{
    Box100 b;
    b.pb.BoxFilled(50 * 15, 40 * 15, 10 * 15, 20 * 15, white); // from lower right
    EXPECT_EQ(b.at(10, 20), white);
    EXPECT_EQ(b.at(50, 40), white);
    EXPECT_EQ(b.at(9, 20), black);
    EXPECT_EQ(b.at(51, 40), black);

    b.pb.Box(60 * 15, 60 * 15, 80 * 15, 70 * 15, red);
    EXPECT_EQ(b.at(60, 60), red);
    EXPECT_EQ(b.at(80, 70), red);
    EXPECT_EQ(b.at(70, 65), black) << "an outline only";
    EXPECT_FLOAT_EQ(b.pb.CurrentX, 80 * 15.f);
}

TEST(PictureBox, ExclusiveOrDrawnTwiceLeavesNoTrace)
{
    Box100 b;
    b.pb.BoxFilled(0, 0, 30 * 15, 99 * 15, QColor(128, 120, 128));
    const QImage before = b.pb.Image();
    b.pb.DrawMode = PictureBox::XorPen;
    b.pb.FillStyle = PictureBox::FillTransparent;
    for (int pass = 0; pass < 2; ++pass) {
        b.pb.Line(5 * 15, 5 * 15, 90 * 15, 70 * 15, white);
        b.pb.Circle(40 * 15, 40 * 15, 50, red);
        if (pass == 0) {
            EXPECT_NE(b.pb.Image(), before);
        }
    }
    EXPECT_EQ(b.pb.Image(), before);
}

TEST(PictureBox, DottedLinesHaveGaps)
{
    Box100 b;
    b.pb.DrawStyle = PictureBox::DrawDot;
    b.pb.Line(0, 50 * 15, 99 * 15, 50 * 15, white);
    int lit = 0;
    for (int x = 0; x < 100; ++x)
        lit += b.at(x, 50) == white;
    EXPECT_GT(lit, 20);
    EXPECT_LT(lit, 80);
}
