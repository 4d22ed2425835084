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
#include <vector>

// The depth of the profile at run time `Time` inside waypoint `Index`'s segment, linear
// between the segment's ends: d0 + rate x (Time - start of the segment), d0 = depth -
// segment time x rate (rates are negative on ascents). A level segment is its depth.
float CreateNewWay(const ClassProfile &Profile, float Time, int16_t Index);

// The settings of one case: Source with deco-gas switch N (0-based) left out of
// GasChanges, every other switch kept in order; N past the end of the list keeps all.
// Without its only switch the list is empty: no switches.
void CopyTemplateWithoutGasChange(const TemplateRec &Source, TemplateRec &Destination, int16_t N);

// The index of the waypoint whose segment holds run time Time (run time of the one
// before < Time <= its own), 0 when none does.
int16_t SegmentAt(const ClassProfile &Profile, float Time);

// The dive as the diver has dived it until run time Time, ready to plan the ascent from
// there: the waypoints up to the one whose segment holds Time, that one ending at Time
// at its interpolated depth, as a plain leg (status 1, no stop). False (Cut untouched)
// when no segment holds Time.
bool BailoutCut(const ClassProfile &Shown, float Time, ClassProfile &Cut);

// Run times of the bail-outs along a diver's part that ends at run time EndOfPart:
// Interval, 2 x Interval, ... while not past the end (summed in single precision, as
// the table's headings are), then the end itself when the steps do not land on it, so
// the last minutes of the bottom, where a bail-out costs most, get their row too.
// Nothing when the part ends at 0. Interval must be above 0.
std::vector<float> BailoutTimes(float EndOfPart, float Interval);

// The progress bar's maximum for one case: the steps of the time loop times the
// waypoints walked per step (Length), at least 1 so the bar has a range.
int32_t BailoutProgressMaximum(float EndOfPart, float Interval, int16_t Length);

// Adds the warnings of one computation to those of a run, keeping the first of each
// kind: a run shows each limit once, however many rows cross it.
void AddRunWarnings(std::vector<PlanWarning> &Run, const std::vector<PlanWarning> &More);

// Told before every step of a case: the steps done so far. Answers false to stop.
using BailoutStep = std::function<bool(int32_t Done)>;

// One case's table: Table[0] a copy of the shown profile (not printed), then one planned
// profile per bail-out time of BailoutTimes, each the open-circuit ascent (Options with
// Bailout) of the cut there, with the case's settings, from Start. Step is asked before
// each of the Length waypoint steps of every time and once more before the table is
// complete. Returns false when Step stopped it (Table then holds what was done). An
// engine error (RuntimeError) passes to the caller. Warnings met are added with
// AddRunWarnings.
bool ComputeBailoutCase(const ClassProfile &Shown, const TemplateRec &CaseSettings, const DiveStartState &Start,
                        const PlanOptions &Options, float Interval, const BailoutStep &Step,
                        std::vector<ClassProfile> &Table, std::vector<PlanWarning> &Warnings);
