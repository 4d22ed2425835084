#include "engine/DiveModel.h"

#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"

#include <cstdint>

namespace {

// The open dives by profile number; an element may be empty.
std::vector<std::shared_ptr<Dive>> gDives;

bool isRecord(int16_t number)
{
    return number >= 0 && static_cast<size_t>(number) < gSettings.size();
}

} // namespace

Dive::Dive(int16_t number)
    : Number_(number)
{
}

SettingsRecord &Dive::Record() const
{
    if (!isRecord(Number_))
        throwSubscript("Dive");
    return gSettings[static_cast<size_t>(Number_)];
}

void Dive::SetNullWaypoint()
{
    if (PrevProfile != -1)
        CarryExposure(*this);
    const SettingsRecord &r = Record();
    InputProfile.SetPPO2(0, static_cast<float>(static_cast<double>(r.Template.EndPressure) *
                                               InputProfile.GetGasMixO2(0) / 100));
    if (PrevProfile != -1) {
        InputProfile.setCNS(0, r.CNS);
        InputProfile.SetOTU(0, r.OTU);
    }
}

Dive *FindDive(int16_t number)
{
    return SharedDive(number).get();
}

std::shared_ptr<Dive> SharedDive(int16_t number)
{
    if (number < 0 || static_cast<size_t>(number) >= gDives.size())
        return nullptr;
    return gDives[static_cast<size_t>(number)];
}

std::shared_ptr<Dive> OpenDive(int16_t number)
{
    if (number <= 0 || !isRecord(number))
        throwSubscript("OpenDive");
    if (gDives.size() <= static_cast<size_t>(number))
        gDives.resize(static_cast<size_t>(number) + 1);
    auto dive = std::make_shared<Dive>(number);
    gDives[static_cast<size_t>(number)] = dive;
    return dive;
}

void CloseDive(int16_t number)
{
    if (number >= 0 && static_cast<size_t>(number) < gDives.size())
        gDives[static_cast<size_t>(number)].reset();
}

void CloseAllDives()
{
    gDives.clear();
}

int16_t AllocDiveSlot()
{
    const size_t n = gSettings.size();
    for (size_t i = 1; i < n; ++i) {
        if (gSettings[i].SlotFree) {
            // A fresh record: the new dive must not inherit the closed dive's folder,
            // file name, surface interval or tissues, nor save over its file.
            gSettings[i] = SettingsRecord{};
            gSettings[i].SlotFree = false;
            return static_cast<int16_t>(i);
        }
    }
    if (n > static_cast<size_t>(INT16_MAX))
        throwOverflow("MainModule.AllocProfileSlot");
    gSettings.emplace_back();
    return static_cast<int16_t>(n);
}

int16_t PreviousDiveOf(int16_t number)
{
    if (const Dive *dive = FindDive(number))
        return dive->PrevProfile;
    return isRecord(number) ? gSettings[static_cast<size_t>(number)].PrevProfile : int16_t(-1);
}

int16_t FirstDiveOfSeries(int16_t number)
{
    int16_t first = number;
    for (const Dive *d = FindDive(number); d && d->PrevProfile != -1; d = FindDive(first))
        first = d->PrevProfile;
    return first;
}

int16_t LastDiveOfSeries(int16_t number)
{
    int16_t last = number;
    for (const Dive *d = FindDive(number); d && d->NextProfile != -1; d = FindDive(last))
        last = d->NextProfile;
    return last;
}

bool HoldsComputedPlan(int16_t number)
{
    const Dive *dive = FindDive(number);
    return dive && dive->State == EditorComputed;
}

void RequirePlannedPrevious(int16_t number)
{
    const int16_t previous = PreviousDiveOf(number);
    if (previous != -1 && !HoldsComputedPlan(previous))
        throw RuntimeError(ErrPreviousNotPlanned, "RunDecompression", GetLangString(7040));
}

