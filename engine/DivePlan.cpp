#include "engine/DivePlan.h"

#include "engine/ClassBuhlmann.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"

#include <algorithm>

namespace {

std::string Fixed(float v, int decimals)
{
    return LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator);
}

} // namespace

bool LimitCrossed(PlanWarningKind Kind, float Value, float Limit)
{
    switch (Kind) {
    case PlanWarningKind::ENDAbove:
        return Value > Limit;
    case PlanWarningKind::PPO2Above:
        // 1.604 bar is not above 1.6: the ppO2 is compared as it is shown. Rounded to
        // hundredths a value goes up by 0.005 at most, so one a hundredth or more below
        // the limit stays at or below it without the rounding.
        if (static_cast<double>(Value) + 0.01 <= Limit)
            return false;
        return RoundTo(Value, 2) > Limit;
    case PlanWarningKind::PPO2Below:
        return Value < Limit;
    }
    return false;
}

std::string PlanWarningText(const PlanWarning &W)
{
    const bool m = W.Metric;
    switch (W.Kind) {
    case PlanWarningKind::ENDAbove:
        return GetLangString(2400) + Fixed(W.Value, 0) + (m ? GetLangString(2401) : GetLangString(2403)) +
               Fixed(W.Limit, 0) + (m ? GetLangString(2402) : GetLangString(2404));
    case PlanWarningKind::PPO2Above: {
        // The deco maximum says so: it may equal the bottom's and be told beside it.
        const std::string above = W.Deco ? (m ? GetLangString(7095) : GetLangString(7096))
                                         : (m ? GetLangString(2407) : GetLangString(2409));
        return GetLangString(2406) + Fixed(RoundTo(W.Value, 2), 2) + above + Fixed(W.Limit, 2) +
               (m ? GetLangString(2408) : GetLangString(2412));
    }
    case PlanWarningKind::PPO2Below:
        return GetLangString(2406) + Fixed(W.Value, 2) + (m ? GetLangString(2410) : GetLangString(2411)) +
               Fixed(W.Limit, 2) + (m ? GetLangString(2408) : GetLangString(2412));
    }
    return std::string();
}

std::string PlanWarningTitle(const PlanWarning &W)
{
    switch (W.Kind) {
    case PlanWarningKind::ENDAbove:
        return GetLangString(6160);
    case PlanWarningKind::PPO2Above:
        return GetLangString(6161);
    case PlanWarningKind::PPO2Below:
        return GetLangString(6162);
    }
    return std::string();
}

void MergePlanWarnings(std::vector<PlanWarning> &Into, const std::vector<PlanWarning> &More)
{
    for (const PlanWarning &w : More) {
        auto same = std::find_if(Into.begin(), Into.end(), [&w](const PlanWarning &k) {
            return k.Kind == w.Kind && k.Dive == w.Dive && k.Metric == w.Metric && k.Limit == w.Limit &&
                   k.Deco == w.Deco;
        });
        if (same == Into.end())
            Into.push_back(w);
        else if (WorseBreach(w.Kind, w.Value, same->Value))
            *same = w;
    }
}

PlanOutcome PlanDive(const TemplateRec &Settings, const DiveStartState &Start, const ClassProfile &Legs,
                     const PlanOptions &Options, ClassProfile &Result)
{
    ClassBuhlmann engine;
    engine.SetCeilingModel(Options.VPM, Options.Hybrid);
    if (Start.AfterSurfaceInterval)
        engine.InitAfterSurfaceInterval(Settings, Options.ModelC, Start.N2Compartments, Start.HeCompartments,
                                        Start.SurfaceInterval);
    else
        engine.Init(Settings, Options.ModelC);
    PlanOutcome outcome;
    if (Options.PlanAscent)
        engine.StartBuhlmann(Legs, Result, true, Options.Bailout, Start.CNS, Start.OTU);
    else
        engine.LoadCompartments(Legs, Result, Start.CNS, Start.OTU);
    outcome.End = engine.EndState();
    outcome.Warnings = engine.Warnings();
    return outcome;
}

PlanResult PlanDive(const TemplateRec &Settings, const DiveStartState &Start, const ClassProfile &Legs,
                    const PlanOptions &Options)
{
    PlanResult result;
    PlanOutcome outcome = PlanDive(Settings, Start, Legs, Options, result.Profile);
    result.End = outcome.End;
    result.Warnings = std::move(outcome.Warnings);
    return result;
}
