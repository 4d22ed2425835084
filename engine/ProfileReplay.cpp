#include "engine/ProfileReplay.h"

#include "engine/ClassBuhlmann.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DiveBounds.h"
#include "engine/LegBands.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char *kReplaySource = "frmWaypointEditor.ReEvaluateUserEnteredWaypoints";

// The replay refuses settings it cannot walk, with the language's text of `id`.
[[noreturn]] void refuse(int16_t id)
{
    throw RuntimeError(ErrBadSettings, kReplaySource, GetLangString(id));
}

// Minutes to travel from one depth to another at `rate` depth units per minute.
float travelTime(float from, float to, float rate)
{
    return static_cast<float>(std::fabs(static_cast<double>(to) - from) * (1.0 / rate));
}

} // namespace

void CheckRateTables(const TemplateRec &tpl)
{
    CheckRateTable(tpl.DescendRates, true, kReplaySource);
    CheckRateTable(tpl.AscendRates, false, kReplaySource);
    DiveBounds::CheckRates(tpl.DescendRates, tpl.Metric, kReplaySource);
    DiveBounds::CheckRates(tpl.AscendRates, tpl.Metric, kReplaySource);
}

void SaveUserProfile(ClassProfile &profile, const TemplateRec &tpl, float Depth,
                     float SegmentTime, float Rate, float RT, int16_t Status,
                     int16_t Mixnumber)
{
    AppendLegPiece(profile, tpl, Depth, SegmentTime, Rate, RT, Status, Mixnumber);
}

float GetSegmentedProfile(ClassProfile &profile, const TemplateRec &tpl, float X1, float Y1,
                          float &X2, float &Y2, int16_t U)
{
    const float t0 = X1;
    const float d0 = Y1;
    float tE = X2;
    float dT = Y2;
    float tc = t0; // time and depth reached so far
    float dc = d0;

    // One travel piece from the current depth to depth d at a band's rate; the run time
    // moves on to its end.
    auto travel = [&](float d, float rate, float signedRate, int16_t status) {
        const float time = travelTime(dc, d, rate);
        const float te = static_cast<float>(static_cast<double>(tc) + time);
        SaveUserProfile(profile, tpl, d, time, signedRate, tc, status, U);
        tc = te;
        dc = d;
    };

    if (dT == d0) {
        SaveUserProfile(profile, tpl, dT, static_cast<float>(static_cast<double>(tE) - t0), 0, t0,
                        StatusUserLeg, U);
        return tE;
    }

    const bool descent = dT > d0;
    const auto &rows = descent ? tpl.DescendRates : tpl.AscendRates;
    // A descent that starts above the first band would need the rate of a band before it.
    if (descent && !rows.empty() && d0 < rows.front().Depth)
        refuse(2430);
    const LegCut cut = CutLegAtBands(rows, d0, dT, true);
    const int16_t bandStatus = descent ? StatusDescentBand : StatusAscentBand;
    for (const LegPiece &piece : cut.Pieces)
        travel(piece.Depth, piece.Rate, descent ? piece.Rate : -piece.Rate,
               piece.AtBand ? bandStatus : int16_t(StatusUserLeg));
    dT = cut.EndDepth;
    if (cut.EndedOnShallowestBand) {
        // The ascent reached the shallowest band (the surface): no level piece, so a dive
        // that ends here ends with the travel. The leg still ends no earlier than the
        // travel; a stay left before its logged end is for the next leg to begin with.
        if (tE < tc)
            tE = tc;
        X2 = tE;
        Y2 = dT;
        return tc;
    }
    const float te = tc;
    if (tE < te)
        tE = te; // the leg ends when the travel ends
    // A descent adds its level piece when time is left, an ascent always (of no length
    // when none is).
    if (!descent || te != tE)
        SaveUserProfile(profile, tpl, dT, static_cast<float>(static_cast<double>(tE) - te), 0, te,
                        StatusUserLeg, U);
    X2 = tE;
    Y2 = dT;
    return tE;
}

void SurfaceStay::Begin(ClassProfile &profile, const TemplateRec &tpl, float legStart)
{
    if (legStart > from)
        SaveUserProfile(profile, tpl, depth, static_cast<float>(static_cast<double>(legStart) - from), 0, from,
                        StatusUserLeg, mix);
    from = legStart;
}

void LogUserLeg(ClassUseractions &log, const TemplateRec &tpl, float depth, float time, int16_t mix)
{
    log.NewAction();
    const int16_t n = log.GetLength();
    log.setuser(n, depth, time, mix);
    if (mix >= 0 && static_cast<size_t>(mix) < tpl.Gases.size())
        log.setgasname(n, tpl.Gases[static_cast<size_t>(mix)].Name);
}

int16_t LoggedGasIndex(const ClassUseractions &log, int16_t nr, const std::vector<GasRecord> &gases)
{
    const int16_t mix = log.getmixnumber(nr);
    const bool inList = mix >= 0 && static_cast<size_t>(mix) < gases.size();
    if (log.isgaslost(nr))
        return -1;
    const std::optional<std::string> &name = log.getgasname(nr);
    if (!name)
        return inList ? mix : int16_t(-1);
    // Two gases of one name are the same gas to the diver: the leg keeps its own place
    // among them while the list holds it there.
    if (inList && gases[static_cast<size_t>(mix)].Name == *name)
        return mix;
    for (size_t k = 0; k < gases.size(); ++k)
        if (gases[k].Name == *name)
            return static_cast<int16_t>(k);
    return -1;
}

