#pragma once
// The arithmetic of bail-out tables, apart from the dialog: where along the diver's own
// part of a dive the bail-outs start, the dive cut at such a moment, the settings of
// each case (one deco-gas switch left out, or none), and one case's table of open-circuit
// ascents computed by the plan call. Nothing here reads a window or writes a record: the
// dive's settings and start state come in as copies.

#include "engine/ClassProfile.h"
#include "engine/DivePlan.h"
#include "engine/SettingsRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Waypoints all rows of one case's table may hold together, so that a run stays within
// seconds and its tables within megabytes.
constexpr int64_t kBailoutWaypointBudget = 400000;

// The settings of one case: Source with deco-gas switch N (0-based) left out of
// GasChanges, every other switch kept in order; N past the end of the list keeps all.
// Without its only switch the list is empty: no switches.
void CopyTemplateWithoutGasChange(const TemplateRec &Source, TemplateRec &Destination, int16_t N);

// The index of the waypoint whose segment holds run time Time (run time of the one
// before < Time <= its own), 0 when none does.
int16_t SegmentAt(const ClassProfile &Profile, float Time);

// The dive as the diver has dived it until run time Time, ready to plan the ascent from
// there: the waypoints up to the one whose segment holds Time, that one ending at Time
// at the depth where the engine's own travel timing puts the diver then, as a plain leg
// (status 1, no stop), so that the engine, timing it as it timed the shown profile,
// reaches that depth at Time: with Settings' depth adjustment the engine travels the
// adjusted depths (AdjustedDepth) at the segment's rate, without it the straight line
// from the waypoint before. A diver who by the adjusted timing is still at the surface
// before a descent stays there until Time; one whose ascent has reached the surface by
// it gets the whole segment to the surface.
// False (Cut untouched) when no segment holds Time.
bool BailoutCut(const ClassProfile &Shown, const TemplateRec &Settings, float Time, ClassProfile &Cut);

// Run times of the bail-outs along a diver's part that ends at run time EndOfPart:
// Interval, 2 x Interval, ... while not past the end, each counted as a multiple so that
// every step moves however long the dive. Nothing when the part ends at 0 or Interval is
// not above 0.
std::vector<float> BailoutTimes(float EndOfPart, float Interval);

// Whether a case's table ends with the bail-out from the end of the diver's part: when
// the steps of Interval miss it, computed dive or not, so the last minutes of the
// bottom, where the most decompression is owed, have a row of their own.
bool NeedsFinalRow(const ClassProfile &Shown, float Interval);

// The rows of one case's table at Interval (the steps and the final row).
int64_t BailoutRowCount(const ClassProfile &Shown, float Interval);

// The most rows a case's table may hold for this dive on Settings: every row holds the
// dive up to its moment and its ascent, so a dive of many waypoints or a deep one at a
// fine stop spacing allows fewer, that a run ends in seconds and its tables fit in
// memory.
int64_t BailoutRowLimit(const ClassProfile &Shown, const TemplateRec &Settings);

// Nothing when a run at Interval stays within BailoutRowLimit, else the refusal in the
// diver's words, naming the shortest interval that fits.
std::optional<std::string> BailoutRowsProblem(const ClassProfile &Shown, const TemplateRec &Settings, float Interval);

// The waypoints a table holds, its first profile's too.
int64_t TableWaypoints(const std::vector<ClassProfile> &Table);

// The progress bar's maximum for one case: the rows times the waypoints walked per row
// (Length), at least 1 so the bar has a range.
int32_t BailoutProgressMaximum(int64_t Rows, int16_t Length);

// Told before every step of a case: the steps done so far. Answers false to stop.
using BailoutStep = std::function<bool(int32_t Done)>;

// One case's table: Table[0] a copy of the shown profile (not printed), then one planned
// profile per bail-out time of BailoutTimes, each the open-circuit ascent (Options with
// Bailout) of the cut there, with the case's settings, from Start, then the final row
// when NeedsFinalRow (the cut at the end of the diver's part). Step is asked before every row with the waypoint steps done (Length
// per row) and once more before the table is complete. Returns false when Step stopped
// it (Table then holds what was done). A row the engine refuses stops the case: its
// RuntimeError passes to the caller, its description naming the bail-out time; a fault
// of the program (IsDiveLimit, engine/RuntimeError.h) passes as it was raised.
// Warnings met are merged with MergePlanWarnings (engine/DivePlan.h: the worst of each kind).
bool ComputeBailoutCase(const ClassProfile &Shown, const TemplateRec &CaseSettings, const DiveStartState &Start,
                        const PlanOptions &Options, float Interval, const BailoutStep &Step,
                        std::vector<ClassProfile> &Table, std::vector<PlanWarning> &Warnings);
