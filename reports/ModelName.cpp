#include "reports/ModelName.h"

#include "platform/ShellServices.h"

std::string GetModelName()
{
    ShellServices &shell = Shell();
    if (shell.ModelCChecked())
        return shell.HybridChecked() ? "Hybrid_C" : "ZH-L16C";
    if (shell.ModelBChecked())
        return shell.HybridChecked() ? "Hybrid_B" : "ZH-L16B";
    return shell.VPMEnabled() ? "VPM" : "";
}
