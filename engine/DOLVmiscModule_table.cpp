#include "engine/DOLVmiscModule.h"

#include "engine/ClassProfile.h"
#include "engine/DiveBounds.h"
#include "engine/LegBands.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace {

// Every piece of the leg must fall in a band with a usable rate, and the bands must come
// in order. The refusal is told in the user's language: which table has no rows, or holds
// a bad rate, bands out of order or a first band below the leg's shallower end.
void checkRates(const std::vector<RateRecord> &rates, bool metric, bool descent, float shallowest)
{
    CheckRateTable(rates, descent, "AddTableTravel");
    DiveBounds::CheckRates(rates, metric, "AddTableTravel");
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

void AddTableWaypoint(ClassProfile &Profile, const TemplateRec &Template, float Depth, float Time, float Rate,
                      float RunTime, int16_t Status, int16_t MixNr)
{
    AppendLegPiece(Profile, Template, Depth, Time, Rate, RunTime, Status, MixNr);
}

// Row k of a rate table applies from its band depth Dk down to the next row's; the last
// row's band runs on without end. Each piece travels within one band.
void AddTableTravel(ClassProfile &Profile, const TemplateRec &Template, float StartTime, float StartDepth,
                    float &EndTime, float EndDepth, int16_t MixNr, int16_t)
{
    float t = StartTime;
    float d = StartDepth;
    float r = StartTime;
    auto addPiece = [&](float to, float rate, int16_t status) {
        const float duration = travelTime(d, to, std::fabs(rate));
        AddTableWaypoint(Profile, Template, to, duration, rate, r, status, MixNr);
        d = to;
        t += duration;
        r += duration;
    };

    if (EndDepth == StartDepth) {
        AddTableWaypoint(Profile, Template, EndDepth, EndTime - StartTime, 0, r, StatusUserLeg, MixNr);
        return;
    }
    const bool descent = EndDepth > StartDepth;
    const std::vector<RateRecord> &rates = descent ? Template.DescendRates : Template.AscendRates;
    checkRates(rates, Template.Metric, descent, descent ? StartDepth : EndDepth);
    const int16_t bandStatus = descent ? StatusDescentBand : StatusAscentBand;
    for (const LegPiece &piece : CutLegAtBands(rates, StartDepth, EndDepth, false).Pieces)
        addPiece(piece.Depth, descent ? piece.Rate : -piece.Rate,
                 piece.AtBand ? bandStatus : int16_t(StatusUserLeg));

    if (t > EndTime)
        EndTime = t;
    else if (t < EndTime)
        AddTableWaypoint(Profile, Template, EndDepth, EndTime - t, 0, r, StatusUserLeg, MixNr);
}
