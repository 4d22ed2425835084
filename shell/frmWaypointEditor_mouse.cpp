// Drawing a dive with the mouse: a press away from every waypoint starts a new leg from
// the last one, which follows the pointer as a rubber band cut at the rate bands; the
// release asks for the waypoint in the waypoint dialog and adds it to the log. A press
// on a waypoint shows it; a right press opens the waypoint menu.

#include "shell/frmWaypointEditor.h"

#include "engine/EngineGlobals.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/ModalWindow.h"
#include "platform/MsgBox.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"
#include "shell/PlotColors.h"
#include "shell/RubberBand.h"
#include "shell/frmWaypointForm.h"

#include <QFrame>
#include <QLineEdit>

void frmWaypointEditor::pbGrid_MouseDown(int Button, int /*Shift*/, float X, float Y)
{
    if (Button == 2) {
        showWaypointMenu();
        return;
    }

    const PlotPoint p = PixelToWorld(X, Y);
    const float t = p.x;
    const float depth = -p.y;
    for (int16_t i = 0; i <= dive_->InputProfile.GetLength(); ++i) {
        const float rt = dive_->InputProfile.GetRunTime(i);
        const float d = dive_->InputProfile.getDepth(i);
        if (t - 0.5f <= rt && rt <= t + 0.5f && depth - 0.5f <= d && d <= depth + 0.5f) {
            // A look at the waypoint: its depth and, as the time, its run time.
            ClassProfile view;
            view.setDepth(0, d);
            view.SetSegmentTime(0, rt);
            view.SetGasMixName(0, dive_->InputProfile.GetGasMixName(i));
            view.SetGasMixHe(0, dive_->InputProfile.GetGasMixHe(i));
            view.SetGasMixN2(0, dive_->InputProfile.GetGasMixN2(i));
            view.SetGasMixO2(0, dive_->InputProfile.GetGasMixO2(i));
            showWaypointDialog(view, 0);
            return;
        }
    }
    Frame1->setVisible(true);
    RubberBandActive_ = true;
}

void frmWaypointEditor::pbGrid_MouseMove(int /*Button*/, int /*Shift*/, float X, float Y)
{
    grid_->DrawWidth = 1;
    grid_->DrawMode = PictureBox::XorPen;
    // The inside test looks a little to the right of and below the pointer's hot spot.
    if (IsInsideGrid(X + 3, Y + 50)) {
        const bool roomForReadOut = X + 887 < PixelsToTwips(width());
        grid_->setCursor(roomForReadOut ? Qt::CrossCursor : Qt::ArrowCursor);
        if (RubberBandActive_) {
            eraseRubberBand();
            DrawSegmentedLine(AnchorX_, AnchorY_, X, Y);
            ShowCursorPosition(X, Y);
            CurrentX_ = X;
            CurrentY_ = Y;
        }
    } else {
        grid_->setCursor(Qt::ArrowCursor);
    }
    grid_->DrawMode = PictureBox::CopyPen;
    grid_->DrawWidth = 1;
}

void frmWaypointEditor::DrawSegmentedLine(float XFrom, float YFrom, float &XTo, float &YTo)
{
    const TemplateRec &tpl = record().Template;
    const RubberBandPath path = SegmentedLinePath(tpl.DescendRates, tpl.AscendRates, XFrom, YFrom, XTo, YTo);
    drawRubberBand(path);
    band_ = path;
    XTo = path.xTo;
    YTo = path.yTo;
    grid_->FillStyle = PictureBox::FillTransparent;
}

void frmWaypointEditor::drawRubberBand(const RubberBandPath &path)
{
    grid_->DrawStyle = PictureBox::DrawSolid;
    grid_->FillStyle = PictureBox::FillTransparent;
    for (const auto &l : path.lines)
        grid_->Line(l.x1, l.y1, l.x2, l.y2, PlotColors::White);
    for (const auto &m : path.markers)
        grid_->Circle(m.x, m.y, 50, m.descent ? PlotColors::Red : PlotColors::Yellow);
}

