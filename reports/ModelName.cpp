#include "reports/ModelName.h"

std::string GetModelName(const AlgorithmTicks &ticks)
{
    if (ticks.ModelC)
        return ticks.Hybrid ? "Hybrid_C" : "ZH-L16C";
    if (ticks.ModelB)
        return ticks.Hybrid ? "Hybrid_B" : "ZH-L16B";
    return ticks.VPMShown ? "VPM" : "";
}
