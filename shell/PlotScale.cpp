#include "shell/PlotScale.h"

#include "engine/LibraryModule.h"
#include "engine/VBConversions.h"

#include <cmath>

namespace {

// The rounding rule both axis functions share, on a value already moved.
int32_t roundToStep(float value, int16_t step)
{
    const int32_t whole = CLng(value);
    if (whole % step == 0)
        return whole;
    return static_cast<int32_t>(Int(static_cast<double>(value) / step)) * step;
}

// Integer loop bounds of an axis: one step in from each end.
std::vector<int32_t> labelsBetween(double first, double last, int16_t step)
{
    std::vector<int32_t> labels;
    const int32_t to = CLng(last);
    for (int32_t v = CLng(first); v <= to; v += step)
        labels.push_back(v);
    return labels;
}

} // namespace

int16_t RoundDownToStep(float value, int16_t step)
{
    return CInt(roundToStep(value, step));
}

int32_t RoundUpToStep(float &value, int16_t step)
{
    value = static_cast<float>(value > 0 ? static_cast<double>(value) + step
                                         : static_cast<double>(value) - step);
    return roundToStep(value, step);
}

PlotScale MakePlotScale(float gridWidth, float gridHeight, float timeMin, float timeMax,
                        float yTop, float yBottom)
{
    PlotScale s;
    s.GridTop = static_cast<float>(gridHeight * 0.055);
    s.GridBottom = gridHeight - s.GridTop;
    s.GridLeft = 0;
    s.GridRight = gridWidth;
    s.AxisTimeMin = RoundDownToStep(timeMin, 10);
    s.AxisTimeMax = static_cast<float>(RoundUpToStep(timeMax, 10));
    s.AxisTop = RoundDownToStep(yTop, 10);
    s.AxisBottom = static_cast<float>(RoundUpToStep(yBottom, 10));
    return s;
}

PlotPoint WorldToPixel(const PlotScale &s, float t, float y)
{
    PlotPoint p;
    if (s.AxisTimeMax == 0 && s.AxisTimeMin == 0)
        p.x = -1;
    else
        p.x = static_cast<float>(s.GridLeft + static_cast<double>(t) * (s.GridRight - s.GridLeft) /
                                                  (s.AxisTimeMax - s.AxisTimeMin));
    if (s.AxisBottom == 0 && s.AxisTop == 0)
        p.y = -1;
    else
        p.y = static_cast<float>(s.GridTop + static_cast<double>(y) * (s.GridBottom - s.GridTop) /
                                                 (s.AxisBottom - s.AxisTop));
    return p;
}

PlotPoint PixelToWorld(const PlotScale &s, float x, float y)
{
    PlotPoint p;
    if (s.AxisTimeMax == 0 && s.AxisTimeMin == 0)
        p.x = -1;
    else
        p.x = static_cast<float>(
            Int((static_cast<double>(x) - s.GridLeft) * (s.AxisTimeMax - s.AxisTimeMin) /
                (s.GridRight - s.GridLeft) * 10) / 10);
    if (s.AxisBottom == 0 && s.AxisTop == 0)
        p.y = -1;
    else
        p.y = static_cast<float>(
            Int((static_cast<double>(y) - s.GridTop) * (s.AxisBottom - s.AxisTop) /
                (s.GridBottom - s.GridTop) * 10) / 10);
    return p;
}

bool IsInsideGrid(const PlotScale &s, float x, float y)
{
    return s.GridLeft <= x && x <= s.GridRight && s.GridTop <= y && y <= s.GridBottom;
}

float Drate(const PlotScale &s, float rate)
{
    const PlotPoint p0 = WorldToPixel(s, 0, 0);
    const PlotPoint p1 = WorldToPixel(s, 10, static_cast<float>(10.0 * rate));
    return static_cast<float>((static_cast<double>(p1.x) - p0.x) / (static_cast<double>(p1.y) - p0.y));
}

float Ddepth(const PlotScale &s, float depth)
{
    return WorldToPixel(s, 0, -depth).y;
}

int16_t DepthAxisStep(const PlotScale &s)
{
    return CInt((static_cast<double>(s.AxisTop) - s.AxisBottom) / 15);
}

std::vector<int32_t> DepthAxisLabels(const PlotScale &s)
{
    const int16_t step = DepthAxisStep(s);
    if (step <= 0)
        return {};
    return labelsBetween(static_cast<double>(s.AxisTop) + step,
                         std::fabs(static_cast<double>(s.AxisBottom)) - step, step);
}

int16_t TimeAxisStep(const PlotScale &s)
{
    const int16_t step = CInt(static_cast<double>(s.AxisTimeMax) / 30);
    return step < 2 ? int16_t(2) : step;
}

std::vector<int32_t> TimeAxisLabels(const PlotScale &s)
{
    const int16_t step = TimeAxisStep(s);
    return labelsBetween(static_cast<double>(s.AxisTimeMin) + step,
                         static_cast<double>(s.AxisTimeMax) - step, step);
}

float LargestTime(const ClassProfile &profile)
{
    float m = 60;
    for (int16_t i = 0; i <= profile.GetLength(); ++i)
        m = MaxSingle(m, profile.GetRunTime(i));
    return m;
}

float LargestDepth(const ClassProfile &profile)
{
    float m = 60;
    for (int16_t i = 0; i <= profile.GetLength(); ++i)
        m = MaxSingle(m, profile.getDepth(i));
    return m;
}

std::vector<GasLabel> GasLabelsAt(const ClassProfile &profile, int16_t nr, bool lastPoint)
{
    std::vector<GasLabel> labels;
    if (lastPoint)
        return labels;
    if (nr == 0)
        return {{profile.GetGasMixName(1), true, false}};
    const std::string &gas = profile.GetGasMixName(nr);
    const bool switched = gas != profile.GetGasMixName(nr - 1);
    if (!profile.GetDoShow(nr)) {
        if (switched)
            labels.push_back({gas, false, true});
        return labels;
    }
    if (switched && nr >= 2 && !profile.GetDoShow(nr - 1))
        labels.push_back({gas, false, false});
    if (profile.GetGasMixName(nr + 1) != gas)
        labels.push_back({profile.GetGasMixName(nr + 1), true, false});
    return labels;
}
