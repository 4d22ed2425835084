// The profile plot: depth over run time, the axes with their grid lines, each waypoint
// as a dot coloured by its kind, the legs between them, the gas labels and the ceiling
// read-out. Drawn in twips; the world-to-pixel arithmetic is in PlotScale.

#include "shell/frmWaypointEditor.h"

#include "engine/EngineGlobals.h"
#include "engine/VBConversions.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"
#include "shell/PlotColors.h"

#include <QLabel>
#include <QScrollBar>

using namespace PlotColors;

namespace {

// Dot colour of a waypoint by its kind.
QColor statusColor(int16_t status)
{
    switch (status) {
    case 1:
        return White;   // piece of a drawn leg
    case 2:
        return Red;     // descent band
    case 3:
        return Yellow;  // ascent band
    case 4:
        return Blue;    // decompression stop
    case 5:
        return Magenta;
    default:
        return Green;
    }
}

// A number as the user reads it: the pattern's digits with the locale's decimal mark.
QString shownNumber(float v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

} // namespace

PlotPoint frmWaypointEditor::WorldToPixel(float t, float y) const
{
    return ::WorldToPixel(scale_, t, y);
}

PlotPoint frmWaypointEditor::PixelToWorld(float x, float y) const
{
    return ::PixelToWorld(scale_, x, y);
}

bool frmWaypointEditor::IsInsideGrid(float x, float y) const
{
    return ::IsInsideGrid(scale_, x, y);
}

float frmWaypointEditor::LargestTime() const
{
    return ::LargestTime(dive_->InputProfile);
}

float frmWaypointEditor::LargestDepth() const
{
    return ::LargestDepth(dive_->InputProfile);
}

float frmWaypointEditor::Drate(float rate) const
{
    return ::Drate(scale_, rate);
}

float frmWaypointEditor::Ddepth(float depth) const
{
    return ::Ddepth(scale_, depth);
}

void frmWaypointEditor::TransformDescendRates()
{
    for (RateRecord &row : record().Template.DescendRates) {
        row.PixelDepth = Ddepth(row.Depth);
        row.PixelRate = Drate(row.Rate);
    }
}

void frmWaypointEditor::TransformAscendRates()
{
    for (RateRecord &row : record().Template.AscendRates) {
        row.PixelDepth = Ddepth(row.Depth);
        row.PixelRate = Drate(row.Rate);
    }
}

void frmWaypointEditor::RedrawProfile()
{
    PlotMaxTime_ = LargestTime();
    if (PlotMaxTime_ == 0)
        PlotMaxTime_ = 60;
    PlotMaxDepth_ = LargestDepth();
    if (PlotMaxDepth_ == 0)
        PlotMaxDepth_ = 60;

    pbMainContainer->Cls();
    grid_->Cls();
    band_.reset();
    // Three times the longest run time across and twice the deepest depth down, so a
    // new leg has room to the right and below.
    AxisesInit(0, static_cast<float>(3.0 * PlotMaxTime_), 0, static_cast<float>(-2.0 * PlotMaxDepth_));
    TransformDescendRates();
    TransformAscendRates();

    const int16_t last = dive_->InputProfile.GetLength();
    for (int16_t nr = 0; nr <= last; ++nr)
        PlotWayPoint(dive_->InputProfile, nr, nr == last);

    const PlotPoint end = WorldToPixel(dive_->InputProfile.GetRunTime(last), -dive_->InputProfile.getDepth(last));
    AnchorX_ = CurrentX_ = end.x;
    AnchorY_ = CurrentY_ = end.y;

    PlotCompartmentLoad(dive_->InputProfile, last);
}

void frmWaypointEditor::AxisesInit(float timeMin, float timeMax, float yTop, float yBottom)
{
    scale_ = MakePlotScale(grid_->Width(), grid_->Height(), timeMin, timeMax, yTop, yBottom);
    grid_->BoxFilled(scale_.GridRight, scale_.GridBottom, scale_.GridLeft, scale_.GridTop, Black);
    AnchorX_ = CurrentX_ = scale_.GridLeft;
    AnchorY_ = CurrentY_ = scale_.GridTop;
    Xaxis();
    Yaxis();
}

void frmWaypointEditor::Yaxis()
{
    const float py0 = WorldToPixel(1, -scale_.AxisTop).y;
    // The depth axis in the container, 20 twips left of the grid, and the surface line.
    pbMainContainer->DrawStyle = PictureBox::DrawSolid;
    pbMainContainer->Line(scale_.GridLeft + 780, py0 + 300, scale_.GridLeft + 780,
                          pbMainContainer->Height(), White);
    grid_->DrawStyle = PictureBox::DrawSolid;
    grid_->Line(scale_.GridLeft, py0, scale_.GridRight, py0, White);

    for (const int32_t d : DepthAxisLabels(scale_)) {
        const float py = WorldToPixel(0, static_cast<float>(-d)).y;
        grid_->DrawStyle = PictureBox::DrawDot;
        grid_->Line(scale_.GridLeft, py, scale_.GridRight, py, Grey);
        grid_->DrawStyle = PictureBox::DrawSolid;

        const QString label = QString::number(d);
        const float w = static_cast<float>(CLng(grid_->TextWidth(label)));
        const float h = static_cast<float>(CLng(grid_->TextHeight(label)));
        pbMainContainer->CurrentX = scale_.GridLeft + 600 - w;
        pbMainContainer->CurrentY = static_cast<float>(py + 300 - h / 2.0);
        pbMainContainer->Print(label);
        pbMainContainer->Line(scale_.GridLeft + 800, py + 300, scale_.GridLeft + 700, py + 300, White);
    }
}

void frmWaypointEditor::Xaxis()
{
    for (const int32_t t : TimeAxisLabels(scale_)) {
        const float px = WorldToPixel(static_cast<float>(t), 0).x;
        grid_->DrawStyle = PictureBox::DrawSolid;
        grid_->Line(px, scale_.GridBottom, px, scale_.GridTop - 100, Grey);
        const QString label = QString::number(t);
        grid_->CurrentX = static_cast<float>(px - grid_->TextWidth(label) / 2.0);
        grid_->CurrentY = scale_.GridTop - 200;
        grid_->Print(label);
    }
}

void frmWaypointEditor::setCeilingText(const QString &text, const QColor &color)
{
    lbCeilingNumber->setText(text);
    QPalette pal = lbCeilingNumber->palette();
    pal.setColor(QPalette::WindowText, color);
    lbCeilingNumber->setPalette(pal);
    lbCeilingNumber->adjustSize();
    lbCeilingNumber->move(lbCeiling->geometry().right() + 6, lbCeiling->y());
}

void frmWaypointEditor::PlotWayPoint(const ClassProfile &profile, int16_t nr, bool LastPoint)
{
    const float t = profile.GetRunTime(nr);
    const float y = -profile.getDepth(nr);
    const QColor color = statusColor(profile.GetStatus(nr));

    if (nr != 0) {
        const std::string c = FormatFixed(profile.GetCeiling(nr), 1);
        const QString unit = record().Template.Metric ? QStringLiteral(" m") : QStringLiteral(" ft");
        setCeilingText(shownNumber(profile.GetCeiling(nr), 1) + unit,
                       Val(c) == 0 ? Black : Yellow);
    }

    const PlotPoint p = WorldToPixel(t, y);
    const PlotPoint q = WorldToPixel(PrevPlotTime_, PrevPlotY_);

    grid_->FillColor = color;
    grid_->FillStyle = PictureBox::FillSolid;
    if (profile.GetDoShow(nr))
        grid_->Circle(p.x, p.y, 50, color);

    for (const GasLabel &label : GasLabelsAt(profile, nr, LastPoint)) {
        if (label.ring) {
            grid_->FillStyle = PictureBox::FillTransparent;
            grid_->Circle(p.x, p.y, 50, Orange);
        }
        // A label of the point's own gas near the left edge goes to the right.
        PlotGasUsed(p.x, p.y, QString::fromStdString(label.name), label.announces || p.x < 1000 ? 1 : 0);
    }

    grid_->FillStyle = PictureBox::FillTransparent;
    grid_->FillColor = White;
    grid_->DrawStyle = PictureBox::DrawSolid;
    grid_->Line(p.x, p.y, q.x, q.y, White);
    grid_->FillColor = Black;

    PrevPlotTime_ = t;
    PrevPlotY_ = y;
}

void frmWaypointEditor::PlotGasUsed(float Xx, float Yy, const QString &Message, int16_t position)
{
    const float savedX = grid_->CurrentX;
    const float savedY = grid_->CurrentY;
    grid_->ForeColor = Yellow;
    grid_->SetFontBold(true);
    grid_->DrawStyle = PictureBox::DrawSolid;

    const QFontMetrics fm(font());
    const float w = PixelsToTwips(fm.horizontalAdvance(Message));
    const float h = PixelsToTwips(fm.height());
    if (position == 1) {
        // Lower right of the point.
        grid_->Line(Xx + 70, Yy + 70, Xx + 500, Yy + 200, Yellow);
        grid_->Line(Xx + 500, Yy + 200, Xx + 540 + w, Yy + 200, Yellow);
        grid_->CurrentX = Xx + 500;
        grid_->CurrentY = Yy + 200 - h;
        grid_->Print(Message);
    } else if (position == 0) {
        // Upper left of the point.
        grid_->Line(Xx - 40, Yy - 70, Xx - 500, Yy - 250, Yellow);
        grid_->Line(Xx - 500, Yy - 250, Xx - 540 - w, Yy - 250, Yellow);
        grid_->CurrentX = Xx - 540 - w;
        grid_->CurrentY = Yy - 250 - h;
        grid_->Print(Message);
    }

    grid_->SetFontBold(false);
    grid_->ForeColor = Black;
    grid_->CurrentX = savedX;
    grid_->CurrentY = savedY;
}

void frmWaypointEditor::HScroll1_Change()
{
    pbGrid->Move(static_cast<float>(-HScroll1->value()), pbGrid->Top());
}
