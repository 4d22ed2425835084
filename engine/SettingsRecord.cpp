#include "engine/SettingsRecord.h"

#include <algorithm>
#include <cmath>
#include <numeric>

GasRecord AirGas()
{
    return GasRecord{"Air", 21.0f, 79.0f, 0.0f, 0.0f};
}

std::vector<size_t> SwitchOrder(const std::vector<GasChangeRecord> &switches)
{
    std::vector<size_t> order(switches.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto key = [&switches](size_t i) {
        const float depth = switches[i].Depth;
        return std::isnan(depth) ? INFINITY : depth;
    };
    std::stable_sort(order.begin(), order.end(), [&key](size_t a, size_t b) { return key(a) < key(b); });
    return order;
}

void MatchSwitchesToGases(TemplateRec &t)
{
    for (GasChangeRecord &change : t.GasChanges)
        for (const GasRecord &gas : t.Gases)
            if (gas.Name == change.Name) {
                change.O2 = gas.O2;
                change.N2 = gas.N2;
                change.He = gas.He;
            }
}
