#include "engine/DiveModel.h"

#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DiveBounds.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/Units.h"

#include <cstdint>

namespace {

// The open dives by profile number; an element may be empty.
std::vector<std::shared_ptr<Dive>> gDives;

// The one walk along a series: from dive `number`, over open dives, to the link `step`
// gives. Each open dive met is visited; the result is the last number reached (which may
// name a dive that is not open). At most one step per record, so looping links end.
template <class Step, class Visit>
int16_t walkSeries(int16_t number, Step step, Visit visit)
{
    for (size_t steps = 0; steps < gSettings.size(); ++steps) {
        Dive *dive = FindDive(number);
        if (!dive)
            break;
        visit(number);
        const int16_t link = step(*dive);
        if (link == -1)
            break;
        number = link;
    }
    return number;
}

std::vector<float> legDepths(const ClassUseractions &log)
{
    std::vector<float> depths;
    for (int16_t i = 1; i <= log.GetLength(); ++i)
        if (log.getaction(i) == ActionUserWaypoint)
            depths.push_back(log.getDepth(i));
    return depths;
}

// The log of the dive of record `r` with its legs' depths in the units of `t`: as they
// are when the units stay; as they were before the record's last unit switch when `t`
// goes back and no leg depth changed since; otherwise converted at the settings
// dialog's factor for depths. A leg keeps its minutes, gas and action; deco markers
// keep their -1.
ClassUseractions legsInUnitsOf(const ClassUseractions &log, const SettingsRecord &r, const TemplateRec &t)
{
    if (t.Metric == r.Template.Metric)
        return log;
    const UnitSwitch *last = r.LastUnitSwitch.get();
    const bool back = last && last->MetricBefore == t.Metric && last->LegsAfter == legDepths(log);
    const double factor = LengthFactorInto(t.Metric);
    ClassUseractions legs = log;
    size_t k = 0;
    for (int16_t i = 1; i <= legs.GetLength(); ++i)
        if (legs.getaction(i) == ActionUserWaypoint)
            legs.setdepth(i, back ? last->LegsBefore[k++] : static_cast<float>(legs.getDepth(i) * factor));
    return legs;
}

} // namespace

SettingsRecord *FindRecord(int16_t number)
{
    if (number < 0 || static_cast<size_t>(number) >= gSettings.size())
        return nullptr;
    return &gSettings[static_cast<size_t>(number)];
}

SettingsRecord &RecordOf(int16_t number, const char *source)
{
    SettingsRecord *record = FindRecord(number);
    if (!record)
        throwSubscript(source);
    return *record;
}

Dive::Dive(int16_t number)
    : Number_(number)
{
}

SettingsRecord &Dive::Record() const
{
    return RecordOf(Number_, "Dive");
}

void Dive::SetLinks(int16_t previous, int16_t next)
{
    SetPrevProfile(previous);
    Next_ = next;
}

void Dive::SetNullWaypoint()
{
    const bool repetitive = PrevProfile() != -1;
    if (repetitive)
        CarryExposure(*this);
    const SettingsRecord &r = Record();
    InputProfile.SetPPO2(0, static_cast<float>(static_cast<double>(r.Template.EndPressure) *
                                               InputProfile.GetGasMixO2(0) / 100));
    if (repetitive) {
        InputProfile.setCNS(0, r.CNS);
        InputProfile.SetOTU(0, r.OTU);
    }
}

Dive *FindDive(int16_t number)
{
    return SharedDive(number).get();
}

std::string DiveMinutesProblemWith(int16_t number, const TemplateRec &t)
{
    const Dive *dive = FindDive(number);
    if (!dive || dive->UserEnteredWaypoints.GetLength() == 0)
        return {};
    const ClassUseractions legs = legsInUnitsOf(dive->UserEnteredWaypoints, dive->Record(), t);
    // In the other units a leg may lie beyond the deepest depth (3300 ft is 1006 m).
    for (const float depth : legDepths(legs))
        if (std::string problem = DiveBounds::DepthProblem(depth, t.Metric); !problem.empty())
            return problem;
    return DiveBounds::DiveMinutesProblem(LoggedDiveMinutes(legs, t));
}

