#include "shell/PropertiesOpener.h"

#include "settings/frmProperties.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"

// Opening changes nothing: no computation, no warning. The dialog's OK stores the
// settings and has its dive computed again; Cancel leaves the dive as it was.
void ShowPropertiesForActiveProfile()
{
    auto *dialog = new frmProperties(ActiveProfileNumber(), gMainForm);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