void DrawLoggedLegs(const ClassUseractions &log, const TemplateRec &tpl, ClassProfile &input)
{
    CheckRateTables(tpl);
    // A gas the list has lost is drawn as one more gas of a copy of the list, holding
    // only its name; its pieces then get mix number -1.
    TemplateRec drawn = tpl;
    const int16_t lostGas = static_cast<int16_t>(drawn.Gases.size());
    drawn.Gases.emplace_back();
    float T = 0;
    float startDepth = 0;
    SurfaceStay stay;
    for (int16_t i = 1; i <= log.GetLength(); ++i) {
        if (log.getaction(i) != ActionUserWaypoint)
            continue;
        const float startTime = T;
        // The stay goes first, on the gas of the leg before (still the lost one's name).
        const int16_t beforeStay = input.GetLength();
        stay.Begin(input, drawn, startTime);
        if (stay.mix == lostGas && input.GetLength() > beforeStay)
            input.SetMixNumber(input.GetLength(), -1);
        int16_t mix = LoggedGasIndex(log, i, tpl.Gases);
        if (mix < 0) {
            mix = lostGas;
            drawn.Gases.back() = GasRecord{log.getgasname(i).value_or(std::string())};
        }
        const int16_t first = static_cast<int16_t>(input.GetLength() + 1);
        T = static_cast<float>(static_cast<double>(T) + log.gettime(i));
        float endDepth = log.getDepth(i);
        stay = {GetSegmentedProfile(input, drawn, startTime, startDepth, T, endDepth, mix), endDepth, mix};
        if (mix == lostGas)
            for (int16_t k = first; k <= input.GetLength(); ++k)
                input.SetMixNumber(k, -1);
        startDepth = log.getDepth(i);
    }
}

double LoggedDiveMinutes(const ClassUseractions &log, const TemplateRec &tpl, float NextDepth, float NextMinutes)
{
    double minutes = 0;
    float depth = 0;
    const auto leg = [&](float to, double logged) {
        const auto &rows = to >= depth ? tpl.DescendRates : tpl.AscendRates;
        double travel = 0;   // as the replay draws it
        double adjusted = 0; // as the engine times it
        float from = depth;
        for (const LegPiece &piece : CutLegAtBands(rows, depth, to, true).Pieces) {
            if (!(piece.Rate > 0))
                continue; // a rate table the bounds refuse anyway
            travel += std::fabs(static_cast<double>(piece.Depth) - from) / piece.Rate;
            adjusted += std::fabs(static_cast<double>(AdjustedDepth(piece.Depth, tpl)) - AdjustedDepth(from, tpl)) /
                        piece.Rate;
            from = piece.Depth;
        }
        minutes += adjusted + std::max(0.0, logged - travel);
        depth = to;
    };
    for (int16_t i = 1; i <= log.GetLength(); ++i) {
        if (log.getaction(i) == ActionUserWaypoint)
            leg(log.getDepth(i), log.gettime(i));
        else if (log.getaction(i) == ActionDecoMarker)
            depth = 0;
    }
    if (NextMinutes >= 0)
        leg(NextDepth, NextMinutes);
    return minutes;
}

ReplayResult ReplayUserActions(ClassUseractions &log, const TemplateRec &tpl,
                               ClassProfile &input, ClassProfile &deco, int16_t state,
                               const EngineRun &runEngine)
{
    CheckRateTables(tpl);
    // Every leg's gas as the list numbers it now; the log changes only when all are there.
    std::vector<int16_t> mixes(static_cast<size_t>(log.GetLength()) + 1, 0);
    for (int16_t i = 1; i <= log.GetLength(); ++i) {
        if (log.getaction(i) != ActionUserWaypoint)
            continue;
        mixes[static_cast<size_t>(i)] = LoggedGasIndex(log, i, tpl.Gases);
        if (mixes[static_cast<size_t>(i)] < 0)
            refuse(2423);
    }
    for (int16_t i = 1; i <= log.GetLength(); ++i)
        if (log.getaction(i) == ActionUserWaypoint)
            log.setmixnumber(i, mixes[static_cast<size_t>(i)]);

    ReplayResult result;
    result.EditorState = state;
    float startTime = 0;
    float startDepth = 0;
    float T = 0; // the running end time of the logged legs
    SurfaceStay stay;

    for (int16_t i = 1; i <= log.GetLength(); ++i) {
        const int16_t action = log.getaction(i);
        if (action == ActionUserWaypoint) {
            stay.Begin(input, tpl, startTime);
            T = static_cast<float>(static_cast<double>(T) + log.gettime(i));
            float endDepth = log.getDepth(i);
            stay = {GetSegmentedProfile(input, tpl, startTime, startDepth, T, endDepth, log.getmixnumber(i)),
                    endDepth, log.getmixnumber(i)};
            startTime = T;
            startDepth = log.getDepth(i);
            result.EditorState = EditorUserLegs;
            deco.clear();
            runEngine(true);
            input.clear();
            input.Copy(deco);
        } else if (action == ActionDecoMarker) {
            deco.clear();
            runEngine(false);
            result.EditorState = EditorComputed;
            input.clear();
            input.Copy(deco);
            // A later leg continues from the end of the computed ascent.
            const int16_t last = input.GetLength();
            T = startTime = input.GetRunTime(last);
            startDepth = input.getDepth(last);
            stay = {T, startDepth, 0};
        }
    }
    result.LastRunTime = T;
    return result;
}
