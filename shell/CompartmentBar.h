#pragma once
// The geometry of one bar of the compartment-load chart, in twips of the chart box:
// sixteen slots side by side, each holding 300 % of load in three zones of 100 % each,
// green up to 100 %, orange to 200 %, red to 300 %; longer bars are cut at 300 %.

#include <cstdint>

struct CompartmentBar {
    float x = 0;      // left edge of the slot
    float right = 0;  // right edge: x + a twentieth of the chart's width
    float top = 250;  // top of the slot (300 %)
    float bottom = 0; // bottom of the slot (0 %)
    float unit = 0;   // height of 100 %
    // Upper ends of the zones; a zone the value does not reach has zero height (its top
    // equals its bottom) or is absent.
    bool hasGreen = false, hasOrange = false, hasRed = false;
    float greenTop = 0, orangeTop = 0, redTop = 0;
};

// Bar of compartment k (1..16) loaded to `value` (1.0 = 100 %) in a chart of scale
// width SW and height SH.
CompartmentBar CompartmentBarGeometry(float SW, float SH, int16_t k, float value);
