#include "print/BailoutCases.h"

#include "engine/ClassBuhlmann.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DiveBounds.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Rows of one case's table at most: a four-hour dive at every minute fits.
constexpr int64_t kMaxBailoutRows = 240;

// Where the engine's timing has the diver at Time in segment Index: the depth, and
// whether the adjusted timing still (descent) or already (ascent) has him at the surface.
struct CutPoint {
    double Depth = 0;
    bool AtSurface = false;
};

CutPoint cutPoint(const ClassProfile &Profile, float Time, int16_t Index, const TemplateRec &Settings)
{
    const float rate = Profile.GetRate(Index);
    if (rate == 0)
        return {Profile.getDepth(Index), false};
    // The engine travels from the depth of the waypoint before (the surface before the
    // first) on adjusted depths at the segment's rate, from the run time it left there.
    const float from = Index > 1 ? Profile.getDepth(Index - 1) : 0.0f;
    const double reached = static_cast<double>(AdjustedDepth(from, Settings)) +
                           static_cast<double>(rate) * (static_cast<double>(Time) - Profile.GetRunTime(Index - 1));
    const double depth = UnadjustedDepth(reached, Settings);
    if (!Settings.DepthAdjust)
        return {std::max(depth, 0.0), false};
    // What the adjustment times between the surface and its offset is the surface (the
    // adjustment leaves the surface itself alone).
    if (depth <= 0)
        return {0.0, true};
    return {depth, false};
}

std::string minutesText(double minutes)
{
    return LocaliseNumberText(JoinStr(static_cast<float>(minutes)), gDecimalSeparator);
}

} // namespace

void CopyTemplateWithoutGasChange(const TemplateRec &Source, TemplateRec &Destination, int16_t N)
{
    Destination = Source;
    if (N >= 0 && static_cast<size_t>(N) < Source.GasChanges.size())
        Destination.GasChanges.erase(Destination.GasChanges.begin() + N);
}

int16_t SegmentAt(const ClassProfile &Profile, float Time)
{
    for (int16_t j = 1; j <= Profile.GetLength(); ++j)
        if (Profile.GetRunTime(j - 1) < Time && Time <= Profile.GetRunTime(j))
            return j;
    return 0;
}

bool BailoutCut(const ClassProfile &Shown, const TemplateRec &Settings, float Time, ClassProfile &Cut)
{
    const int16_t j = SegmentAt(Shown, Time);
    if (j == 0)
        return false;
    const CutPoint at = cutPoint(Shown, Time, j, Settings);
    Cut.CopyUntil(Shown, j);
    Cut.SetStopDepth(j, 0);
    Cut.SetStopTime(j, 0);
    Cut.SetStatus(j, StatusUserLeg);
    if (at.AtSurface && Shown.GetRate(j) < 0)
        return true; // surfaced: the whole segment, as the shown profile has it
    Cut.setDepth(j, static_cast<float>(at.Depth));
    Cut.SetRunTime(j, Time);
    Cut.SetSegmentTime(j, static_cast<float>(static_cast<double>(Time) - Shown.GetRunTime(j - 1)));
    if (at.AtSurface)
        Cut.SetRate(j, 0); // not yet down: at the surface until Time
    return true;
}

namespace {

float endOfPart(const ClassProfile &Shown)
{
    return Shown.GetRunTime(FindEndUserProfile(Shown));
}

// The run time of the k-th step of Interval: a multiple, rounded once to a Single.
float stepTime(int64_t k, float Interval)
{
    return static_cast<float>(static_cast<double>(k) * Interval);
}

// The steps of Interval within the diver's part, counted without listing them.
int64_t stepCount(float EndOfPart, float Interval)
{
    if (!(Interval > 0) || !(EndOfPart > 0))
        return 0;
    const double steps = std::floor(static_cast<double>(EndOfPart) / Interval);
    if (steps > 1e9)
        return static_cast<int64_t>(1e9); // far beyond any run: no need to settle it
    int64_t k = static_cast<int64_t>(steps);
    // The steps are Singles: settle the last one as its rounding has it.
    while (k > 0 && !(stepTime(k, Interval) <= EndOfPart))
        --k;
    while (stepTime(k + 1, Interval) <= EndOfPart)
        ++k;
    return k;
}

} // namespace

