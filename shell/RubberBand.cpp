#include "shell/RubberBand.h"

#include <cmath>

namespace {

// x at the end of a travel piece from (x, y) to depth y2 at a band's pixel slope
// (negative: the line runs right as it goes down).
float travelEnd(float x, float y, float y2, float pixelRate)
{
    return static_cast<float>(x + std::fabs(static_cast<double>(y2) - y) * -pixelRate);
}

} // namespace

RubberBandPath SegmentedLinePath(const std::vector<RateRecord> &descend,
                                 const std::vector<RateRecord> &ascend, float xFrom, float yFrom,
                                 float xTo, float yTo)
{
    RubberBandPath path;
    float x0 = xFrom, y0 = yFrom, x1 = xTo, y1 = yTo;

    // The travel ends at (xe, y1); the stay runs on to the pointer's time, which is
    // moved to the end of the travel when it lies before it.
    auto finish = [&](float xe) {
        path.lines.push_back({x0, y0, xe, y1});
        if (x1 < xe)
            x1 = xe;
        path.lines.push_back({xe, y1, x1, y1});
    };

    if (y1 >= y0) {
        if (descend.empty()) {
            finish(x0);
        } else {
            const int last = static_cast<int>(descend.size()) - 1;
            bool done = false;
            for (int k = 0; k <= last && !done; ++k) {
                const float pd = descend[static_cast<size_t>(k)].PixelDepth;
                if (y0 >= pd)
                    continue;
                // Above the first band the first band's rate is used: the tables start
                // at the surface, so this only happens for a table that does not.
                const float pr = descend[static_cast<size_t>(k > 0 ? k - 1 : 0)].PixelRate;
                if (y1 <= pd) {
                    finish(travelEnd(x0, y0, y1, pr));
                    done = true;
                } else {
                    const float xc = travelEnd(x0, y0, pd, pr);
                    path.lines.push_back({x0, y0, xc, pd});
                    path.markers.push_back({xc, pd, true});
                    x0 = xc;
                    y0 = pd;
                }
            }
            if (!done)
                finish(travelEnd(x0, y0, y1, descend[static_cast<size_t>(last)].PixelRate));
        }
    } else if (!ascend.empty()) {
        const float shallowest = ascend.front().PixelDepth;
        for (int k = static_cast<int>(ascend.size()) - 1; k >= 0; --k) {
            const float pd = ascend[static_cast<size_t>(k)].PixelDepth;
            const float pr = ascend[static_cast<size_t>(k)].PixelRate;
            if (y0 <= pd)
                continue;
            if (y1 >= pd) {
                finish(travelEnd(x0, y0, y1, pr));
                break;
            }
            if (y1 < shallowest)
                y1 = shallowest;
            const float xc = travelEnd(x0, y0, pd, pr);
            path.lines.push_back({x0, y0, xc, pd});
            path.markers.push_back({xc, pd, false});
            x0 = xc;
            y0 = pd;
        }
    } else {
        path.lines.push_back({x0, y0, x1, y1});
    }

    path.xTo = x1;
    path.yTo = y1;
    return path;
}
