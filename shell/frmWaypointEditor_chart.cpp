// The compartment-load chart below the plot: the load of each of the sixteen
// compartments at one waypoint as a bar in zones of 100 % (green, orange, red).

#include "shell/frmWaypointEditor.h"

#include "engine/EngineGlobals.h"
#include "platform/LocaliseForm.h"
#include "engine/VBConversions.h"
#include "platform/PictureBox.h"
#include "shell/CompartmentBar.h"
#include "shell/PlotColors.h"

using namespace PlotColors;

void frmWaypointEditor::PlotCompartmentLoad(const ClassProfile &profile, int16_t index)
{
    DrawCompartmentAxes();
    Comp16 values{};
    profile.GetPercentCompartments(index, values);
    for (int16_t k = 1; k <= kCompartments; ++k)
        DrawCompartmentBar(k, values[static_cast<size_t>(k)]);
}

void frmWaypointEditor::DrawCompartmentAxes()
{
    PictureBox *pb = pbCompartmentLoad;
    pb->Cls();
    pb->DrawStyle = PictureBox::DrawSolid;
    pb->ForeColor = Black;
    const double SW = pb->ScaleWidth();
    const double SH = pb->ScaleHeight();
    // The slots sit where their bars will be drawn, so a bar covers its empty slot
    // exactly.
    for (int16_t n = 1; n <= kCompartments; ++n) {
        const CompartmentBar slot = CompartmentBarGeometry(pb->ScaleWidth(), pb->ScaleHeight(), n, 0);
        pb->BoxFilled(slot.right, slot.bottom, slot.x, slot.top, White);
        pb->Box(slot.right, slot.bottom, slot.x, slot.top, Black);
        pb->CurrentX = static_cast<float>(slot.x + SW / 40 - 50);
        pb->CurrentY = static_cast<float>(SH - 250);
        pb->Print(QString::number(n));
    }
    pb->CurrentX = static_cast<float>(pb->Width() / 2.0 - 510);
    pb->CurrentY = 0;
    pb->Print(GetLangStringQ(1308));
}

void frmWaypointEditor::DrawCompartmentBar(int16_t k, float value)
{
    PictureBox *pb = pbCompartmentLoad;
    const CompartmentBar b = CompartmentBarGeometry(pb->ScaleWidth(), pb->ScaleHeight(), k, value);
    pb->BoxFilled(b.right, b.bottom, b.x, b.top, White);
    // A zone the value only touches has no height and is not drawn.
    if (b.hasGreen && b.greenTop != b.bottom)
        pb->BoxFilled(b.x, b.bottom, b.right, b.greenTop, Green);
    if (b.hasOrange && b.orangeTop != b.greenTop)
        pb->BoxFilled(b.x, b.greenTop, b.right, b.orangeTop, Orange);
    if (b.hasRed && b.redTop != b.orangeTop)
        pb->BoxFilled(b.x, b.orangeTop, b.right, b.redTop, Red);
    pb->Box(b.right, b.bottom, b.x, b.top, Black);
    // The load as a whole percentage; not capped, so a bar cut at 300 % still says how
    // far over it is.
    pb->CurrentX = b.x + 80;
    pb->CurrentY = pb->ScaleHeight() - 500;
    pb->Print(QString::fromStdString(FormatFixed(static_cast<float>(static_cast<double>(value) * 100), 0)));
}
