#pragma once
// The one plan call: a dive's settings, how the diver starts, the diver's own legs and
// the model options go in; the computed profile, the diver's state at its end and the
// limit warnings come out, as data. It reads no window, no active dive and no global of
// the algorithm menu, writes no settings record and opens no box, so the table and
// bail-out generators can run it on changed copies of a dive's settings as often as they
// like. RunDecompression (engine/DOLVmiscModule.h) is the adapter the dive windows call:
// it builds the start from the records, writes the end state back and returns the
// warnings for the command to show.

#include "engine/ClassProfile.h"
#include "engine/Compartments.h"
#include "engine/SettingsRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// The algorithm menu as options: ZH-L16C or ZH-L16B coefficients; the VPM ceiling alone,
// or the hybrid (the deeper of the VPM and ZH-L16 ceilings), or the ZH-L16 ceiling with
// gradient factors when neither is chosen. VPM wins when both are set.
struct PlanOptions {
    bool ModelC = true;
    bool VPM = false;
    bool Hybrid = false;
    // The whole ascent on open circuit (a rebreather failing at the end of the bottom).
    bool Bailout = false;
    // False replays the legs only (the compartments along them), without an ascent.
    bool PlanAscent = true;
};

// How the diver starts the dive.
struct DiveStartState {
    // False: saturated at the surface of the settings' start altitude (or loaded by the
    // climb to it). True: the previous dive's end tensions, then SurfaceInterval minutes
    // at the surface on air.
    bool AfterSurfaceInterval = false;
    Comp16 N2Compartments{};
    Comp16 HeCompartments{};
    float SurfaceInterval = 0; // minutes
    // Oxygen exposure carried in: CNS as a fraction of the limit, OTU.
    float CNS = 0;
    float OTU = 0;
};

// The diver at the end of the computed profile: what a following dive starts from.
struct DiveEndState {
    Comp16 HeCompartments{};
    Comp16 N2Compartments{};
    float OTU = 0;
    float CNS = 0;
};

// A limit the computed profile crosses, with its worst breach in the computation: the
// END above its limit, the ppO2 above (compared rounded to 2 decimals) or below its limit.
enum class PlanWarningKind { ENDAbove, PPO2Above, PPO2Below };

struct PlanWarning {
    PlanWarningKind Kind = PlanWarningKind::ENDAbove;
    float Value = 0; // as computed (the ppO2 above its limit is shown rounded)
    float Limit = 0;
    bool Metric = true;
    // The profile number of the open dive whose computation met it (ComputeDive); 0 for
    // a computation of no open dive (a table, a bail-out case).
    int16_t Dive = 0;
    // A stop's ppO2 above the deco maximum: a limit apart from the bottom's maximum even
    // when the two are equal.
    bool Deco = false;
};

// Whether the value is beyond its limit as the warning's kind compares it.
bool LimitCrossed(PlanWarningKind Kind, float Value, float Limit);
// Whether Value breaches a limit of the kind worse than Than does (the higher END or ppO2
// above, the lower ppO2 below).
inline bool WorseBreach(PlanWarningKind Kind, float Value, float Than)
{
    return Kind == PlanWarningKind::PPO2Below ? Value < Than : Value > Than;
}
// The warning's message and title in the user's language.
std::string PlanWarningText(const PlanWarning &Warning);
std::string PlanWarningTitle(const PlanWarning &Warning);

// The one merge of limit warnings: adds those of one computation to Into, keeping one
// per kind, dive, unit and limit with the worst value met (WorseBreach), in the order
// they were first met. Values are compared only against the same limit in the same
// unit: a dive's breach never hides another dive's, nor a stop's ppO2 (the deco limit,
// Deco) one met on the bottom. A command's, a table run's and a bail-out run's warnings
// are all merged with it.
void MergePlanWarnings(std::vector<PlanWarning> &Into, const std::vector<PlanWarning> &More);

// What a computation leaves besides its profile. A replay of the legs only plans no
// ascent and leaves End empty (zeros).
struct PlanOutcome {
    DiveEndState End;
    std::vector<PlanWarning> Warnings;
};

struct PlanResult {
    ClassProfile Profile;
    DiveEndState End;
    std::vector<PlanWarning> Warnings;
};

// Computes the dive. Settings the engine cannot run and a stop that never clears throw
// (errors 1001 and 1002) before any result is returned.
PlanResult PlanDive(const TemplateRec &Settings, const DiveStartState &Start, const ClassProfile &Legs,
                    const PlanOptions &Options);
// The same into a profile the caller holds: with PlanAscent the caller clears it first;
// a replay of the legs only appends to it.
PlanOutcome PlanDive(const TemplateRec &Settings, const DiveStartState &Start, const ClassProfile &Legs,
                     const PlanOptions &Options, ClassProfile &Result);
