// Plans per second of the engine: a fixed set of dives computed end to end through the
// program's one plan call (PlanDive), and decompression-table grids built as the table
// generator builds them. CI runs every benchmark once, briefly, so one that no longer
// runs fails there; an error inside a benchmark ends the run with a non-zero status.

#include "engine/AltitudeModule.h"
#include "engine/ClassProfile.h"
#include "engine/DivePlan.h"
#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/TemplateModule.h"
#include "engine/TableGenerator.h"
#include "tests/support/FakeEngineHost.h"

#include <benchmark/benchmark.h>

#include <exception>


namespace {

// Answers every box with its default.
FakeEngineHost &benchHost()
{
    static FakeEngineHost host;
    return host;
}

// The fake host records every box and status text; a benchmark forgets them at each
// iteration, or the growing record would be measured with the plans.
void forgetHostRecords()
{
    benchHost().boxes.clear();
    benchHost().statusTexts.clear();
}


RateRecord rate(float depth, float perMinute)
{
    return {0, 0, perMinute, depth};
}

// A metric open-circuit dive at sea level on air, ZH-L16 without gradient factors.
TemplateRec airDive()
{
    TemplateRec t;
    t.Metric = true;
    t.StartPressure = t.EndPressure = AltitudeToPressure(0, true);
    t.AdeptedToHeight = true;
    t.TimeToHeight = 1;
    t.StepSize = 3;
    t.LastStop = 3;
    t.OpenCircuit = true;
    t.RMV = 20;
    t.DecoRMV = 16;
    t.MinPPO2 = 0.16f;
    t.MaxPPO2 = 1.6f;
    t.DecoPPO2 = 1.6f;
    t.MaximalEND = 40;
    t.AscendRates = {rate(0, 3), rate(6, 9)};
    t.DescendRates = {rate(0, 20)};
    t.PPO2Low = t.PPO2High = t.MaxEnd = true;
    return t;
}

// Trimix 18/45 with EAN50 from 21 m and oxygen from 6 m, gradient factors 30/70.
TemplateRec trimixDive()
{
    TemplateRec t = airDive();
    t.Gases.push_back({"Tx 18/45", 18, 37, 45, 0});
    t.Gases.push_back({"EAN50", 50, 50, 0, 0});
    t.Gases.push_back({"Oxygen", 100, 0, 0, 0});
    t.GasChanges = {{"Oxygen", 100, 0, 0, 6}, {"EAN50", 50, 50, 0, 21}};
    t.GFOn = true;
    t.GFLow = 0.3f;
    t.GFHigh = 0.7f;
    return t;
}

// A constant-ppO2 rebreather on trimix 10/70 diluent, setpoint 1.3 at depth and in deco.
TemplateRec rebreatherDive()
{
    TemplateRec t = airDive();
    t.Gases.push_back({"Tx 10/70", 10, 20, 70, 0});
    t.OpenCircuit = false;
    t.Setpoint = 1.3f;
    t.DecoSetpoint = 1.3f;
    t.GFOn = true;
    t.GFLow = 0.5f;
    t.GFHigh = 0.8f;
    return t;
}

// The diver's own profile: descent at the dive's rates, then level until the bottom time.
ClassProfile bottomProfile(int16_t dive, float depth, float bottomTime, int16_t mix)
{
    ClassProfile p;
    AddTableTravel(p, gSettings[dive].Template, 0, 0, bottomTime, depth, mix, 0);
    return p;
}

// A dive of gSettings and the diver's own legs; a repetitive one follows the dive listed
// before it after its record's surface interval.
struct Dive {
    int16_t number;
    ClassProfile profile;
    bool repetitive;
};

// Trimix 10/70 for 120 m, Tx 21/35 from 57 m, EAN50 from 21 m, oxygen from 6 m, GF 30/70.
TemplateRec deepTrimixDive()
{
    TemplateRec t = trimixDive();
    t.Gases = {t.Gases[0], {"Tx 10/70", 10, 20, 70, 0}, {"Tx 21/35", 21, 44, 35, 0}, {"EAN50", 50, 50, 0, 0},
               {"Oxygen", 100, 0, 0, 0}};
    t.GasChanges = {{"Oxygen", 100, 0, 0, 6}, {"EAN50", 50, 50, 0, 21}, {"Tx 21/35", 21, 44, 35, 57}};
    return t;
}

// Dives 1 to 6 of gSettings: air, trimix, rebreather, a repetitive pair on air, and the
// 120 m trimix dive.
std::vector<Dive> setUpDives()
{
    ResetEngineGlobals();
    InitCNSTable();
    benchHost();
    gSettings.resize(7);
    gSettings[1].Template = airDive();
    gSettings[2].Template = trimixDive();
    gSettings[3].Template = rebreatherDive();
    gSettings[4].Template = airDive();
    gSettings[5].Template = airDive();
    gSettings[5].PrevProfile = 4;
    gSettings[5].SurfTime = 90;
    gSettings[6].Template = deepTrimixDive();
    std::vector<Dive> dives;
    dives.push_back({1, bottomProfile(1, 30, 40, 0), false});
    dives.push_back({2, bottomProfile(2, 60, 25, 1), false});
    dives.push_back({3, bottomProfile(3, 100, 20, 1), false});
    dives.push_back({4, bottomProfile(4, 30, 25, 0), false});
    dives.push_back({5, bottomProfile(5, 21, 40, 0), true});
    dives.push_back({6, bottomProfile(6, 120, 120, 1), false});
    return dives;
}

// Every benchmark reports the same counters: the CSV reporter takes its columns from the
// first benchmark and aborts on a counter it has no column for. plans/s counts the plans
// made; waypoints are those of the last plan, a check that it still plans the same dive.
void reportPlans(benchmark::State &state, double plansPerIteration, int waypoints)
{
    state.counters["plans/s"] =
        benchmark::Counter(plansPerIteration * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["waypoints"] = waypoints;
}

// A benchmark whose plan throws says so and stops, instead of ending the whole run.
template <class F>
bool planned(benchmark::State &state, F &&body)
{
    try {
        body();
        return true;
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    } catch (...) {
        state.SkipWithError("a plan failed");
    }
    return false;
}

void BM_Dive(benchmark::State &state, size_t first, size_t count)
{
    const std::vector<Dive> dives = setUpDives();
    ClassProfile result;
    for (auto _ : state) {
        forgetHostRecords();
        const bool ok = planned(state, [&] {
            DiveEndState before;
            for (size_t i = first; i < first + count; ++i) {
                const Dive &d = dives[i];
                const SettingsRecord &record = gSettings[size_t(d.number)];
                // A repetitive dive starts from the end of the dive planned just before it.
                DiveStartState start;
                if (d.repetitive) {
                    start.AfterSurfaceInterval = true;
                    start.HeCompartments = before.HeCompartments;
                    start.N2Compartments = before.N2Compartments;
                    start.SurfaceInterval = record.SurfTime;
                    start.CNS = CNSAfterSurfaceInterval(before.CNS, record.SurfTime);
                    start.OTU = before.OTU;
                }
                result.clear();
                before = PlanDive(record.Template, start, d.profile, PlanOptions{}, result).End;
                benchmark::DoNotOptimize(result.GetLength());
            }
        });
        if (!ok)
            return;
    }
    reportPlans(state, double(count), result.GetLength());
}

BENCHMARK_CAPTURE(BM_Dive, air_30m_40min, 0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dive, trimix_60m_25min_gf30_70, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dive, ccr_100m_20min, 2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dive, repetitive_pair, 3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dive, trimix_120m_120min_gf30_70, 5, 1)->Unit(benchmark::kMicrosecond);

// A 10 x 10 table: 15 to 60 m by 5 m, 10 to 55 minutes by 5 minutes, on the trimix
// dive's settings; each cell a fresh engine as the table generator runs it.
void BM_TableGrid(benchmark::State &state)
{
    setUpDives();
    const int16_t dive = 2;
    ClassProfile profile, result;
    for (auto _ : state) {
        forgetHostRecords();
        for (int di = 0; di < 10; ++di) {
            for (int ti = 0; ti < 10; ++ti) {
                profile.clear();
                float bottomTime = 10.0f + 5 * ti;
                AddTableTravel(profile, gSettings[dive].Template, 0, 0, bottomTime, 15.0f + 5 * di, 1, 0);
                result.clear();
                if (!planned(state, [&] { PlanDive(gSettings[dive].Template, {}, profile, PlanOptions{}, result); }))
                    return;
                benchmark::DoNotOptimize(result.GetLength());
            }
        }
    }
    reportPlans(state, 100.0, result.GetLength());
}
BENCHMARK(BM_TableGrid)->Unit(benchmark::kMillisecond);

// The table generator's default grid on the default template: 9 to 54 m by 3 m, 5 to 45
// minutes by 5 minutes (144 cells), fast descent, air, ZH-L16B. Engine part only: each
// cell builds its profile, starts a fresh engine and plans; nothing is printed.
void BM_DefaultTable144(benchmark::State &state)
{
    setUpDives();
    gSettings[0].Template = airDive();
    if (!LoadTemplate(gSettings[0].Template, "", "")) {
        state.SkipWithError("template/Default.tpl not found beside the benchmark");
        return;
    }
    const int16_t dive = 0;
    ClassProfile profile, result;
    int cells = 0;
    for (auto _ : state) {
        forgetHostRecords();
        cells = 0;
        for (float depth = 9; depth <= 54; depth += 3) {
            for (float t = 5; t <= 45; t += 5) {
                profile.clear();
                AddTableWaypoint(profile, gSettings[dive].Template, depth, 0.001f, 10000, 0, StatusUserLeg, 0);
                AddTableWaypoint(profile, gSettings[dive].Template, depth, t, 0, 0.001f, StatusUserLeg, 0);
                result.clear();
                PlanOptions zhl16b;
                zhl16b.ModelC = false;
                if (!planned(state, [&] { PlanDive(gSettings[dive].Template, {}, profile, zhl16b, result); }))
                    return;
                benchmark::DoNotOptimize(result.GetLength());
                ++cells;
            }
        }
    }
    reportPlans(state, double(cells), result.GetLength());
}
BENCHMARK(BM_DefaultTable144)->Unit(benchmark::kMicrosecond);

// What the editor does after the diver draws the tenth leg of a dive: the whole log is
// replayed, each leg cut at the rate bands and the compartments loaded along the profile
// so far, then the ascent is planned (the deco marker at the end of the log). On the
// trimix dive; the cutting is the table generator's, the engine runs are the editor's.
void BM_Replay10Legs(benchmark::State &state)
{
    setUpDives();
    const int16_t dive = 2;
    struct Leg {
        float depth, minutes;
    };
    const Leg log[10] = {{30, 2}, {45, 3}, {60, 15}, {50, 5}, {45, 5},
                         {36, 5}, {30, 5}, {27, 4}, {24, 4}, {21, 3}};
    ClassProfile input, deco;
    PlanOptions legsOnly;
    legsOnly.PlanAscent = false;
    for (auto _ : state) {
        forgetHostRecords();
        input.clear();
        float start = 0, startDepth = 0, end = 0;
        for (const Leg &leg : log) {
            end += leg.minutes;
            AddTableTravel(input, gSettings[dive].Template, start, startDepth, end, leg.depth, 1, 0);
            start = end;
            startDepth = leg.depth;
            deco.clear();
            if (!planned(state, [&] { PlanDive(gSettings[dive].Template, {}, input, legsOnly, deco); }))
                return;
            input.clear();
            input.Copy(deco);
        }
        deco.clear();
        if (!planned(state, [&] { PlanDive(gSettings[dive].Template, {}, input, PlanOptions{}, deco); }))
            return;
        benchmark::DoNotOptimize(deco.GetLength());
    }
    reportPlans(state, 11.0, deco.GetLength()); // each leg's replay and the ascent
}
BENCHMARK(BM_Replay10Legs)->Unit(benchmark::kMicrosecond);

// The table generator's defaults on a metric air dive: 9 to 54 m by 3 m, 5 to 45 minutes
// by 5 minutes (16 tables, 144 cells), fast descent, ZH-L16C; the whole computing part of
// a run, every profile of it included.
void BM_TableGenerator144(benchmark::State &state)
{
    setUpDives();
    const TemplateRec settings = gSettings[1].Template;
    const std::vector<float> depths = TableAxis(9, 54, 3);
    const std::vector<float> times = TableAxis(5, 45, 5);
    int waypoints = 0;
    for (auto _ : state) {
        if (!planned(state, [&] {
                TableRun run = PlanTables(settings, depths, times, 0, true, PlanOptions{}, {});
                benchmark::DoNotOptimize(run.Tables.size());
                waypoints = run.Tables.back().back().GetLength();
            }))
            return;
    }
    reportPlans(state, 144.0, waypoints);
}
BENCHMARK(BM_TableGenerator144)->Unit(benchmark::kMillisecond);

// The library's own display reporter (its --benchmark_format and colour flags honoured),
// counting the benchmarks that stopped with an error.
class ErrorCountingReporter : public benchmark::BenchmarkReporter {
public:
    explicit ErrorCountingReporter(benchmark::BenchmarkReporter *display) : display_(display) {}
    int errors = 0;
    bool ReportContext(const Context &context) override { return display_->ReportContext(context); }
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.error_occurred)
                ++errors;
        display_->ReportRuns(runs);
    }
    void Finalize() override { display_->Finalize(); }

private:
    benchmark::BenchmarkReporter *display_;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ErrorCountingReporter reporter(benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.errors == 0 ? 0 : 1;
}
