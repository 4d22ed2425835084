#pragma once
// The open dives, apart from their windows. A dive is its record in gSettings (the
// settings, names, surface interval and end-of-dive state: gSettings stays the store of
// records) and what the diver built on it: the log of what was entered, the profile it
// replays into, the links to the dives before and after it in its series and its
// position there, where the next leg starts and how far the dive is computed. The model
// owns looking a record up, walking a series and the series rules (what a change does to
// a dive and the dives after it); the profile editor is a view over one dive, and the
// settings dialogs, print, reports and the blending calculator reach dives here. The
// replay runs with the engine run the dive windows use (DecompressionRun); the tests run
// it without a window. Profile numbers index both gSettings and this table; 0 is the
// default template and never a dive.

#include "engine/ClassProfile.h"
#include "engine/ClassUseractions.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DivePlan.h"
#include "engine/ProfileReplay.h"
#include "engine/SettingsRecord.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Dive {
public:
    explicit Dive(int16_t number);

    // The dive's profile number: the index of its record in gSettings.
    int16_t Number() const { return Number_; }
    // gSettings(Number): error 9 when the record is gone.
    SettingsRecord &Record() const;
    // The links of its series, -1 for none. The previous dive is its record's
    // PrevProfile (the one store of that link, also for a dive that is not open); the
    // next dive is the dive model's own.
    int16_t PrevProfile() const { return Record().PrevProfile; }
    int16_t NextProfile() const { return Next_; }
    void SetLinks(int16_t previous, int16_t next);
    void SetPrevProfile(int16_t previous) { Record().PrevProfile = previous; }
    void SetNextProfile(int16_t next) { Next_ = next; }
    // The dive's settings differ from what its series file holds.
    bool Changed() const { return Record().ProfileChanged; }
    void SetChanged(bool changed) { Record().ProfileChanged = changed; }

    ClassUseractions UserEnteredWaypoints; // the diver's log
    ClassProfile InputProfile;             // the shown profile: the legs, or the computed dive
    ClassProfile DecoProfile;              // the engine's output while a replay runs
    ClassProfile SavedUserProfile;         // the legs as they were before the ascent was computed
    int16_t SurfProfileNumber = 0;         // position in the series, 1 = first
    float LastRunTime = 0;                 // a leg added next is timed from here
    int16_t State = EditorEmpty;           // EditorStates

    // Refreshes the start point of the shown profile: its ppO2 at the surface and, for a
    // repetitive dive, the CNS and OTU carried in from the dive before it (taken again
    // into the record, see CarryExposure).
    void SetNullWaypoint();

private:
    int16_t Number_;
    int16_t Next_ = -1;
};

// The record of profile number `number` (0 the default template), null when gSettings
// holds none: the one bounds check of a record.
SettingsRecord *FindRecord(int16_t number);
// The same record; error 9 from `source` when there is none.
SettingsRecord &RecordOf(int16_t number, const char *source);

// The dive open under profile number `number`, null when none is.
Dive *FindDive(int16_t number);
std::shared_ptr<Dive> SharedDive(int16_t number);
// Opens dive `number` on its record (which must exist): a new, empty dive that replaces
// any closed one of that number.
std::shared_ptr<Dive> OpenDive(int16_t number);
// Takes the dive out of the table (its window has closed). Holders of it keep it.
void CloseDive(int16_t number);
// Every dive out (a fresh start).
void CloseAllDives();

// The series reader refuses a dive whose legs last beyond a week, travel included: the
// text of that bound for open dive `number` timed with the settings `t` that are about
// to be stored (rates and depth adjustment change the travel), so a dialog stores none a
// saved series could not be opened with; with settings in the other units, its legs
// converted into them (StoreSettings), refused also beyond the deepest depth there.
// Empty when within, or no such dive with legs.
std::string DiveMinutesProblemWith(int16_t number, const TemplateRec &t);

// Stores settings `t` into record `number` (a dive, or the default template 0), once a
// window's OK has succeeded or a template was loaded. Settings in the other units take
// an open dive's logged legs with them (their depths; minutes and gases stay), so the
// dive stays the same dive; it shows them drawn until it is computed again, and the
// record's end-of-dive tensions go into the new units with it. A change back with nothing
// changed since gives back the values from before (UnitSwitch, engine/SettingsRecord.h):
// the legs' depths, and the dialog's `texts` it converted and stores unedited.
// DiveMinutesProblemWith checks the legs as they will be.
void StoreSettings(int16_t number, const TemplateRec &t, std::vector<UnitSwitchText> texts = {});

// Why the series reader would refuse the file of dive `number`'s series as its dives are
// now (a dive whose legs last beyond a week, travel included): the first such dive's name
// and the reader's text. Empty when every dive would be read back, so a save may go on.
std::string SeriesFileProblem(int16_t number);

// The dive's name as its window shows it: its record's profile name and, for a later
// dive of its series, text 3013 and its position. "" when no dive is open under `number`.
std::string DiveName(int16_t number);

