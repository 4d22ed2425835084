#pragma once
// The one routine that cuts a leg of travel at the band depths of a descent or ascent
// rate table. The editor's replay, its rubber band and the table dives all cut their
// legs with it; each times and stores the pieces its own way.

#include "engine/SettingsRecord.h"

#include <vector>

// One piece of travel: to Depth at Rate (the row's rate, positive). AtBand: the piece
// ends on a band depth and the leg goes on in the next band.
struct LegPiece {
    float Depth = 0;
    float Rate = 0;
    bool AtBand = false;
};

struct LegCut {
    std::vector<LegPiece> Pieces;
    // Where the leg ends: an ascent is held at the shallowest band.
    float EndDepth = 0;
    // The ascent stopped on the shallowest band (or started above it) without a last
    // piece inside a band: nothing follows it, not even a level stay.
    bool EndedOnShallowestBand = false;
};

// Cuts the travel from depth From to depth To (a descent when To >= From) at the band
// depths of Rows, which rise from row to row; row k's rate applies from its depth down to
// the next row's, the last row's below its depth. A descent that starts above the first
// band travels at the first row's rate (callers that refuse such a table check it first).
// ArriveOnBand settles an ascent that ends exactly on a band depth: with it the travel
// ends with a piece AtBand and a last piece of no length in the band above, and reaching
// the shallowest band ends the leg; without it the last piece runs to the end at the
// rate of the band below. Empty Rows give no pieces.
LegCut CutLegAtBands(const std::vector<RateRecord> &Rows, float From, float To, bool ArriveOnBand);
