#include "engine/DOLVmiscModule.h"

#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TraceFile.h"
#include "engine/Units.h"
#include "engine/VBConversions.h"

#include <algorithm>
#include <utility>

int16_t FindGasIndex(const std::string &Name, const TemplateRec &Template)
{
    for (size_t i = 0; i < Template.Gases.size(); ++i)
        if (Template.Gases[i].Name == Name)
            return static_cast<int16_t>(i);
    return 0;
}

// A tension is a pressure, and the engine counts a bar as 10 msw and an atm (1.01325 bar)
// as 33 fsw, so one msw of tension is 33 / 10.1325 = kFswPerMswOfPressure fsw: the factor
// of the a coefficients and the surface saturation, not the 3.2808 ft of a metre of depth.
void TensionsIntoUnits(Comp16 &N2, Comp16 &He, bool FromMetric, bool ToMetric)
{
    if (FromMetric == ToMetric)
        return;
    const double factor = ToMetric ? 1 / kFswPerMswOfPressure : kFswPerMswOfPressure;
    for (Comp16 *tensions : {&N2, &He})
        for (float &p : *tensions)
            p = static_cast<float>(p * factor);
}

DiveStartState StartStateOf(int16_t ProfileNr, bool Repetitive, const ClassProfile &Source, bool Planned)
{
    if (Repetitive && Planned)
        RequirePlannedPrevious(ProfileNr);
    DiveStartState start;
    start.CNS = Source.getCNS(0);
    start.OTU = Source.getOTU(0);
    if (Repetitive) {
        const SettingsRecord &own = RecordOf(ProfileNr, "RunDecompression");
        const SettingsRecord &previous = RecordOf(own.PrevProfile, "RunDecompression");
        start.AfterSurfaceInterval = true;
        start.N2Compartments = previous.N2Compartments;
        start.HeCompartments = previous.HeCompartments;
        // A series may change units from dive to dive; the record's tensions are in its
        // own units (StoreSettings converts them with its settings).
        TensionsIntoUnits(start.N2Compartments, start.HeCompartments, previous.Template.Metric,
                          own.Template.Metric);
        start.SurfaceInterval = own.SurfTime;
    }
    return start;
}

std::vector<PlanWarning> ComputeDive(const ClassProfile &Source, ClassProfile &Result, bool LoadOnly,
                                     bool Repetitive, int16_t ProfileNr, const PlanOptions &Options)
{
    const DiveStartState start = StartStateOf(ProfileNr, Repetitive, Source, !LoadOnly);
    PlanOptions options = Options;
    options.PlanAscent = !LoadOnly;
    SettingsRecord &record = RecordOf(ProfileNr, "RunDecompression");
    const TemplateRec &settings = record.Template;
    // Each warning names its dive, so no dive's warning is merged into another's.
    const auto ofThisDive = [ProfileNr](std::vector<PlanWarning> warnings) {
        for (PlanWarning &w : warnings)
            w.Dive = ProfileNr;
        return warnings;
    };
    if (LoadOnly)
        return ofThisDive(PlanDive(settings, start, Source, options, Result).Warnings);
    Result.clear();
    PlanOutcome outcome;
    try {
        outcome = PlanDive(settings, start, Source, options, Result);
    } catch (...) {
        // Half a plan must not be shown as a plan.
        Result.clear();
        throw;
    }
    SetEndState(record, outcome.End);
    return ofThisDive(std::move(outcome.Warnings));
}

std::vector<PlanWarning> RunDecompression(const ClassProfile &Source, ClassProfile &Result, bool LoadOnly,
                                          bool Bailout, bool Repetitive, int16_t ProfileNr,
                                          const PlanOptions &Options)
{
    Host().SetStatusText(GetLangString(5006));
    PlanOptions options = Options;
    options.Bailout = Bailout;
    std::vector<PlanWarning> warnings = ComputeDive(Source, Result, LoadOnly, Repetitive, ProfileNr, options);
    const std::string notice = TraceFileNotice();
    Host().SetStatusText(notice.empty() ? GetLangString(5005) : GetLangString(5005) + "  " + notice);
    return warnings;
}

void ShowPlanWarnings(const std::vector<PlanWarning> &Warnings)
{
    std::vector<bool> told(Warnings.size(), false);
    for (size_t i = 0; i < Warnings.size(); ++i) {
        if (told[i])
            continue;
        std::vector<const PlanWarning *> kind;
        for (size_t j = i; j < Warnings.size(); ++j)
            if (!told[j] && Warnings[j].Kind == Warnings[i].Kind) {
                kind.push_back(&Warnings[j]);
                told[j] = true;
            }
        const bool severalDives = std::any_of(kind.begin(), kind.end(),
                                              [&kind](const PlanWarning *w) { return w->Dive != kind[0]->Dive; });
        std::string text;
        for (const PlanWarning *w : kind) {
            if (!text.empty())
                text += "\n\n";
            if (const std::string name = severalDives ? DiveName(w->Dive) : std::string(); !name.empty())
                text += name + ":\n";
            text += PlanWarningText(*w);
        }
        Host().MsgBox(text, vbOKOnly | vbExclamation, PlanWarningTitle(Warnings[i]));
    }
}

void PlanNotices::AddWarnings(const std::vector<PlanWarning> &More)
{
    MergePlanWarnings(Warnings, More);
}

void PlanNotices::Merge(const PlanNotices &Later)
{
    Refusals.insert(Refusals.end(), Later.Refusals.begin(), Later.Refusals.end());
    AddWarnings(Later.Warnings);
    if (!Later.Notice.empty())
        Notice = Later.Notice;
}

void ShowPlanNotices(const PlanNotices &Notices)
{
    for (const std::string &refusal : Notices.Refusals)
        Host().MsgBox(refusal, vbCritical | vbOKOnly, "");
    ShowPlanWarnings(Notices.Warnings);
    if (!Notices.Notice.empty())
        Host().MsgBox(Notices.Notice, vbExclamation | vbOKOnly, "");
}

int16_t FindEndUserProfile(const ClassProfile &Profile)
{
    for (int16_t i = Profile.GetLength(); i > 0; --i)
        if (Profile.GetEndUserProfile(i))
            return i;
    return 0;
}
