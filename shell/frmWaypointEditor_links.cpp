// The editor's links to the main window, the other dives of its series and the engine.

#include "shell/frmWaypointEditor.h"

#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/ShellServices.h"
#include "shell/DiveWindows.h"
#include "shell/FileIOModule.h"
#include "shell/ImageList.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"

#include <QCursor>
#include <QMenu>

void frmWaypointEditor::runEngine(bool loadOnly)
{
    const int16_t n = tagNumber();
    RunDecompression(InputProfile, DecoProfile_, record().Template, loadOnly, false, PrevProfile != -1, n, n,
                     AlgorithmOptions());
}

void frmWaypointEditor::EnableProfileCommands(bool ascentOn, bool infoOn)
{
    ::EnableProfileCommands(ascentOn, infoOn);
}

// The next-dive command: toolbar button "Multilevel" and mnuSurface.
void frmWaypointEditor::enableNextDiveCommand(bool on)
{
    if (!gMainForm)
        return;
    gMainForm->Button(QStringLiteral("Multilevel"))->setEnabled(on);
    gMainForm->mnuSurface->setEnabled(on);
}

void frmWaypointEditor::enableClearDecoPoints(bool on)
{
    if (gMainForm)
        gMainForm->mnucleardecopoints->setEnabled(on);
}

void frmWaypointEditor::showRepetitiveIcon()
{
    if (gMainForm)
        setWindowIcon(gMainForm->imlIcons.image(ImageList::Repetitive));
}

// The main window shows the dive's circuit mode without writing it back.
void frmWaypointEditor::showCircuitOfDive(bool openCircuit)
{
    if (!gMainForm)
        return;
    if (openCircuit)
        gMainForm->SetOpenCircuit(false);
    else
        gMainForm->SetConstPPO(false);
}

void frmWaypointEditor::showWaypointMenu()
{
    if (gMainForm)
        gMainForm->mnuWaypoint->popup(QCursor::pos());
}

QWidget *frmWaypointEditor::dialogOwner()
{
    return gMainForm ? static_cast<QWidget *>(gMainForm) : window();
}

frmWaypointEditor *frmWaypointEditor::diveWindow(int16_t n) const
{
    return DiveWindow(n);
}

// The Yes of the save question: the series of this window (not whichever is active)
// under a name the diver chooses. A cancelled or failed save keeps the window open.
bool frmWaypointEditor::saveSeries()
{
    return SaveProfile(true, tagNumber());
}

void frmWaypointEditor::setPrevNext(int16_t prevp, int16_t nextp)
{
    PrevProfile = prevp;
    NextProfile = nextp;
    UpdateSurfProfiles();
}

void frmWaypointEditor::setNext(int16_t nextp)
{
    NextProfile = nextp;
    UpdateSurfProfiles();
}

void frmWaypointEditor::setPrev(int16_t prevp)
{
    PrevProfile = prevp;
    UpdateSurfProfiles();
}

void frmWaypointEditor::UpdateSurfProfiles()
{
    if (PrevProfile == -1) {
        if (NextProfile == -1)
            SurfProfileNumber = 1;
    } else if (const frmWaypointEditor *prev = diveWindow(PrevProfile)) {
        SurfProfileNumber = static_cast<int16_t>(prev->SurfProfileNumber + 1);
    }
    // A first dive keeps the caption its creator gave it.
    if (SurfProfileNumber == 1)
        return;
    const SettingsRecord &r = tagRecord();
    setWindowTitle(DiveCaption(r.ProfileName + GetLangString(3013) + ":" + std::to_string(SurfProfileNumber),
                               r.Template.Templatename, "]",
                               GetLangString(3016) + " " + FormatHoursMinutes(r.SurfTime)));
}

int16_t frmWaypointEditor::getFirstProfile() const
{
    const frmWaypointEditor *w = this;
    int16_t first = tagNumber();
    while (w && w->PrevProfile != -1) {
        first = w->PrevProfile;
        w = diveWindow(first);
    }
    return first;
}

int16_t frmWaypointEditor::getLastProfile() const
{
    const frmWaypointEditor *w = this;
    int16_t last = tagNumber();
    while (w && w->NextProfile != -1) {
        last = w->NextProfile;
        w = diveWindow(last);
    }
    return last;
}

void frmWaypointEditor::SurfDeleteProfile()
{
    const int16_t prev = PrevProfile;
    const int16_t next = NextProfile;
    if (prev == -1) {
        // Only the first dive asks to save the series, so it closes every dive after it.
        if (next != -1)
            unloadForms(getLastProfile());
        return;
    }
    // The series the diver keeps has lost a dive its file still holds: a change to save.
    if (static_cast<size_t>(prev) < gSettings.size())
        gSettings[static_cast<size_t>(prev)].ProfileChanged = true;
    frmWaypointEditor *before = diveWindow(prev);
    if (next == -1) {
        if (before)
            before->NextProfile = -1;
    } else {
        if (frmWaypointEditor *after = diveWindow(next))
            after->PrevProfile = prev;
        gSettings[static_cast<size_t>(next)].PrevProfile = prev;
        if (before)
            before->NextProfile = next;
        SurfUpdateProfile(prev);
    }
    PrevProfile = NextProfile = -1;
}

void frmWaypointEditor::SurfUpdateProfile(int16_t fromProfilenr)
{
    frmWaypointEditor *from = diveWindow(fromProfilenr);
    if (!from)
        return;
    // The dives after it take their numbers from their new predecessors, so after a
    // removal the series counts 1, 2, 3 ... again.
    for (frmWaypointEditor *w = diveWindow(from->NextProfile); w; w = diveWindow(w->NextProfile))
        w->UpdateSurfProfiles();
    // Each replay re-evaluates the dive after it, so one replay refreshes the tissues
    // carried across every surface interval down to the last dive.
    from->ReEvaluateUserEnteredWaypoints();
}

void frmWaypointEditor::unloadForms(int16_t start)
{
    for (int16_t p = start; p != -1;) {
        frmWaypointEditor *w = diveWindow(p);
        if (!w)
            break;
        const int16_t q = w->PrevProfile;
        // The window that asked is already closing.
        if (w != this)
            w->CloseByCode();
        p = q;
    }
}

void frmWaypointEditor::DestroyThis()
{
    CloseByCode();
}
