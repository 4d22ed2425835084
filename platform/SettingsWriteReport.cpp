#include "platform/SettingsWriteReport.h"

#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"

namespace {

bool gReported = false;

} // namespace

void ReportSettingsWriteFailure(const QString &path)
{
    if (gReported)
        return;
    gReported = true;
    MsgBox(GetLangStringQ(7063) + QStringLiteral("\r\n") + path, vbCritical + vbOKOnly);
}

void ResetSettingsWriteReport()
{
    gReported = false;
}
