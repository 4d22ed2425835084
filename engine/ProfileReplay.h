#pragma once
// Rebuilding a dive from the diver's log: each logged leg is cut into travel pieces at
// the band depths of the dive's descent or ascent rate table (CutLegAtBands,
// engine/LegBands.h), followed by a level piece for the rest of the leg's time; each
// deco marker asks for the full computation. The dive model's ReplayDive
// (engine/DiveModel.h) runs it on a dive's own profiles, with or without its window.

#include "engine/ClassProfile.h"
#include "engine/ClassUseractions.h"
#include "engine/SettingsRecord.h"

#include <cstdint>
#include <functional>

// Editor states: nothing drawn, drawn legs only, decompression computed.
enum EditorStates : int16_t {
    EditorEmpty = 0,
    EditorUserLegs = 1,
    EditorComputed = 2,
};

// Appends one piece as a waypoint: RT is the run time at the start of the piece, so the
// waypoint's run time is RT + SegmentTime; the gas is Gases(Mixnumber) of the template
// (a gas not in the list is error 9).
void SaveUserProfile(ClassProfile &profile, const TemplateRec &tpl, float Depth,
                     float SegmentTime, float Rate, float RT, int16_t Status,
                     int16_t Mixnumber);

// Appends the pieces of one leg from depth Y1 at time X1 to depth Y2, logged to end at
// time X2. On return X2 is the leg's effective end (raised when the travel takes longer
// than the diver allowed) and Y2 the depth reached (an ascent stops at the shallowest
// band of the ascent table). Returns the run time the pieces reach: X2, except for an
// ascent to the shallowest band, which adds no stay there (a dive may end with it).
float GetSegmentedProfile(ClassProfile &profile, const TemplateRec &tpl, float X1, float Y1,
                          float &X2, float &Y2, int16_t U);

// The stay at the end of a leg that its pieces left out (a surfacing before the logged
// end): when a later leg follows, the stay is drawn first, at the depth reached and on
// the leg's gas, so the later legs keep the times the diver logged.
struct SurfaceStay {
    float from = 0; // where the pieces end
    float depth = 0;
    int16_t mix = 0;
    // Appends the stay up to the start of the next leg (nothing when none is left).
    void Begin(ClassProfile &profile, const TemplateRec &tpl, float legStart);
};

// Refuses (error 1001, with the language's text) rate tables the segmentation cannot
// walk: an empty table, a rate that is not above 0 or outside the dive bounds
// (engine/DiveBounds.h), band depths out of order.
void CheckRateTables(const TemplateRec &tpl);

// Logs a leg at the end of the log, breathing gas `mix` of the dive's list, and keeps
// that gas's name with it.
void LogUserLeg(ClassUseractions &log, const TemplateRec &tpl, float depth, float time, int16_t mix);

// Where the gas of logged leg `nr` stands in `gases` now: found by its name (its own
// number when the gas there still has that name, else the first gas of that name), by
// its number when it has no name; -1 when the list no longer holds it.
int16_t LoggedGasIndex(const ClassUseractions &log, int16_t nr, const std::vector<GasRecord> &gases);

// The logged legs as drawn, without any computation: the pieces of every leg cut at the
// rate bands (deco markers are passed over, the next leg going on from the last one).
// A leg whose gas the list no longer holds gets mix number -1 and the gas's logged name
// (if any) with no fractions, so no computation ever takes it for a gas of the list.
// For a dive that cannot be computed; rate tables CheckRateTables refuses are refused.
void DrawLoggedLegs(const ClassUseractions &log, const TemplateRec &tpl, ClassProfile &input);

// Runs the engine on the input profile into the deco profile: loadOnly replays the
// compartments along the legs, otherwise the ascent is planned with its stops.
using EngineRun = std::function<void(bool loadOnly)>;

// How long the logged legs last as the engine times them, travel included: every leg
// travels to its depth at the rate tables' rates (on adjusted depths when the settings
// ask for depth adjustment) and stays there for what is left of its logged minutes; a
// leg whose travel takes longer ends when the travel ends. A leg after a computed ascent
// starts at the surface; the ascents themselves are not counted. NextDepth/NextMinutes,
// when NextMinutes is not negative, are one leg more (the one being entered).
double LoggedDiveMinutes(const ClassUseractions &log, const TemplateRec &tpl, float NextDepth = 0,
                         float NextMinutes = -1);

struct ReplayResult {
    int16_t EditorState = EditorEmpty;
    // End of the last logged leg (or of the computed ascent): a leg added next is timed
    // from here.
    float LastRunTime = 0;
};

// Replays entries 1.. of the log into `input` (which holds only its start point on
// entry), using `deco` as the engine's output. `state` is the editor's state before the
// replay; an empty log leaves it as it is. Each leg breathes its own gas, found again by
// name (LoggedGasIndex) in the list as it is now; the entries take the gases' current
// numbers. Settings the legs cannot be cut with, and a logged gas missing from the gas
// list (text 2423), are refused (error 1001) before anything runs or changes.
ReplayResult ReplayUserActions(ClassUseractions &log, const TemplateRec &tpl,
                               ClassProfile &input, ClassProfile &deco, int16_t state,
                               const EngineRun &runEngine);
