#pragma once
// Small services of the engine that the windows call: the one entry point that computes
// a dive, and the limit warnings of its result waypoints.

#include "engine/ClassProfile.h"
#include "engine/DivePlan.h"
#include "engine/SettingsRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// Index of the first gas of the template's list named exactly `Name` (case-sensitive);
// 0 (Air) when none is, so a waypoint on an unknown gas is simulated on Air.
int16_t FindGasIndex(const std::string &Name, const TemplateRec &Template);

// End-of-dive tensions (elements 1 to 16) taken from msw into fsw or back, as pressures;
// unchanged when both units are the same.
void TensionsIntoUnits(Comp16 &N2, Comp16 &He, bool FromMetric, bool ToMetric);

// How dive `ProfileNr` starts, from the records: a Repetitive dive from the end state of
// its previous dive (its record's PrevProfile; the tensions taken into the dive's own
// msw or fsw when the two dives differ in units) across its own SurfTime, else at
// the surface of its settings; the CNS and OTU it carries in are those of the start
// point of Source. No previous dive is error 9. A start for a Planned ascent (the
// computed ascent, a bail-out) of a Repetitive dive is refused while the dive before it
// holds no computed plan (RequirePlannedPrevious, engine/DiveModel.h); the legs alone
// may be replayed from its record.
DiveStartState StartStateOf(int16_t ProfileNr, bool Repetitive, const ClassProfile &Source, bool Planned = true);

// Computes dive `ProfileNr` on its own record with the plan call and writes the end
// state of a planned dive into the record; shows nothing. LoadOnly replays Source into
// Result without an ascent (Result is appended to); otherwise Result is cleared and
// receives the dive with its planned ascent (on open circuit throughout the ascent when
// Options.Bailout). A RuntimeError of the engine (settings it cannot run, a stop that
// never clears) reaches the caller; a planned Result is then left empty and the record
// untouched. Returns the warnings.
std::vector<PlanWarning> ComputeDive(const ClassProfile &Source, ClassProfile &Result, bool LoadOnly,
                                     bool Repetitive, int16_t ProfileNr, const PlanOptions &Options);

// The windows' computation of dive `ProfileNr`: ComputeDive between the status texts
// "computing" and "done". Returns its warnings for the command to show once it has run
// (PlanNotices). Bailout replaces Options.Bailout.
std::vector<PlanWarning> RunDecompression(const ClassProfile &Source, ClassProfile &Result, bool LoadOnly,
                                          bool Bailout, bool Repetitive, int16_t ProfileNr,
                                          const PlanOptions &Options);

// One message box per kind, in the order the kinds were first met, listing each warning
// of that kind; when they come from several dives each is headed by its dive's name
// (DiveName, engine/DiveModel.h).
void ShowPlanWarnings(const std::vector<PlanWarning> &Warnings);

// What the computations of one command of the diver leave for him (add, edit, compute,
// clear, open, a change of settings or model: the replay of the legs, the ascent, the
// dives after it in the series). Computations return them as values; the command merges
// them and shows them once, after it has run (ShowPlanNotices).
struct PlanNotices {
    // Dives of the series that could not be computed again: the engine's reason, each
    // its own box, in the order the diver is told.
    std::vector<std::string> Refusals;
    // The limit warnings: the worst value of each kind per dive and limit
    // (MergePlanWarnings), every dive's own.
    std::vector<PlanWarning> Warnings;
    // Dives that lost their computed ascents to an uncomputed dive before them ("" none).
    std::string Notice;

    void AddWarnings(const std::vector<PlanWarning> &More);
    // Adds what a later part of the same command left; its notice, if any, is kept.
    void Merge(const PlanNotices &Later);
};

// The refusals, then the warnings, then the notice: one box each.
void ShowPlanNotices(const PlanNotices &Notices);

// The last waypoint flagged as the end of the diver's own part; 0 when none is.
int16_t FindEndUserProfile(const ClassProfile &Profile);

// --- Table dives (engine/DOLVmiscModule_table.cpp) ---------------------------------------
// The table generator builds its profiles directly from these two, with the gas list and
// rate tables of the dive's settings it is given.

// Refuses (error 1001 from Source, in the language's words) a descent or ascent rate
// table that travel cannot be cut with: no rows, a rate not above 0 (or not finite), or a
// band depth above the row before it. Table dives and the editor's replay both check
// their tables with it.
void CheckRateTable(const std::vector<RateRecord> &Rows, bool Descent, const char *Source);

// Appends one piece of a leg as a waypoint: Depth, segment Time, Rate, run time
// RunTime + Time, Status, the mix and its gas (name and percentages from Gases(MixNr) of
// the template; an unknown MixNr is error 9). The table dives and the editor's drawn
// legs both build their pieces with it.
void AppendLegPiece(ClassProfile &Profile, const TemplateRec &Template, float Depth, float Time,
                    float Rate, float RunTime, int16_t Status, int16_t MixNr);

// Appends one waypoint: Depth, segment Time, Rate, run time RunTime + Time, the mix and
// its gas (name and percentages from the dive's gas list; an unknown MixNr is error 9),
// and Status.
void AddTableWaypoint(ClassProfile &Profile, const TemplateRec &Template, float Depth, float Time, float Rate,
                      float RunTime, int16_t Status, int16_t MixNr);

// Appends one leg of a table dive, from StartDepth at StartTime to EndDepth at EndTime:
// the travel at the dive's descent or ascent rates, one waypoint per rate band crossed
// (status 2 descending or 3 ascending at each band depth, 1 for the last piece), then a
// level waypoint (status 1) up to EndTime. Travel that needs longer than EndTime moves
// EndTime to the arrival. A level leg is a single waypoint. A rate table `CheckRateTable`
// refuses, or whose first band is deeper than the leg's shallower end, is refused
// (error 1001) before anything is appended. Extra takes no part.
void AddTableTravel(ClassProfile &Profile, const TemplateRec &Template, float StartTime, float StartDepth,
                    float &EndTime, float EndDepth, int16_t MixNr, int16_t Extra);
