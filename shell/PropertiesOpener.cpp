#include "shell/PropertiesOpener.h"

#include "settings/frmProperties.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

void ShowPropertiesForActiveProfile()
{
    auto *dialog = new frmProperties(ActiveProfileNumber(), gMainForm);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    frmWaypointEditor *editor = ActiveEditor();
    if (!editor || dialog->NothingChanged)
        return;
    editor->SetTemplate();
    editor->ReEvaluateUserEnteredWaypoints();
}
