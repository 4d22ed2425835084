#pragma once
// Small services of the engine that the windows call.

#include "engine/SettingsRecord.h"

#include <cstdint>
#include <string>

// Index of the first gas of the template's list named exactly `Name` (case-sensitive);
// 0 (Air) when none is, so a waypoint on an unknown gas is simulated on Air.
int16_t FindGasIndex(const std::string &Name, const TemplateRec &Template);
