#include "shell/ShellHost.h"

#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/MsgBox.h"
#include "shell/DiveWindows.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"
#include "shell/frmWait.h"
#include "shell/frmWaypointEditor.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>

int32_t ShellHost::MsgBox(const std::string &prompt, int32_t buttons, const std::string &title)
{
    return ::MsgBox(QString::fromStdString(prompt), buttons, QString::fromStdString(title));
}

void ShellHost::SetStatusText(const std::string &text)
{
    if (gMainForm)
        gMainForm->Panels(1)->setText(QString::fromStdString(text));
}

void ShellHost::EndApplication()
{
    if (ending_)
        return;
    ending_ = true;
    if (gMainForm)
        gMainForm->MdiArea()->closeAllSubWindows();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() || w == gMainForm)
            w->close();
    QCoreApplication::exit(0);
}

bool ShellHost::DiveOpen(int16_t profileNr)
{
    return profileNr > 0 && DiveWindow(profileNr) != nullptr;
}

int16_t ShellHost::ShownWaypoints(int16_t profileNr)
{
    const Dive *dive = profileNr > 0 ? FindDive(profileNr) : nullptr;
    return dive ? dive->InputProfile.GetLength() : 0;
}

bool ShellHost::ActiveDiveShowsWaypoints()
{
    return ShownWaypoints(::ActiveProfileNumber()) > 0;
}

void ShellHost::ShowCircuit(bool openCircuit)
{
    if (gMainForm)
        gMainForm->ShowCircuitMode(openCircuit);
}

void ShellHost::ShowActiveDiveCircuit()
{
    if (const SettingsRecord *active = FindRecord(::ActiveProfileNumber()))
        ShowCircuit(active->Template.OpenCircuit);
}

void ShellHost::ReEvaluateDive(int16_t profileNr)
{
    if (frmWaypointEditor *editor = DiveWindow(profileNr))
        CallByName(editor, "ReEvaluateUserEnteredWaypoints");
}

QString ShellHost::DiveCaption(int16_t profileNr)
{
    const frmWaypointEditor *editor = DiveWindow(profileNr);
    return editor ? editor->windowTitle() : QString();
}

void ShellHost::ShowErrorInfo(const RuntimeError &error)
{
    ::ShowErrorInfo(error);
}

void ShellHost::SetProgressText(const QString &text)
{
    frmWait::Instance()->Label1->setText(text);
}

void ShellHost::UnloadProgress()
{
    frmWait::Unload();
}