std::vector<float> BailoutTimes(float EndOfPart, float Interval)
{
    std::vector<float> times;
    const int64_t steps = stepCount(EndOfPart, Interval);
    for (int64_t k = 1; k <= steps; ++k)
        times.push_back(stepTime(k, Interval));
    return times;
}

bool NeedsFinalRow(const ClassProfile &Shown, float Interval)
{
    const float end = endOfPart(Shown);
    return stepTime(stepCount(end, Interval), Interval) != end;
}

int64_t BailoutRowCount(const ClassProfile &Shown, float Interval)
{
    return stepCount(endOfPart(Shown), Interval) + (NeedsFinalRow(Shown, Interval) ? 1 : 0);
}

int64_t BailoutRowLimit(const ClassProfile &Shown, const TemplateRec &Settings)
{
    // A row holds the dive up to its moment and its ascent: at most a stop and a move
    // for every step of the stop spacing up from the deepest point.
    float deepest = 0;
    for (int16_t i = 0; i <= Shown.GetLength(); ++i)
        deepest = std::max(deepest, Shown.getDepth(i));
    const double finest = Settings.Metric ? DiveBounds::kMinStepMetric : DiveBounds::kMinStepImperial;
    const double spacing = std::max<double>(Settings.StepSize, finest);
    const int64_t perRow = Shown.GetLength() + 2 * static_cast<int64_t>(deepest / spacing) + 2;
    return std::clamp<int64_t>(kBailoutWaypointBudget / perRow, 1, kMaxBailoutRows);
}

std::optional<std::string> BailoutRowsProblem(const ClassProfile &Shown, const TemplateRec &Settings, float Interval)
{
    const int64_t rows = BailoutRowCount(Shown, Interval);
    const int64_t limit = BailoutRowLimit(Shown, Settings);
    if (rows <= limit)
        return std::nullopt;
    int shortest = std::max(1, static_cast<int>(Interval));
    while (shortest <= 99 && BailoutRowCount(Shown, static_cast<float>(shortest)) > limit)
        ++shortest;
    if (shortest > 99)
        return DiveBounds::FillIn(GetLangString(7251),
                                  {std::to_string(BailoutRowCount(Shown, 99)), std::to_string(limit)});
    return DiveBounds::FillIn(GetLangString(7250),
                              {std::to_string(rows), std::to_string(limit), std::to_string(shortest)});
}

int64_t TableWaypoints(const std::vector<ClassProfile> &Table)
{
    int64_t waypoints = 0;
    for (const ClassProfile &row : Table)
        waypoints += row.GetLength() + 1;
    return waypoints;
}

int32_t BailoutProgressMaximum(int64_t Rows, int16_t Length)
{
    return static_cast<int32_t>(std::clamp<int64_t>(Rows * Length, 1, INT32_MAX));
}

bool ComputeBailoutCase(const ClassProfile &Shown, const TemplateRec &CaseSettings, const DiveStartState &Start,
                        const PlanOptions &Options, float Interval, const BailoutStep &Step,
                        std::vector<ClassProfile> &Table, std::vector<PlanWarning> &Warnings)
{
    Table.clear();
    Table.push_back(Shown);
    const int16_t length = Shown.GetLength();
    PlanOptions options = Options;
    options.Bailout = true;
    options.PlanAscent = true;

    int32_t done = 0;
    const auto plan = [&](const ClassProfile &cut, float time) {
        try {
            PlanResult row = PlanDive(CaseSettings, Start, cut, options);
            MergePlanWarnings(Warnings, row.Warnings);
            Table.push_back(std::move(row.Profile));
        } catch (const RuntimeError &e) {
            if (!IsDiveLimit(e))
                throw; // a fault of the program, told as it was raised
            // Told once, with the moment it belongs to: no table of the run is printed.
            throw RuntimeError(e.number(), e.source(),
                               DiveBounds::FillIn(GetLangString(7252), {minutesText(time), e.description()}));
        }
        done += length;
    };
    ClassProfile cut;
    for (const float t : BailoutTimes(endOfPart(Shown), Interval)) {
        if (!Step(done))
            return false;
        if (BailoutCut(Shown, CaseSettings, t, cut))
            plan(cut, t);
    }
    if (NeedsFinalRow(Shown, Interval)) {
        if (!Step(done))
            return false;
        const float end = endOfPart(Shown);
        if (BailoutCut(Shown, CaseSettings, end, cut))
            plan(cut, end);
    }
    return Step(done);
}
