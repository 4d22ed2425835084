#include "engine/SettingsRecord.h"

GasRecord AirGas()
{
    return GasRecord{"Air", 21.0f, 79.0f, 0.0f, 0.0f};
}
