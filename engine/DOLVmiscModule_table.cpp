#include "engine/DOLVmiscModule.h"

#include "engine/ClassProfile.h"
#include "engine/DiveBounds.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace {

// The dive the table is built for: the active editor's, else the default template
// (the shell's gTemplateIndex, which is always element 0).
const TemplateRec &tableTemplate()
{
    const int16_t active = Host().ActiveEditorTag();
    const int16_t index = active >= 0 ? active : 0;
    if (static_cast<size_t>(index) >= gSettings.size())
        throwSubscript("AddTableWaypoint");
    return gSettings[static_cast<size_t>(index)].Template;
}

// Every piece of the leg must fall in a band with a usable rate, and the bands must come
// in order. The refusal is told in the user's language: which table has no rows, or holds
// a bad rate, bands out of order or a first band below the leg's shallower end.
void checkRates(const std::vector<RateRecord> &rates, bool descent, float shallowest)
{
    CheckRateTable(rates, descent, "AddTableTravel");
    DiveBounds::CheckRates(rates, tableTemplate().Metric, "AddTableTravel");
    if (!(rates.front().Depth <= shallowest))
        throw RuntimeError(ErrBadSettings, "AddTableTravel",
                           descent ? GetLangString(2430) : GetLangString(2422));
}

float travelTime(float from, float to, float rate)
{
    return static_cast<float>(std::fabs(static_cast<double>(to) - from) / rate);
}

} // namespace

void CheckRateTable(const std::vector<RateRecord> &Rows, bool Descent, const char *Source)
{
    auto refuse = [Source](const std::string &why) { throw RuntimeError(ErrBadSettings, Source, why); };
    if (Rows.empty())
        refuse(Descent ? GetLangString(2429) : GetLangString(2421));
    for (size_t k = 0; k < Rows.size(); ++k) {
        if (!(Rows[k].Rate > 0) || !std::isfinite(Rows[k].Rate))
            refuse(Descent ? GetLangString(2430) : GetLangString(2422));
        if (k > 0 && Rows[k].Depth < Rows[k - 1].Depth)
            refuse(GetLangString(2431));
    }
}

void AppendLegPiece(ClassProfile &Profile, const TemplateRec &Template, float Depth, float Time,
                    float Rate, float RunTime, int16_t Status, int16_t MixNr)
{
    if (MixNr < 0 || static_cast<size_t>(MixNr) >= Template.Gases.size())
        throwSubscript("AddTableWaypoint");
    const GasRecord &gas = Template.Gases[static_cast<size_t>(MixNr)];
    Profile.NewWayPoint();
    const int16_t n = Profile.GetLength();
    Profile.setDepth(n, Depth);
    Profile.SetSegmentTime(n, Time);
    Profile.SetRate(n, Rate);
    Profile.SetRunTime(n, static_cast<float>(static_cast<double>(RunTime) + Time));
    Profile.SetMixNumber(n, MixNr);
    Profile.SetStatus(n, Status);
    Profile.SetGasMixO2(n, gas.O2);
    Profile.SetGasMixN2(n, gas.N2);
    Profile.SetGasMixHe(n, gas.He);
    Profile.SetGasMixName(n, gas.Name);
}

void AddTableWaypoint(ClassProfile &Profile, float Depth, float Time, float Rate, float RunTime,
                      int16_t Status, int16_t MixNr)
{
    AppendLegPiece(Profile, tableTemplate(), Depth, Time, Rate, RunTime, Status, MixNr);
}

// Row k of a rate table applies from its band depth Dk down to the next row's; the last
// row's band runs on without end. Each piece travels within one band.
void AddTableTravel(ClassProfile &Profile, float StartTime, float StartDepth, float &EndTime,
                    float EndDepth, int16_t MixNr, int16_t)
{
    float t = StartTime;
    float d = StartDepth;
    float r = StartTime;
    auto addPiece = [&](float to, float rate, int16_t status) {
        const float duration = travelTime(d, to, std::fabs(rate));
        AddTableWaypoint(Profile, to, duration, rate, r, status, MixNr);
        d = to;
        t += duration;
        r += duration;
    };

    if (EndDepth == StartDepth) {
        AddTableWaypoint(Profile, EndDepth, EndTime - StartTime, 0, r, StatusUserLeg, MixNr);
        return;
    }
    const TemplateRec &T = tableTemplate();
    if (EndDepth > StartDepth) {
        const std::vector<RateRecord> &rates = T.DescendRates;
        checkRates(rates, true, StartDepth);
        size_t k = 1; // the first row's band holds the start depth
        for (; k < rates.size(); ++k) {
            const float Dk = rates[k].Depth;
            if (Dk >= EndDepth)
                break;
            if (d < Dk)
                addPiece(Dk, rates[k - 1].Rate, StatusDescentBand);
        }
        addPiece(EndDepth, rates[k - 1].Rate, StatusUserLeg);
    } else {
        const std::vector<RateRecord> &rates = T.AscendRates;
        checkRates(rates, false, EndDepth);
        size_t k = rates.size() - 1;
        for (; k > 0; --k) {
            const float Dk = rates[k].Depth;
            if (Dk <= EndDepth)
                break;
            if (d > Dk)
                addPiece(Dk, -rates[k].Rate, StatusAscentBand);
        }
        addPiece(EndDepth, -rates[k].Rate, StatusUserLeg);
    }

    if (t > EndTime)
        EndTime = t;
    else if (t < EndTime)
        AddTableWaypoint(Profile, EndDepth, EndTime - t, 0, r, StatusUserLeg, MixNr);
}
