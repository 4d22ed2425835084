#include "shell/RubberBand.h"

#include "engine/LegBands.h"

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

    // The bands in pixels: the cut works in any unit, and the slope stands for the rate.
    auto inPixels = [](const std::vector<RateRecord> &rows) {
        std::vector<RateRecord> px(rows.size());
        for (size_t k = 0; k < rows.size(); ++k) {
            px[k].Depth = rows[k].PixelDepth;
            px[k].Rate = rows[k].PixelRate;
        }
        return px;
    };
    const bool descent = y1 >= y0;
    if (descent ? descend.empty() : ascend.empty()) {
        if (descent)
            finish(x0);
        else
            path.lines.push_back({x0, y0, x1, y1});
    } else {
        const LegCut cut = CutLegAtBands(inPixels(descent ? descend : ascend), y0, y1, false);
        y1 = cut.EndDepth;
        for (const LegPiece &piece : cut.Pieces) {
            const float xe = travelEnd(x0, y0, piece.Depth, piece.Rate);
            if (!piece.AtBand) {
                finish(xe);
                break;
            }
            path.lines.push_back({x0, y0, xe, piece.Depth});
            path.markers.push_back({xe, piece.Depth, descent});
            x0 = xe;
            y0 = piece.Depth;
        }
    }

    path.xTo = x1;
    path.yTo = y1;
    return path;
}
