#include "engine/LegBands.h"

#include <algorithm>

LegCut CutLegAtBands(const std::vector<RateRecord> &Rows, float From, float To, bool ArriveOnBand)
{
    LegCut cut;
    cut.EndDepth = To;
    if (Rows.empty())
        return cut;
    const int last = static_cast<int>(Rows.size()) - 1;
    auto row = [&Rows](int k) -> const RateRecord & { return Rows[static_cast<size_t>(k)]; };
    float at = From;

    if (To >= From) {
        for (int k = 0; k <= last; ++k) {
            const float band = row(k).Depth;
            if (at >= band)
                continue;
            const float rate = row(std::max(k - 1, 0)).Rate;
            if (!(To > band)) {
                cut.Pieces.push_back({To, rate, false});
                return cut;
            }
            cut.Pieces.push_back({band, rate, true});
            at = band;
        }
        cut.Pieces.push_back({To, row(last).Rate, false});
        return cut;
    }

    for (int k = last; k >= 0; --k) {
        const float band = row(k).Depth;
        const float rate = row(k).Rate;
        if (at <= band)
            continue;
        if (ArriveOnBand ? cut.EndDepth > band : cut.EndDepth >= band) {
            cut.Pieces.push_back({cut.EndDepth, rate, false});
            return cut;
        }
        // The ascent cannot end above the shallowest band.
        cut.EndDepth = std::max(cut.EndDepth, row(0).Depth);
        cut.Pieces.push_back({band, rate, true});
        at = band;
    }
    cut.EndedOnShallowestBand = true;
    return cut;
}
