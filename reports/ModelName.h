#pragma once
// The label of the decompression model on a dive's report and in its segment table:
// the main window's algorithm choice at the time the report is written (not a property
// stored with the dive), given by the command that writes it.

#include "engine/DivePlan.h"

#include <cstdint>
#include <optional>
#include <string>

// The algorithm menu's ticks as the shell read them when a command started. The labels
// need more than the plan's options: the ZH-L16B tick itself (it may stay ticked beside
// VPM) and whether the VPM item is shown at all.
struct AlgorithmTicks {
    bool ModelB = false;
    bool ModelC = true;
    bool Hybrid = false;
    bool VPM = false;
    bool VPMShown = false; // the VPM item is shown and enabled ("/vpm")

    // The options of the plan call: ZH-L16C when its item is ticked (else ZH-L16B), the
    // VPM and hybrid ceilings as their items are ticked.
    PlanOptions Options() const
    {
        PlanOptions options;
        options.ModelC = ModelC;
        options.VPM = VPM;
        options.Hybrid = Hybrid;
        return options;
    }
};

// "Hybrid_C" or "ZH-L16C" when ZH-L16C is ticked (hybrid ticked or not); otherwise
// "Hybrid_B" or "ZH-L16B" when ZH-L16B is ticked; otherwise "VPM" when the VPM menu item
// is shown, else "".
std::string GetModelName(const AlgorithmTicks &ticks);

// The label of the model that set a waypoint's ceiling (its model control): "VPM" for
// 1; for 2 the ZH-L16 coefficient set ticked, "ZH-L16B" before "ZH-L16C"; nothing for
// another model or when neither set is ticked.
std::optional<std::string> CeilingModelName(int16_t modelControl, const AlgorithmTicks &ticks);
