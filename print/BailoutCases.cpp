#include "print/BailoutCases.h"

#include "engine/DOLVmiscModule.h"

#include <algorithm>
#include <cstdint>

float CreateNewWay(const ClassProfile &Profile, float Time, int16_t Index)
{
    const float rate = Profile.GetRate(Index);
    const float depth = Profile.getDepth(Index);
    if (rate == 0)
        return depth;
    const float segment = Profile.GetSegmentTime(Index);
    const float startDepth = depth - segment * rate;
    const float startTime = Profile.GetRunTime(Index) - segment;
    return startDepth + rate * (Time - startTime);
}

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

bool BailoutCut(const ClassProfile &Shown, float Time, ClassProfile &Cut)
{
    const int16_t j = SegmentAt(Shown, Time);
    if (j == 0)
        return false;
    Cut.CopyUntil(Shown, j);
    Cut.setDepth(j, CreateNewWay(Shown, Time, j));
    Cut.SetRunTime(j, Time);
    Cut.SetStopDepth(j, 0);
    Cut.SetStopTime(j, 0);
    Cut.SetStatus(j, StatusUserLeg);
    Cut.SetSegmentTime(j, Time - Shown.GetRunTime(j - 1));
    return true;
}

std::vector<float> BailoutTimes(float EndOfPart, float Interval)
{
    std::vector<float> times;
    if (!(Interval > 0) || !(EndOfPart > 0))
        return times;
    float t = Interval;
    for (; t <= EndOfPart; t += Interval)
        times.push_back(t);
    const float last = t - Interval;
    if (last != EndOfPart)
        times.push_back(EndOfPart);
    return times;
}

int32_t BailoutProgressMaximum(float EndOfPart, float Interval, int16_t Length)
{
    const int64_t steps = static_cast<int64_t>(BailoutTimes(EndOfPart, Interval).size()) * Length;
    return static_cast<int32_t>(std::clamp<int64_t>(steps, 1, INT32_MAX));
}

void AddRunWarnings(std::vector<PlanWarning> &Run, const std::vector<PlanWarning> &More)
{
    for (const PlanWarning &w : More) {
        const bool known =
            std::any_of(Run.begin(), Run.end(), [&w](const PlanWarning &r) { return r.Kind == w.Kind; });
        if (!known)
            Run.push_back(w);
    }
}

bool ComputeBailoutCase(const ClassProfile &Shown, const TemplateRec &CaseSettings, const DiveStartState &Start,
                        const PlanOptions &Options, float Interval, const BailoutStep &Step,
                        std::vector<ClassProfile> &Table, std::vector<PlanWarning> &Warnings)
{
    Table.clear();
    Table.push_back(Shown);
    const int16_t length = Shown.GetLength();
    const float end = Shown.GetRunTime(FindEndUserProfile(Shown));
    PlanOptions options = Options;
    options.Bailout = true;
    options.PlanAscent = true;

    int32_t done = 0;
    ClassProfile cut;
    for (const float t : BailoutTimes(end, Interval)) {
        const int16_t segment = SegmentAt(Shown, t);
        // The waypoints are walked one by one so that Cancel is seen between any two
        // computations and the bar moves evenly.
        for (int16_t j = 1; j <= length; ++j) {
            if (!Step(done))
                return false;
            if (j == segment && BailoutCut(Shown, t, cut)) {
                PlanResult row = PlanDive(CaseSettings, Start, cut, options);
                AddRunWarnings(Warnings, row.Warnings);
                Table.push_back(std::move(row.Profile));
            }
            ++done;
        }
    }
    return Step(done);
}
