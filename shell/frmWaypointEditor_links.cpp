// The editor's links to the main window, the other dives of its series and the engine.

#include "shell/frmWaypointEditor.h"

#include "engine/DOLVOptionModule.h"
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

std::vector<PlanWarning> frmWaypointEditor::runEngine(Dive &dive, bool loadOnly)
{
    return DecompressionRun(AlgorithmOptions())(dive, loadOnly);
}

void frmWaypointEditor::showActiveDiveCommands()
{
    if (gMainForm)
        gMainForm->ShowActiveDiveCommands();
}

void frmWaypointEditor::showRepetitiveIcon()
{
    if (gMainForm)
        setWindowIcon(gMainForm->imlIcons.image(ImageList::Repetitive));
}

// The main window shows the dive's circuit mode without writing it back.
void frmWaypointEditor::showCircuitOfDive(bool openCircuit)
{
    if (gMainForm)
        gMainForm->ShowCircuitMode(openCircuit);
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
    dive_->SetLinks(prevp, nextp);
    UpdateSurfProfiles();
}

void frmWaypointEditor::setNext(int16_t nextp)
{
    dive_->SetNextProfile(nextp);
    UpdateSurfProfiles();
}

void frmWaypointEditor::UpdateSurfProfiles()
{
    int16_t &position = dive_->SurfProfileNumber;
    if (dive_->PrevProfile() == -1) {
        if (dive_->NextProfile() == -1)
            position = 1;
    } else if (const Dive *prev = FindDive(dive_->PrevProfile())) {
        position = static_cast<int16_t>(prev->SurfProfileNumber + 1);
    }
    // A first dive keeps the caption its creator gave it.
    if (position == 1)
        return;
    const SettingsRecord &r = tagRecord();
    setWindowTitle(DiveCaption(r.ProfileName + GetLangString(3013) + ":" + std::to_string(position),
                               r.Template.Templatename, "]",
                               GetLangString(3016) + " " + FormatHoursMinutes(r.SurfTime)));
}

int16_t frmWaypointEditor::getLastProfile() const
{
    return LastDiveOfSeries(tagNumber());
}

void frmWaypointEditor::SurfDeleteProfile()
{
    const int16_t prev = dive_->PrevProfile();
    const int16_t next = dive_->NextProfile();
    if (prev == -1) {
        // Only the first dive asks to save the series, so it closes every dive after it.
        if (next != -1)
            unloadForms(getLastProfile());
        return;
    }
    // The series the diver keeps has lost a dive its file still holds: a change to save.
    if (SettingsRecord *before = FindRecord(prev))
        before->ProfileChanged = true;
    UnlinkDive(tagNumber());
    if (next != -1)
        SurfUpdateProfile(prev);
}

void frmWaypointEditor::SurfUpdateProfile(int16_t fromProfilenr)
{
    frmWaypointEditor *from = diveWindow(fromProfilenr);
    if (!from)
        return;
    // The dives after it take their numbers from their new predecessors, so after a
    // removal the series counts 1, 2, 3 ... again.
    const std::vector<int16_t> series = SeriesFrom(fromProfilenr);
    for (size_t i = 1; i < series.size(); ++i)
        if (frmWaypointEditor *w = diveWindow(series[i]))
            w->UpdateSurfProfiles();
    // Each replay re-evaluates the dive after it, so one replay refreshes the tissues
    // carried across every surface interval down to the last dive.
    from->ReEvaluateUserEnteredWaypoints();
}

void frmWaypointEditor::unloadForms(int16_t start)
{
    for (const int16_t p : SeriesFrom(start, true)) {
        frmWaypointEditor *w = diveWindow(p);
        if (!w)
            break;
        // The window that asked is already closing.
        if (w != this)
            w->CloseByCode();
    }
}

void frmWaypointEditor::DestroyThis()
{
    CloseByCode();
}