std::string SeriesFileProblem(int16_t number)
{
    for (const int16_t n : SeriesFrom(FirstDiveOfSeries(number)))
        if (const std::string problem = DiveMinutesProblemWith(n, FindDive(n)->Record().Template); !problem.empty())
            return DiveName(n) + ":\r\n" + problem;
    return {};
}

std::string DiveName(int16_t number)
{
    const Dive *dive = FindDive(number);
    if (!dive)
        return {};
    const std::string &name = dive->Record().ProfileName;
    return dive->SurfProfileNumber > 1 ? name + GetLangString(3013) + std::to_string(dive->SurfProfileNumber) : name;
}

std::shared_ptr<Dive> SharedDive(int16_t number)
{
    if (number < 0 || static_cast<size_t>(number) >= gDives.size())
        return nullptr;
    return gDives[static_cast<size_t>(number)];
}

std::shared_ptr<Dive> OpenDive(int16_t number)
{
    if (number <= 0 || !FindRecord(number))
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
        throwOverflow("AllocDiveSlot");
    gSettings.emplace_back();
    return static_cast<int16_t>(n);
}

namespace {

int16_t previousOf(const Dive &dive) { return dive.PrevProfile(); }
int16_t nextOf(const Dive &dive) { return dive.NextProfile(); }

} // namespace

int16_t FirstDiveOfSeries(int16_t number)
{
    return walkSeries(number, previousOf, [](int16_t) {});
}

int16_t LastDiveOfSeries(int16_t number)
{
    return walkSeries(number, nextOf, [](int16_t) {});
}

std::vector<int16_t> SeriesFrom(int16_t number, bool backwards)
{
    std::vector<int16_t> dives;
    walkSeries(number, backwards ? previousOf : nextOf, [&dives](int16_t n) { dives.push_back(n); });
    return dives;
}

void UnlinkDive(int16_t number)
{
    Dive *dive = FindDive(number);
    if (!dive)
        return;
    const int16_t previous = dive->PrevProfile();
    const int16_t next = dive->NextProfile();
    if (Dive *before = FindDive(previous))
        before->SetNextProfile(next);
    if (SettingsRecord *after = FindRecord(next))
        after->PrevProfile = previous;
    dive->SetLinks(-1, -1);
}

bool HoldsComputedPlan(int16_t number)
{
    const Dive *dive = FindDive(number);
    return dive && dive->State == EditorComputed;
}

void RequirePlannedPrevious(int16_t number)
{
    const SettingsRecord *record = FindRecord(number);
    const int16_t previous = record ? record->PrevProfile : int16_t(-1);
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
    const SettingsRecord *before = FindRecord(dive.PrevProfile());
    if (!before)
        return;
    SettingsRecord &r = dive.Record();
    r.CNS = CNSAfterSurfaceInterval(before->CNS, r.SurfTime);
    r.OTU = before->OTU;
}

DiveEngineRun DecompressionRun(const PlanOptions &options)
{
    return [options](Dive &dive, bool loadOnly) {
        return RunDecompression(dive.InputProfile, dive.DecoProfile, loadOnly, false, dive.PrevProfile() != -1,
                                dive.Number(), options);
    };
}

std::vector<PlanWarning> ReplayDive(Dive &dive, const DiveEngineRun &run)
{
    std::vector<PlanWarning> warnings;
    dive.InputProfile.clear();
    dive.SetNullWaypoint();
    const ReplayResult r = ReplayUserActions(dive.UserEnteredWaypoints, dive.Record().Template, dive.InputProfile,
                                             dive.DecoProfile, dive.State, [&dive, &run, &warnings](bool loadOnly) {
                                                 MergePlanWarnings(warnings, run(dive, loadOnly));
                                             });
    dive.State = r.EditorState;
    // A leg the diver adds next is timed from the end of the last logged leg, also
    // after a file was opened or the dive computed.
    dive.LastRunTime = r.LastRunTime;
    return warnings;
}

