#pragma once
// The rubber band of a new leg in the plot, in twips: from the last waypoint the travel
// at the rates of the dive's descent or ascent bands (a marker where it crosses a band
// depth), then a level stay to the pointer's time. The pointer cannot be placed before
// the end of the travel, nor an ascent above the shallowest band.

#include "engine/SettingsRecord.h"

#include <vector>

struct RubberBandPath {
    struct Segment {
        float x1, y1, x2, y2;
    };
    struct Marker {
        float x, y;
        bool descent; // a descent crosses a band depth (red), an ascent (yellow)
    };
    std::vector<Segment> lines;
    std::vector<Marker> markers;
    // Where the pointer is taken to be: moved right to the end of the travel, and for an
    // ascent held at the shallowest band.
    float xTo = 0;
    float yTo = 0;
};

// The band from (xFrom, yFrom) to the pointer (xTo, yTo), with the rate tables' pixel
// values (PixelDepth, PixelRate) as the plot filled them.
RubberBandPath SegmentedLinePath(const std::vector<RateRecord> &descend,
                                 const std::vector<RateRecord> &ascend, float xFrom, float yFrom,
                                 float xTo, float yTo);
