#pragma once
// The engine's program-wide state. Tests call ResetEngineGlobals() between cases.

#include "engine/SettingsRecord.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One record per dive, indexed by profile number; element 0 is the default template.
extern std::vector<SettingsRecord> gSettings;

// 1 when the command line holds "/VeryHighGF": gradient factors up to 1.2 are accepted.
extern int16_t gVeryHighGF;

// 1 when the command line holds "/phi": the segment procedures write the trace file.
extern int16_t gTraceOn;

// The open trace file phi.log (engine/TraceFile.h opens it); nullptr when none is open.
extern std::FILE *gTraceFile;

// The user's decimal and thousands separators (UTF-8; a separator can be several bytes).
extern std::string gDecimalSeparator;
extern std::string gThousandSeparator;

// Back to the state of a fresh start: gSettings holds element 0 only, no dive is open
// (engine/DiveModel.h), no trace file.
void ResetEngineGlobals();