std::vector<PlanWarning> ComputeAscent(Dive &dive, const DiveEngineRun &run)
{
    dive.SetChanged(true);
    dive.UserEnteredWaypoints.NewAction();
    dive.UserEnteredWaypoints.setdeco(dive.UserEnteredWaypoints.GetLength());
    dive.SavedUserProfile.Copy(dive.InputProfile);
    std::vector<PlanWarning> warnings = run(dive, false);
    dive.InputProfile.clear();
    dive.InputProfile.Copy(dive.DecoProfile);
    dive.DecoProfile.clear();
    dive.LastRunTime = dive.InputProfile.GetRunTime(dive.InputProfile.GetLength());
    dive.State = EditorComputed;
    return warnings;
}

DiveEndState EndStateOf(const SettingsRecord &record)
{
    return DiveEndState{record.HeCompartments, record.N2Compartments, record.OTU, record.CNS};
}

void SetEndState(SettingsRecord &record, const DiveEndState &end)
{
    record.HeCompartments = end.HeCompartments;
    record.N2Compartments = end.N2Compartments;
    record.OTU = end.OTU;
    record.CNS = end.CNS;
}

DiveSnapshot::DiveSnapshot(const Dive &dive)
    : Data(dive)
    , Changed(dive.Changed())
    , End(EndStateOf(dive.Record()))
{
}

void RestoreSnapshot(Dive &dive, const DiveSnapshot &snapshot)
{
    const int16_t next = dive.NextProfile();
    const int16_t position = dive.SurfProfileNumber;
    dive = snapshot.Data;
    dive.SetNextProfile(next);
    dive.SurfProfileNumber = position;
    dive.SetChanged(snapshot.Changed);
    SetEndState(dive.Record(), snapshot.End);
}

namespace {

// The state a dive showing `profile` as its legs is in.
void followShownLegs(Dive &dive)
{
    const int16_t len = dive.InputProfile.GetLength();
    dive.LastRunTime = len > 0 ? dive.InputProfile.GetRunTime(len) : 0;
    dive.State = len > 0 ? EditorUserLegs : EditorEmpty;
}

// A dive that shows nothing yet (just read from a file) and cannot be computed shows its
// legs as they were drawn, also those on a gas its list no longer holds.
void showLegsAsDrawn(Dive &dive)
{
    if (dive.InputProfile.GetLength() > 0 || dive.UserEnteredWaypoints.GetLength() == 0)
        return;
    try {
        DrawLoggedLegs(dive.UserEnteredWaypoints, dive.Record().Template, dive.InputProfile);
    } catch (const RuntimeError &) {
        // Rate tables no leg can be cut with: nothing can be drawn.
        dive.InputProfile.clear();
        return;
    }
    dive.SavedUserProfile = dive.InputProfile;
    followShownLegs(dive);
}

// Takes the computed ascent off (the last deco marker), or every computed ascent of the
// log, and replays the legs under the settings now in force; when not even they can be
// computed (a mix they breathe is gone) they are shown as drawn.
void takeOffComputedAscent(Dive &dive, bool everyMarker, const DiveEngineRun &run, PlanNotices &notices)
{
    dive.SetChanged(true);
    if (everyMarker)
        dive.UserEnteredWaypoints.RemoveDecoMarkers();
    else
        dive.UserEnteredWaypoints.DeleteLast(); // the deco marker
    const ClassProfile legsAsDrawn = dive.SavedUserProfile;
    dive.State = dive.UserEnteredWaypoints.GetLength() > 0 ? EditorUserLegs : EditorEmpty;
    try {
        notices.AddWarnings(ReplayDive(dive, run));
    } catch (const RuntimeError &) {
        dive.InputProfile.clear();
        dive.InputProfile.Copy(legsAsDrawn);
        dive.DecoProfile.clear();
        followShownLegs(dive);
    }
}

// A refusal told after the dives that follow it (their re-evaluation came within its own).
struct LaterWord {
    ChangedDive Change;
    std::string Refusal; // "" none
};

// Re-evaluates one dive; false when the dives after it are not to follow.
bool reEvaluateOne(Dive &dive, const DiveEngineRun &run, SeriesOutcome &out, std::vector<LaterWord> &later)
{
    const DiveSnapshot before(dive);
    try {
        out.Notices.AddWarnings(ReplayDive(dive, run));
        out.Changed.push_back({dive.Number(), DiveChange::Replayed});
        return true;
    } catch (const RuntimeError &e) {
        // Its warnings go with the plan that was refused.
        RestoreSnapshot(dive, before);
        if (e.number() == ErrPreviousNotPlanned) {
            // The dive before it holds no computed plan (never computed, cleared, or its
            // ascent taken off): its record's tissues are not what this dive starts from,
            // so no ascent of this dive may stay, wherever in the log it was computed.
            takeOffComputedAscent(dive, true, run, out.Notices);
            out.Notices.Notice = e.description() + "\r\n" + GetLangString(7041);
            later.push_back({{dive.Number(), DiveChange::AscentTakenOff}, std::string()});
            return true;
        }
        showLegsAsDrawn(dive);
        const int16_t n = dive.UserEnteredWaypoints.GetLength();
        if (n < 1 || dive.UserEnteredWaypoints.getaction(n) != ActionDecoMarker) {
            out.Notices.Refusals.push_back(e.description());
            out.Changed.push_back({dive.Number(), DiveChange::Refused});
            return false;
        }
        takeOffComputedAscent(dive, false, run, out.Notices);
        later.push_back({{dive.Number(), DiveChange::AscentTakenOff}, e.description() + "\r\n" + GetLangString(7000)});
        return true;
    }
}

} // namespace

