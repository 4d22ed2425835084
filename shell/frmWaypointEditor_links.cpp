// The editor's links to the main window and the engine.

#include "shell/frmWaypointEditor.h"

#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"

// Until the main window and the engine land, these stand still.
void frmWaypointEditor::EnableProfileCommands(bool, bool) {}
void frmWaypointEditor::enableNextDiveCommand(bool) {}
void frmWaypointEditor::enableClearDecoPoints(bool) {}
void frmWaypointEditor::showRepetitiveIcon() {}
void frmWaypointEditor::showCircuitOfDive(bool) {}
int16_t frmWaypointEditor::activeEditorTag() const { return tagNumber(); }
int16_t frmWaypointEditor::templateIndex() const { return 0; }
bool frmWaypointEditor::saveSeries() { return false; }
frmWaypointEditor *frmWaypointEditor::diveWindow(int16_t) const { return nullptr; }

void frmWaypointEditor::runEngine(bool loadOnly)
{
    const int16_t n = tagNumber();
    RunDecompression(InputProfile, DecoProfile_, record().Template, loadOnly, false, PrevProfile != -1, n, n);
}

void frmWaypointEditor::setPrevNext(int16_t prevp, int16_t nextp)
{
    PrevProfile = prevp;
    NextProfile = nextp;
    UpdateSurfProfiles();
}
void frmWaypointEditor::setNext(int16_t nextp) { NextProfile = nextp; UpdateSurfProfiles(); }
void frmWaypointEditor::setPrev(int16_t prevp) { PrevProfile = prevp; UpdateSurfProfiles(); }
void frmWaypointEditor::UpdateSurfProfiles() { if (PrevProfile == -1 && NextProfile == -1) SurfProfileNumber = 1; }
int16_t frmWaypointEditor::getFirstProfile() const { return tagNumber(); }
int16_t frmWaypointEditor::getLastProfile() const { return tagNumber(); }
void frmWaypointEditor::showWaypointMenu() {}
