#pragma once
// The computing part of the decompression-table generator: a grid of depths and bottom
// times, one square dive per cell (down to the depth, the bottom time there, the planned
// ascent), every cell planned by the plan call on the settings it is given with a fresh
// diver at the surface. Nothing here reads a window or writes a record, so the tables
// of a dive never touch that dive's own end state, and the benchmark times exactly what
// the window runs.

#include "engine/ClassProfile.h"
#include "engine/DivePlan.h"
#include "engine/SettingsRecord.h"

#include <cstdint>
#include <functional>
#include <vector>

// One axis of the grid: start, start + step, ... while not past end, counted in a Single
// as the window's loop counts (9 to 20 step 3 ends at 18). Start above end gives none;
// a step not above 0 gives none, and the axis ends where a step no longer moves it.
std::vector<float> TableAxis(float Start, float End, float Step);

// The diver's part of one cell into Legs (cleared first), on gas MixNr of the settings:
// with FastDescent a drop to Depth at 10000 a minute (logged as 0.001 minutes; the engine
// takes Depth / 10000) and then BottomTime minutes there (the bottom time counts at
// depth); without it the descent at the settings' descent rates (AddTableTravel) and a
// level piece until the run time reaches BottomTime.
void FillTableLegs(ClassProfile &Legs, const TemplateRec &Settings, float Depth, float BottomTime, int16_t MixNr,
                   bool FastDescent);

struct TableRun {
    // One table per depth; Tables[d][0] is an empty profile, Tables[d][1..n] the
    // computed cells in bottom-time order (the print job's order).
    std::vector<std::vector<ClassProfile>> Tables;
    std::vector<PlanWarning> Warnings; // one per kind and limit, the worst value
    bool Cancelled = false;
};

// Called after every cell with the number of cells done; false stops the run (Cancel).
using TableProgress = std::function<bool(int CellsDone)>;

// Plans every cell of the grid on Settings with Options (its Bailout is ignored: table
// dives are planned on the dive's own circuit). Errors of the engine (settings it cannot
// run, a stop that never clears) reach the caller; Settings are never changed.
TableRun PlanTables(const TemplateRec &Settings, const std::vector<float> &Depths, const std::vector<float> &Times,
                    int16_t MixNr, bool FastDescent, const PlanOptions &Options, const TableProgress &Progress);