void StoreSettings(int16_t number, const TemplateRec &t, std::vector<UnitSwitchText> texts)
{
    SettingsRecord &r = RecordOf(number, "StoreSettings");
    Dive *dive = number > 0 ? FindDive(number) : nullptr;
    if (t.Metric == r.Template.Metric) {
        r.Template = t;
        return;
    }
    auto change = std::make_shared<UnitSwitch>();
    change->MetricBefore = r.Template.Metric;
    change->Texts = std::move(texts);
    if (dive) {
        ClassUseractions legs = legsInUnitsOf(dive->UserEnteredWaypoints, r, t);
        change->LegsBefore = legDepths(dive->UserEnteredWaypoints);
        change->LegsAfter = legDepths(legs);
        dive->UserEnteredWaypoints = std::move(legs);
    }
    r.LastUnitSwitch = std::move(change);
    // The end state stays in the record's units, for a dive after it replayed from it
    // before this one is computed again.
    TensionsIntoUnits(r.N2Compartments, r.HeCompartments, r.Template.Metric, t.Metric);
    r.Template = t;
    if (dive) {
        // Until it is computed again (or when that is refused) the dive shows its legs
        // drawn in the new units, never the old numbers under the new unit, and holds no
        // computed plan: its record's end state is still in the old units.
        dive->InputProfile.clear();
        dive->DecoProfile.clear();
        dive->SavedUserProfile.clear();
        showLegsAsDrawn(*dive);
        followShownLegs(*dive);
    }
}

SeriesOutcome ReEvaluateSeries(int16_t number, const DiveEngineRun &run)
{
    SeriesOutcome out;
    std::vector<LaterWord> later;
    for (const int16_t n : SeriesFrom(number))
        if (!reEvaluateOne(*FindDive(n), run, out, later))
            break;
    for (auto word = later.rbegin(); word != later.rend(); ++word) {
        out.Changed.push_back(word->Change);
        if (!word->Refusal.empty())
            out.Notices.Refusals.push_back(word->Refusal);
    }
    return out;
}

std::shared_ptr<Dive> AppendSeriesDive(int16_t previous, const TemplateRec &settings, float surfTime,
                                       const ClassUseractions &log, const std::string &name,
                                       const std::string &dir)
{
    float carriedCNS = 0, carriedOTU = 0;
    int16_t position = 1;
    Dive *before = FindDive(previous);
    if (const SettingsRecord *p = FindRecord(previous); p && previous > 0) {
        carriedCNS = p->CNS;
        carriedOTU = p->OTU;
    }
    if (before)
        position = static_cast<int16_t>(before->SurfProfileNumber + 1);

    const int16_t slot = AllocDiveSlot();
    SettingsRecord &r = RecordOf(slot, "AppendSeriesDive");
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
    dive->SetLinks(previous, -1);
    dive->SurfProfileNumber = position;
    if (before)
        before->SetNextProfile(slot);
    // The whole log, the names of its legs' gases with it.
    dive->UserEnteredWaypoints = log;
    return dive;
}