// The lowest free record slot (1 or more), growing gSettings when none is free. A slot
// handed out again starts as a fresh record: a new dive inherits nothing of a closed one.
int16_t AllocDiveSlot();

// The first and last dive of `number`'s series, following the links of open dives
// (`number` itself when it is not open).
int16_t FirstDiveOfSeries(int16_t number);
int16_t LastDiveOfSeries(int16_t number);
// The open dives from `number` to the last of its series, or back to its first: the one
// walk along the links. Links that loop or point at themselves end it (at most one step
// per record), so a broken series never hangs the program.
std::vector<int16_t> SeriesFrom(int16_t number, bool backwards = false);
// Takes dive `number` out of its series: the dives before and after it become each
// other's neighbours, and its own links are cleared.
void UnlinkDive(int16_t number);

// Whether dive `number` holds a computed plan: it is open and shows its computed ascent
// as the last thing of its log. Only then is its record's end state (tissues, CNS, OTU)
// the end of what it shows.
bool HoldsComputedPlan(int16_t number);
// A dive of a series is planned only from the end state of a dive before it that holds a
// computed plan; a first dive always may be. Otherwise error ErrPreviousNotPlanned
// (text 7040): the previous record's tissues would belong to another computation (an
// earlier one, or none at all).
void RequirePlannedPrevious(int16_t number);

// A repetitive dive's CNS and OTU in its record: what the dive before it left, the CNS
// recovering over the surface interval. Nothing for a first dive.
void CarryExposure(Dive &dive);

// Runs the engine on the dive's shown profile into its DecoProfile: loadOnly replays the
// legs, otherwise the ascent is planned. Returns the limit warnings.
using DiveEngineRun = std::function<std::vector<PlanWarning>(Dive &dive, bool loadOnly)>;

// The engine run the windows pass: RunDecompression on the dive's own record (a
// repetitive start when it has a previous dive) with the algorithm options given.
DiveEngineRun DecompressionRun(const PlanOptions &options);

// Rebuilds the shown profile from the log with the dive's current settings: the start
// point, then every logged leg cut at the rate bands and replayed, every deco marker
// computed. State and LastRunTime follow. Errors as ReplayUserActions. Returns the
// warnings of its computations, merged (MergePlanWarnings).
std::vector<PlanWarning> ReplayDive(Dive &dive, const DiveEngineRun &run);
// Computes the ascent after the last leg, as the Ascent command does: logs the deco
// marker, keeps the legs in SavedUserProfile, and shows the computed dive.
std::vector<PlanWarning> ComputeAscent(Dive &dive, const DiveEngineRun &run);

// The end-of-dive state a record holds (tissues, CNS, OTU), and writing it.
DiveEndState EndStateOf(const SettingsRecord &record);
void SetEndState(SettingsRecord &record, const DiveEndState &end);

// What a command may change of a dive, so a refused command can put it back whole: the
// dive's log, profiles, state and next-leg time, its changed flag and its record's end
// state. Its links, position and settings are not a command's to change.
struct DiveSnapshot {
    explicit DiveSnapshot(const Dive &dive);
    Dive Data;
    bool Changed = false;
    DiveEndState End;
};
void RestoreSnapshot(Dive &dive, const DiveSnapshot &snapshot);

// ---- The rules of a series.
// A dive is re-evaluated (computed again from its log) when something it is computed from
// changed: its settings, the model, the dive before it, or it was read from a file; the
// dives after it follow, each from the one before. When a dive that showed a computed
// ascent cannot be computed again, the old plan must not stay as if it were the plan of
// the settings shown: its ascent is taken off (the legs stay, replayed under the new
// settings when they can be, else as they were drawn), it is marked changed and the
// diver is told why (text 7000). A dive whose previous dive holds no computed plan loses
// every computed ascent (text 7040, 7041). Any other refusal puts the dive back as it
// was, shows the legs as drawn if it showed nothing, and ends the re-evaluation there.
enum class DiveChange {
    Replayed,       // computed again under what changed
    AscentTakenOff, // its computed ascent went; the diver is told
    Refused,        // put back as it was; the dives after it were not re-evaluated
};
struct ChangedDive {
    int16_t Number = 0;
    DiveChange Change = DiveChange::Replayed;
};
struct SeriesOutcome {
    // The dives the re-evaluation touched, in the order their windows show them (a dive
    // that lost its ascent after the dives after it, whose replay came within its own).
    std::vector<ChangedDive> Changed;
    PlanNotices Notices;
};
// Re-evaluates dive `number` and every dive after it.
SeriesOutcome ReEvaluateSeries(int16_t number, const DiveEngineRun &run);

// Appends a dive to a series being opened from a file, after dive `previous` (-1 for
// the first): a record with the settings, the names, the surface interval and the CNS
// and OTU the dive before it left, and an open dive with the log, linked to its
// predecessor. The dive is not replayed yet.
std::shared_ptr<Dive> AppendSeriesDive(int16_t previous, const TemplateRec &settings, float surfTime,
                                       const ClassUseractions &log, const std::string &name,
                                       const std::string &dir);
