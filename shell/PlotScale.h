#pragma once
// The mapping between the profile plot's world (run time in minutes across, minus the
// depth down, so the surface is y = 0 and deeper points are more negative) and its
// pixels (twips of the plot picture box), with the rounding of the axes. Pure
// functions, so the arithmetic can be checked without a window.

#include "engine/ClassProfile.h"

#include <cstdint>
#include <string>
#include <vector>

struct PlotPoint {
    float x = 0;
    float y = 0;
};

struct PlotScale {
    // Plot area in twips: a margin of 5.5 % above and below, the full width across.
    float GridTop = 0;
    float GridBottom = 0;
    float GridLeft = 0;
    float GridRight = 0;
    // The rounded world rectangle shown in that area.
    float AxisTimeMin = 0;
    float AxisTimeMax = 0;
    float AxisTop = 0;
    float AxisBottom = 0;
};

// Axis rounding to a step: the value itself when it rounds (halves to even) to a
// multiple of the step, else floored to the step.
int16_t RoundDownToStep(float value, int16_t step);
// One step beyond the value (away from zero; the moved value is written back), then
// the rule above: 180 -> 190, 183 -> 190, -120 -> -130, -125 -> -140.
int32_t RoundUpToStep(float &value, int16_t step);

// The plot rectangle of a grid box of the given size (twips) showing the given world
// rectangle, each edge rounded to steps of 10.
PlotScale MakePlotScale(float gridWidth, float gridHeight, float timeMin, float timeMax,
                        float yTop, float yBottom);

// World (minutes, minus depth) to pixel; an axis whose both ends are 0 maps to -1.
PlotPoint WorldToPixel(const PlotScale &s, float t, float y);
// Pixel to world, cut down to 0.1 (so a depth reads up to the next 0.1).
PlotPoint PixelToWorld(const PlotScale &s, float x, float y);
// Whether a pixel lies in the plot area, edges included.
bool IsInsideGrid(const PlotScale &s, float x, float y);

// Horizontal pixels per vertical pixel of a line drawn at `rate` depth units per
// minute (negative for a positive rate, as y grows downwards on the screen).
float Drate(const PlotScale &s, float rate);
// Pixel y of a depth.
float Ddepth(const PlotScale &s, float depth);

// The depths and times that get a grid line and a label: every `step` from one step
// past the surface (time 0) to one step short of the bottom (right) edge.
int16_t DepthAxisStep(const PlotScale &s);
std::vector<int32_t> DepthAxisLabels(const PlotScale &s);
int16_t TimeAxisStep(const PlotScale &s);
std::vector<int32_t> TimeAxisLabels(const PlotScale &s);

// The largest run time and depth of a profile, never less than 60, so a short shallow
// dive is drawn on the same rectangle as an empty one.
float LargestTime(const ClassProfile &profile);
float LargestDepth(const ClassProfile &profile);

// A gas label of a plotted point: the start point names the gas of the first leg, a
// shown point announces the gas of the next one; a hidden point where the gas changes
// gets a ring and names its gas, and so does a shown point reached through hidden
// points with a new gas (nothing before it announced the switch). The last point gets
// none. `announces`: the label names the next point's gas (drawn to the lower right).
struct GasLabel {
    std::string name;
    bool announces = false;
    bool ring = false;
};
std::vector<GasLabel> GasLabelsAt(const ClassProfile &profile, int16_t nr, bool lastPoint);