// A repetitive dive starts with the oxygen exposure the dive before it left: its CNS,
// recovering with a half-time of 90 minutes over the surface interval, and its OTU
// unchanged. The dive's record holds these only until its own computation overwrites
// them with its end-of-dive totals, so they are taken again before every replay; a dive
// re-evaluated after a change before it would otherwise start from its own old totals
// and count them twice.
void CarryExposure(Dive &dive)
{
    if (!isRecord(dive.PrevProfile))
        return;
    const SettingsRecord &before = gSettings[static_cast<size_t>(dive.PrevProfile)];
    SettingsRecord &r = dive.Record();
    r.CNS = CNSAfterSurfaceInterval(before.CNS, r.SurfTime);
    r.OTU = before.OTU;
}

DiveEngineRun ComputeDiveStep(const PlanOptions &options, std::vector<PlanWarning> *warnings)
{
    return [options, warnings](Dive &dive, bool loadOnly) {
        const std::vector<PlanWarning> w = ComputeDive(dive.InputProfile, dive.DecoProfile, loadOnly,
                                                       dive.PrevProfile != -1, dive.Number(), options);
        if (warnings)
            warnings->insert(warnings->end(), w.begin(), w.end());
    };
}

void ReplayDive(Dive &dive, const DiveEngineRun &run)
{
    dive.InputProfile.clear();
    dive.SetNullWaypoint();
    const ReplayResult r = ReplayUserActions(dive.UserEnteredWaypoints, dive.Record().Template, dive.InputProfile,
                                             dive.DecoProfile, dive.State,
                                             [&dive, &run](bool loadOnly) { run(dive, loadOnly); });
    dive.State = r.EditorState;
    // A leg the diver adds next is timed from the end of the last logged leg, also
    // after a file was opened or the dive computed.
    dive.LastRunTime = r.LastRunTime;
}

void ComputeAscent(Dive &dive, const DiveEngineRun &run)
{
    dive.SetChanged(true);
    dive.UserEnteredWaypoints.NewAction();
    dive.UserEnteredWaypoints.setdeco(dive.UserEnteredWaypoints.GetLength());
    dive.SavedUserProfile.Copy(dive.InputProfile);
    run(dive, false);
    dive.InputProfile.clear();
    dive.InputProfile.Copy(dive.DecoProfile);
    dive.DecoProfile.clear();
    dive.LastRunTime = dive.InputProfile.GetRunTime(dive.InputProfile.GetLength());
    dive.State = EditorComputed;
}

std::shared_ptr<Dive> AppendSeriesDive(int16_t previous, const TemplateRec &settings, float surfTime,
                                       const ClassUseractions &log, const std::string &name,
                                       const std::string &dir)
{
    float carriedCNS = 0, carriedOTU = 0;
    int16_t position = 1;
    Dive *before = FindDive(previous);
    if (isRecord(previous) && previous > 0) {
        carriedCNS = gSettings[static_cast<size_t>(previous)].CNS;
        carriedOTU = gSettings[static_cast<size_t>(previous)].OTU;
    }
    if (before)
        position = static_cast<int16_t>(before->SurfProfileNumber + 1);

    const int16_t slot = AllocDiveSlot();
    SettingsRecord &r = gSettings[static_cast<size_t>(slot)];
    r.ProfileChanged = false;
    r.OTU = carriedOTU;
    r.Template = settings;
    r.TemplateName = name;
    r.ProfileDir = dir;
    r.ProfileName = name;
    r.PrevProfile = previous;
    r.SurfTime = surfTime;
    r.CNS = CNSAfterSurfaceInterval(carriedCNS, surfTime);

    std::shared_ptr<Dive> dive = OpenDive(slot);
    dive->PrevProfile = previous;
    dive->NextProfile = -1;
    dive->SurfProfileNumber = position;
    if (before)
        before->NextProfile = slot;
    // The whole log, the names of its legs' gases with it.
    dive->UserEnteredWaypoints = log;
    return dive;
}
