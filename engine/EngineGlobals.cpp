#include "engine/EngineGlobals.h"

#include "engine/DiveModel.h"
#include "engine/TemplateModule.h"
#include "engine/TraceFile.h"

std::vector<SettingsRecord> gSettings(1);
int16_t gVeryHighGF = 0;
int16_t gTraceOn = 0;
std::FILE *gTraceFile = nullptr;
std::string gDecimalSeparator = ".";
std::string gThousandSeparator = ",";

void ResetEngineGlobals()
{
    gSettings.assign(1, SettingsRecord{});
    gSettings[0].TemplateName = "Default";
    CloseAllDives();
    gVeryHighGF = 0;
    gTraceOn = 0;
    CloseTraceFile();
    gDecimalSeparator = ".";
    gThousandSeparator = ",";
    gTemplateFile.clear();
}
