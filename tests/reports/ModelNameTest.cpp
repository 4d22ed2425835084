// The model label of the reports follows the algorithm menu's ticks.

#include "reports/ModelName.h"

#include <gtest/gtest.h>

TEST(ModelName, FollowsTheAlgorithmTicks)
{
    const struct {
        bool b, c, hybrid, vpmShown;
        const char *label;
    } cases[] = {
        {false, true, false, false, "ZH-L16C"},
        {false, true, true, true, "Hybrid_C"},
        {true, true, false, false, "ZH-L16C"}, // C wins over B
        {true, false, false, true, "ZH-L16B"},
        {true, false, true, false, "Hybrid_B"},
        {false, false, false, true, "VPM"},    // the VPM item enabled, neither B nor C
        {false, false, true, true, "VPM"},
        {false, false, false, false, ""},      // nothing ticked and no VPM item
    };
    for (const auto &c : cases) {
        const AlgorithmTicks ticks{c.b, c.c, c.hybrid, false, c.vpmShown};
        EXPECT_EQ(GetModelName(ticks), c.label) << c.b << c.c << c.hybrid << c.vpmShown;
    }
}
