#include "shell/frmWaypointEditor.h"

#include "engine/EngineGlobals.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "shell/ImageList.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"

#include <QCloseEvent>

frmWaypointEditor::frmWaypointEditor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmWaypointEditor"));
    setMinimumSize(320, 200);
    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1500));
    setWindowIcon(ImageList().image(ImageList::Dive));
    EnableProfileCommands(false, false);
}

QString frmWaypointEditor::Tag() const
{
    return property("Tag").toString();
}

void frmWaypointEditor::setTag(const QString &tag)
{
    setProperty("Tag", tag);
}

void frmWaypointEditor::SetTemplate()
{
    ProfileNumber = ActiveProfileNumber();
}

void frmWaypointEditor::setPrevNext(int16_t prev, int16_t next)
{
    PrevProfile = prev;
    NextProfile = next;
}

int16_t frmWaypointEditor::getFirstProfile() const
{
    const frmWaypointEditor *w = this;
    int16_t first = CInt(Val(Tag().toStdString()));
    while (w && w->PrevProfile != -1) {
        first = w->PrevProfile;
        w = first < int16_t(gDiveWindows.size()) ? gDiveWindows[first].data() : nullptr;
    }
    return first;
}

int16_t frmWaypointEditor::getLastProfile() const
{
    const frmWaypointEditor *w = this;
    int16_t last = CInt(Val(Tag().toStdString()));
    while (w && w->NextProfile != -1) {
        last = w->NextProfile;
        w = last < int16_t(gDiveWindows.size()) ? gDiveWindows[last].data() : nullptr;
    }
    return last;
}

void frmWaypointEditor::StartDeco() {}
void frmWaypointEditor::ReEvaluateUserEnteredWaypoints() {}
void frmWaypointEditor::mnucleardecopoints() {}
void frmWaypointEditor::mnuclearlastwaypoint() {}
void frmWaypointEditor::mnuclearallwaypoints() {}

void frmWaypointEditor::Form_Activate()
{
    if (!gMainForm)
        return;
    const int16_t n = ProfileNumber;
    const bool openCircuit = n >= 0 && n < int16_t(gSettings.size()) ? gSettings[n].Template.OpenCircuit : true;
    if (openCircuit)
        gMainForm->SetOpenCircuit(false);
    else
        gMainForm->SetConstPPO(false);
    switch (EditorState_) {
    case 1: EnableProfileCommands(true, true); break;
    case 2: EnableProfileCommands(false, true); break;
    default: EnableProfileCommands(false, false); break;
    }
    const bool nextDive = NextProfile == -1 && EditorState_ == 2;
    gMainForm->Button(QStringLiteral("Multilevel"))->setEnabled(nextDive);
    gMainForm->mnuSurface->setEnabled(nextDive);
    if (PrevProfile != -1)
        setWindowIcon(gMainForm->imlIcons.image(ImageList::Repetitive));
}

void frmWaypointEditor::closeEvent(QCloseEvent *event)
{
    const int16_t n = CInt(Val(Tag().toStdString()));
    if (n > 0 && n < int16_t(gSettings.size()))
        gSettings[n].SlotFree = true;
    event->accept();
}
