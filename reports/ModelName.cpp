#include "reports/ModelName.h"

std::string GetModelName(const AlgorithmTicks &ticks)
{
    if (ticks.ModelC)
        return ticks.Hybrid ? "Hybrid_C" : "ZH-L16C";
    if (ticks.ModelB)
        return ticks.Hybrid ? "Hybrid_B" : "ZH-L16B";
    return ticks.VPMShown ? "VPM" : "";
}

std::optional<std::string> CeilingModelName(int16_t modelControl, const AlgorithmTicks &ticks)
{
    if (modelControl == 1)
        return "VPM";
    if (modelControl == 2 && ticks.ModelB)
        return "ZH-L16B";
    if (modelControl == 2 && ticks.ModelC)
        return "ZH-L16C";
    return std::nullopt;
}