void frmWaypointEditor::eraseRubberBand()
{
    // Drawn a second time in exclusive-or, the band is gone. The band drawn last is
    // kept, so exactly what was drawn is taken away.
    if (!band_)
        return;
    const int mode = grid_->DrawMode;
    grid_->DrawMode = PictureBox::XorPen;
    drawRubberBand(*band_);
    grid_->DrawMode = mode;
    band_.reset();
}

void frmWaypointEditor::ShowCursorPosition(float X, float Y)
{
    Frame1->setVisible(true);
    Frame1->move(TwipsToPixels(X + 50), TwipsToPixels(Y + 50));
    Frame1->raise();
    const PlotPoint p = PixelToWorld(X, Y);
    float depth = -p.y;
    if (depth < 0)
        depth = 0; // above the surface
    const auto shown = [](float v) {
        return QString::fromStdString(LocaliseNumberText(FormatFixed(v, 1), gDecimalSeparator));
    };
    const QString unit = record().Template.Metric ? QStringLiteral(" m. ") : QStringLiteral(" ft. ");
    Text1->setText(shown(depth) + unit + shown(p.x) + QStringLiteral(" Min."));
}

void frmWaypointEditor::pbGrid_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/)
{
    WaypointScratch_ = ClassProfile();
    if (!RubberBandActive_)
        return;
    RubberBandActive_ = false;
    Frame1->setVisible(false);

    guarded([this] {
        const PlotPoint a = PixelToWorld(AnchorX_, AnchorY_);
        const PlotPoint m = PixelToWorld(CurrentX_, CurrentY_);
        WaypointScratch_.setDepth(0, -m.y);
        // The leg's time from the end of the last logged leg; a pointer left of it (an
        // ascent that reached the surface before its logged end) gives 0, not less.
        float segTime = static_cast<float>(static_cast<double>(m.x) - dive_->LastRunTime);
        if (segTime < 0)
            segTime = 0;
        WaypointScratch_.SetSegmentTime(0, segTime);
        WaypointScratch_.SetMixNumber(0, dive_->InputProfile.getmixnumber(dive_->InputProfile.GetLength()));

        const size_t gasesBefore = record().Template.Gases.size();
        showWaypointDialog(WaypointScratch_, -1);
        // A gas the advisor added stays in the dive's list even when the dialog is then
        // cancelled, so the series has changed: closing it must ask before the gas goes.
        if (record().Template.Gases.size() != gasesBefore)
            tagRecord().ProfileChanged = true;

        const float d = WaypointScratch_.getDepth(0);
        if (d != frmWaypointForm::kCancelledDepth) {
            const float ceiling = dive_->InputProfile.GetCeiling(dive_->InputProfile.GetLength());
            if (d >= ceiling) {
                AnchorX_ = CurrentX_;
                AnchorY_ = CurrentY_;
                const float s = WaypointScratch_.GetSegmentTime(0);
                const int16_t mix = WaypointScratch_.getmixnumber(0);
                SaveUserEnteredWaypoints(s, d, mix, false);
                // Only a leg that is added changes the dive: a look at a waypoint, the
                // menu or a cancelled dialog leaves nothing to save.
                tagRecord().ProfileChanged = true;
                dive_->LastRunTime = static_cast<float>(static_cast<double>(dive_->LastRunTime) + s);
                float endTime = dive_->LastRunTime;
                float endDepth = d;
                GetSegmentedProfile(a.x, -a.y, endTime, endDepth, mix, 0);
            } else {
                MsgBox(GetLangStringQ(3061), vbCritical + vbOKOnly);
            }
        }
        PrevPlotTime_ = PrevPlotY_ = 0;
        dive_->DecoProfile.clear();
        replay();
    });
}

void frmWaypointEditor::showWaypointDialog(ClassProfile &waypoint, int16_t mode)
{
    frmWaypointForm form(tagNumber(), dialogOwner());
    form.data(waypoint, mode);
    ShowModal(&form);
}
