// The planner's numbers, bit for bit: about two hundred dives across gases, circuits,
// models, units, altitude and repetitive starts, each planned through the engine's public
// starts and compared field by field with tests/data/golden_plans.txt (floats as their bit
// patterns). A change meant to make the engine faster must not move a single bit of a
// stop, a tension, a load or an oxygen total; a change meant to alter the numbers renews
// the file on purpose:
//
//   DOLV_WRITE_GOLDEN=1 build/bin/test_engine --gtest_filter=GoldenPlans.*
//
// The dives come from a small table of parameters, combined deterministically.

#include "engine/AltitudeModule.h"
#include "engine/ClassBuhlmann.h"
#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/RuntimeError.h"
#include "tests/support/FakeEngineHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char *const kGoldenFile = DOLV_TEST_DATA "/golden_plans.txt";

// ---- The dives ----------------------------------------------------------------------

// Gas set-ups: the bottom gas (mix 1, or Air) and the deco gases switched to on the way up.
enum Rig {
    RigAir,
    RigNitrox,         // EAN32, no deco gas
    RigNitroxDeco,     // EAN28, EAN50 from 21 m
    RigTrimix,         // Tx 21/35, no deco gas
    RigTrimix1,        // Tx 18/45, EAN50
    RigTrimix2,        // Tx 15/55, EAN50, oxygen
    RigTrimix3,        // Tx 10/70, Tx 21/35, EAN50, oxygen
    RigCCR,            // Tx 10/70 diluent, setpoint 1.3 / deco 1.4
    RigCCRBailout,     // the same, bailing out to EAN50 and oxygen
    RigCCROCDeco,      // Tx 15/55 diluent, open-circuit deco on EAN50 and oxygen
    kRigs
};

// Bottom depths (m) and times (min) each set-up is dived to.
struct RigDepths {
    float depth[4];
    float time[3];
};
const RigDepths kRigDepths[kRigs] = {
    {{18, 30, 40, 45}, {25, 35, 50}},
    {{21, 27, 30, 33}, {30, 45, 60}},
    {{24, 30, 36, 40}, {20, 30, 45}},
    {{36, 45, 51, 57}, {15, 20, 30}},
    {{45, 54, 60, 66}, {12, 18, 25}},
    {{54, 60, 70, 80}, {10, 15, 20}},
    {{80, 90, 100, 120}, {8, 12, 16}},
    {{30, 45, 60, 80}, {15, 25, 35}},
    {{40, 50, 60, 80}, {10, 20, 30}},
    {{45, 55, 65, 75}, {12, 18, 25}},
};

// Decompression models: coefficient set, gradient factors, the algorithm menu's choice.
struct Model {
    const char *name;
    bool modelC;
    bool gfOn;
    float gfLow, gfHigh;
    bool vpm, hybrid;
};
const Model kModels[] = {
    {"ZHL16B", false, false, 1.0f, 1.0f, false, false},
    {"ZHL16C", true, false, 1.0f, 1.0f, false, false},
    {"ZHL16C-GF30/70", true, true, 0.3f, 0.7f, false, false},
    {"ZHL16B-GF50/85", false, true, 0.5f, 0.85f, false, false},
    {"VPM", true, false, 1.0f, 1.0f, true, false},
    {"hybrid-GF40/85", true, true, 0.4f, 0.85f, false, true},
};
constexpr int kModelCount = sizeof(kModels) / sizeof(kModels[0]);

struct DiveCase {
    int number = 0;
    Rig rig = RigAir;
    int model = 0;
    float depth = 0;       // metres; an imperial dive goes to depth x 3.3 ft
    float bottomTime = 0;
    bool imperial = false;
    int altitude = 0;      // 0 sea level, 1 acclimatised at 1500 m, 2 a 60-minute climb to 2000 m
    bool depthAdjust = false;
    bool multiLevel = false; // a second, shallower level after the bottom
    bool repetitive = false; // planned after the same dive, a surface interval later
    float surfaceInterval = 0;

    std::string Describe() const
    {
        static const char *const rigNames[kRigs] = {"air", "nitrox", "nitrox+deco", "trimix", "trimix+1",
                                                    "trimix+2", "trimix+3", "ccr", "ccr-bailout",
                                                    "ccr-ocdeco"};
        std::ostringstream s;
        s << "dive " << number << ' ' << rigNames[rig] << ' ' << kModels[model].name << ' '
          << depth << "m/" << bottomTime << "min" << (imperial ? " imperial" : " metric");
        if (altitude == 1)
            s << " acclimatised-1500m";
        if (altitude == 2)
            s << " climb-2000m";
        if (depthAdjust)
            s << " depth-adjust";
        if (multiLevel)
            s << " multi-level";
        if (repetitive)
            s << " repetitive-after-" << surfaceInterval << "min";
        return s.str();
    }
};

// The table of parameters walked in a fixed order: every set-up under every model, both
// unit systems, the altitudes, depth adjustment, multi-level and repetitive dives.
std::vector<DiveCase> AllDives()
{
    std::vector<DiveCase> dives;
    for (int n = 0; n < 170; ++n) {
        DiveCase c;
        c.number = n;
        c.rig = static_cast<Rig>(n % kRigs);
        const int k = n / kRigs; // 0 .. 16 within each set-up
        c.model = (k + n % kRigs) % kModelCount;
        c.depth = kRigDepths[c.rig].depth[k % 4];
        c.bottomTime = kRigDepths[c.rig].time[(k / 4 + c.rig) % 3];
        c.imperial = k % 3 == 2;
        c.altitude = (k + n) % 5 == 1 ? 1 + k % 2 : 0;
        c.depthAdjust = k % 7 == 3;
        c.multiLevel = k % 5 == 4;
        c.repetitive = k % 4 == 1;
        c.surfaceInterval = static_cast<float>(45 + 15 * (k % 6));
        dives.push_back(c);
    }
    return dives;
}

RateRecord Rate(float depth, float rate)
{
    RateRecord r;
    r.Depth = depth;
    r.Rate = rate;
    return r;
}

GasRecord Gas(const char *name, float o2, float he)
{
    return {name, o2, 100 - o2 - he, he, 0};
}

TemplateRec Settings(const DiveCase &c)
{
    const float u = c.imperial ? 3.3f : 1.0f; // depth units per metre, for the settings
    TemplateRec t;
    t.Metric = !c.imperial;
    const float altitude = c.altitude == 0 ? 0.0f : (c.altitude == 1 ? 1500.0f : 2000.0f) * (c.imperial ? 3.2808f : 1);
    t.StartAltitude = t.EndAltitude = altitude;
    t.StartPressure = t.EndPressure = AltitudeToPressure(altitude, t.Metric);
    t.AdeptedToHeight = c.altitude != 2;
    t.TimeToHeight = c.altitude == 2 ? 60 : 0;
    t.StepSize = c.imperial ? 10.0f : 3.0f;
    // A deeper last stop only at sea level: at altitude air at 6 m can hold the slow
    // compartments above what the surface allows for ever.
    const bool deepLast = c.number % 2 == 0 && c.altitude == 0;
    t.LastStop = c.imperial ? (deepLast ? 20.0f : 10.0f) : (deepLast ? 6.0f : 3.0f);
    t.RMV = c.imperial ? 0.7f : 20.0f;
    t.DecoRMV = c.imperial ? 0.55f : 16.0f;
    t.MinPPO2 = 0.18f;
    t.MaxPPO2 = 1.4f;
    t.DecoPPO2 = 1.6f;
    t.MaximalEND = 30 * u;
    t.O2Narcotic = c.number % 3 == 0;
    t.PPO2Low = t.PPO2High = t.MaxEnd = true;
    t.DepthAdjust = c.depthAdjust;
    const Model &m = kModels[c.model];
    t.GFOn = m.gfOn;
    t.GFLow = m.gfLow;
    t.GFHigh = m.gfHigh;
    t.AscendRates = c.number % 4 == 1 ? std::vector<RateRecord>{Rate(0, 3 * u), Rate(6 * u, 9 * u)}
                                 : std::vector<RateRecord>{Rate(0, 10 * u)};
    t.DescendRates = {Rate(0, 20 * u)};
    t.OpenCircuit = true;
    t.Setpoint = 1.3f;
    t.DecoSetpoint = 1.4f;

    auto deco = [&t, u](const GasRecord &g, float switchDepth) {
        t.Gases.push_back(g);
        t.GasChanges.push_back({g.Name, g.O2, g.N2, g.He, switchDepth * u});
    };
    switch (c.rig) {
    case RigAir:
        break;
    case RigNitrox:
        t.Gases.push_back(Gas("EAN32", 32, 0));
        break;
    case RigNitroxDeco:
        t.Gases.push_back(Gas("EAN28", 28, 0));
        deco(Gas("EAN50", 50, 0), 21);
        break;
    case RigTrimix:
        t.Gases.push_back(Gas("Tx 21/35", 21, 35));
        break;
    case RigTrimix1:
        t.Gases.push_back(Gas("Tx 18/45", 18, 45));
        deco(Gas("EAN50", 50, 0), 21);
        break;
    case RigTrimix2:
        t.Gases.push_back(Gas("Tx 15/55", 15, 55));
        deco(Gas("Oxygen", 100, 0), 6);
        deco(Gas("EAN50", 50, 0), 21);
        break;
    case RigTrimix3:
        t.Gases.push_back(Gas("Tx 10/70", 10, 70));
        deco(Gas("Oxygen", 100, 0), 6);
        deco(Gas("EAN50", 50, 0), 21);
        deco(Gas("Tx 21/35", 21, 35), 57);
        break;
    case RigCCR:
    case RigCCRBailout:
        t.Gases.push_back(Gas("Tx 10/70", 10, 70));
        t.OpenCircuit = false;
        if (c.rig == RigCCRBailout) {
            deco(Gas("Oxygen", 100, 0), 6);
            deco(Gas("EAN50", 50, 0), 21);
        }
        break;
    case RigCCROCDeco:
        t.Gases.push_back(Gas("Tx 15/55", 15, 55));
        t.OpenCircuit = false;
        t.OCDeco = true;
        deco(Gas("Oxygen", 100, 0), 6);
        deco(Gas("EAN50", 50, 0), 21);
        break;
    case kRigs:
        break;
    }
    return t;
}

// The diver's own legs: descent at the table's rate, the rest of the bottom time level,
// and for a multi-level dive an ascent to 60 % of the depth with 10 minutes there.
ClassProfile DrawnProfile(const DiveCase &c, const TemplateRec &t)
{
    const int16_t mix = static_cast<int16_t>(t.Gases.size() > 1 && c.rig != RigAir ? 1 : 0);
    const float depth = c.imperial ? c.depth * 3.3f : c.depth;
    const float down = t.DescendRates[0].Rate;
    ClassProfile p;
    const float descent = depth / down;
    AppendLegPiece(p, t, depth, descent, down, 0, StatusUserLeg, mix);
    AppendLegPiece(p, t, depth, c.bottomTime - descent, 0, descent, StatusUserLeg, mix);
    if (c.multiLevel) {
        const float up = t.AscendRates.back().Rate;
        const float second = static_cast<float>(static_cast<int>(depth * 0.6f));
        const float travel = (depth - second) / up;
        AppendLegPiece(p, t, second, travel, -up, c.bottomTime, StatusUserLeg, mix);
        AppendLegPiece(p, t, second, 10, 0, c.bottomTime + travel, StatusUserLeg, mix);
    }
    return p;
}

// ---- The text of a plan -------------------------------------------------------------

std::string Hex(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char buf[12];
    std::snprintf(buf, sizeof buf, "%08x", bits);
    return buf;
}

std::string Name(std::string s)
{
    for (char &ch : s)
        if (ch == ' ')
            ch = '~';
    return s.empty() ? "-" : s;
}

// One waypoint as its fields in declaration order; the column names head the file.
const char *const kColumns =
    "columns: SegmentNumber SegmentTime RunTime GasMixName GasMixO2 GasMixN2 GasMixHe GasUsed Rate "
    "Depth Ceiling StopTime StopDepth PPO2 CNS TotalCNS OTU TotalOTU END PercentCompartments[1..16] "
    "HeCompartments[1..16] N2Compartments[1..16] Status MixNumber DoShow EndUserProfile MaxMValue GF "
    "ModelControl";

std::string WaypointLine(const WayPoint &w, int16_t i)
{
    std::string s = "w " + std::to_string(i) + ' ' + std::to_string(w.SegmentNumber);
    auto f = [&s](float v) { s += ' ' + Hex(v); };
    f(w.SegmentTime);
    f(w.RunTime);
    s += ' ' + Name(w.GasMixName);
    for (float v : {w.GasMixO2, w.GasMixN2, w.GasMixHe, w.GasUsed, w.Rate, w.Depth, w.Ceiling, w.StopTime,
                    w.StopDepth, w.PPO2, w.CNS, w.TotalCNS, w.OTU, w.TotalOTU, w.END})
        f(v);
    for (const Comp16 *a : {&w.PercentCompartments, &w.HeCompartments, &w.N2Compartments})
        for (int k = 1; k <= kCompartments; ++k)
            f((*a)[k]);
    s += ' ' + std::to_string(w.Status) + ' ' + std::to_string(w.MixNumber) + ' ' + (w.DoShow ? '1' : '0') +
         ' ' + (w.EndUserProfile ? '1' : '0');
    f(w.MaxMValue);
    f(w.GF);
    s += ' ' + std::to_string(w.ModelControl);
    return s;
}

// Record `nr` of gSettings after a plan: end tensions, OTU, CNS, and the warnings shown.
std::string EndLine(const SettingsRecord &r, size_t boxes)
{
    std::string s = "end";
    for (int k = 1; k <= kCompartments; ++k)
        s += ' ' + Hex(r.HeCompartments[k]);
    for (int k = 1; k <= kCompartments; ++k)
        s += ' ' + Hex(r.N2Compartments[k]);
    s += ' ' + Hex(r.OTU) + ' ' + Hex(r.CNS) + " warnings " + std::to_string(boxes);
    return s;
}

// Plans every dive with today's engine, as the table generator and the driver start it:
// Init or InitAfterSurfaceInterval on the dive's record, then StartBuhlmann.
std::vector<std::string> PlanAll()
{
    std::vector<std::string> lines;
    lines.push_back(kColumns);
    for (const DiveCase &c : AllDives()) {
        ResetEngineGlobals();
        InitCNSTable();
        FakeEngineHost host;
        const Model &m = kModels[c.model];
        gSettings.resize(3);
        const TemplateRec t = Settings(c);
        gSettings[1].Template = t;
        gSettings[2].Template = t;
        const ClassProfile drawn = DrawnProfile(c, t);
        const bool bailout = c.rig == RigCCRBailout;

        auto plan = [&](int16_t nr, bool repetitive) {
            lines.push_back(c.Describe() + (repetitive ? " (second)" : ""));
            ClassProfile in = drawn;
            ClassProfile out;
            ClassBuhlmann engine;
            engine.SetCeilingModel(m.vpm, m.hybrid);
            try {
                if (repetitive) {
                    const SettingsRecord &prev = gSettings[1];
                    in.setCNS(0, CNSAfterSurfaceInterval(prev.CNS, c.surfaceInterval));
                    in.SetOTU(0, prev.OTU);
                    engine.InitAfterSurfaceInterval(nr, m.modelC, prev.N2Compartments, prev.HeCompartments,
                                                    c.surfaceInterval);
                } else {
                    engine.Init(nr, m.modelC);
                }
                engine.StartBuhlmann(in, out, true, bailout);
            } catch (const RuntimeError &e) {
                lines.push_back("error " + std::to_string(e.number()));
                return;
            }
            for (int16_t i = 0; i <= out.GetLength(); ++i)
                lines.push_back(WaypointLine(out.point(i), i));
            ShowPlanWarnings(engine.Warnings()); // one box per kind
            lines.push_back(EndLine(gSettings[static_cast<size_t>(nr)], std::exchange(host.boxes, {}).size()));
        };
        plan(1, false);
        if (c.repetitive)
            plan(2, true);
    }
    ResetEngineGlobals();
    return lines;
}

std::vector<std::string> Tokens(const std::string &line)
{
    std::vector<std::string> out;
    std::istringstream s(line);
    for (std::string t; s >> t;)
        out.push_back(t);
    return out;
}

// A column of a waypoint line by its position, for the report of a difference.
std::string ColumnName(size_t pos)
{
    const std::vector<std::string> names = Tokens(kColumns);
    // "w", the index, then the columns; the three compartment rows take 16 positions each.
    if (pos == 0)
        return "kind";
    if (pos == 1)
        return "waypoint";
    size_t k = pos - 2;
    for (size_t n = 1; n < names.size(); ++n) {
        const bool row = names[n].find("[1..16]") != std::string::npos;
        const size_t width = row ? kCompartments : 1;
        if (k < width)
            return row ? names[n].substr(0, names[n].find('[')) + "[" + std::to_string(k + 1) + "]" : names[n];
        k -= width;
    }
    return "column " + std::to_string(pos);
}

std::string Decoded(const std::string &token)
{
    if (token.size() != 8)
        return token;
    const uint32_t bits = static_cast<uint32_t>(std::strtoul(token.c_str(), nullptr, 16));
    float v;
    std::memcpy(&v, &bits, sizeof v);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s (%.9g)", token.c_str(), static_cast<double>(v));
    return buf;
}

TEST(GoldenPlans, EveryFieldOfEveryWaypointIsUnchanged)
{
    const std::vector<std::string> actual = PlanAll();
    if (std::getenv("DOLV_WRITE_GOLDEN")) {
        std::ofstream out(kGoldenFile, std::ios::binary | std::ios::trunc);
        for (const std::string &line : actual)
            out << line << '\n';
        ASSERT_TRUE(out.good()) << "cannot write " << kGoldenFile;
        GTEST_SKIP() << "wrote " << actual.size() << " lines to " << kGoldenFile;
    }

    std::ifstream in(kGoldenFile, std::ios::binary);
    ASSERT_TRUE(in.is_open()) << kGoldenFile;
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);)
        expected.push_back(line);

    // The walk must cover what it claims: many dives, each with a plan and stops.
    size_t dives = 0, stops = 0, errors = 0;
    for (const std::string &line : expected) {
        dives += line.rfind("dive ", 0) == 0;
        errors += line.rfind("error ", 0) == 0;
        const std::vector<std::string> t = Tokens(line);
        stops += t.size() > 2 && t[0] == "w" && t[t.size() - 7] == "4";
    }
    EXPECT_GE(dives, 200u);
    EXPECT_EQ(errors, 0u);
    EXPECT_GE(stops, 1000u);

    int reported = 0;
    std::string dive;
    for (size_t i = 0; i < expected.size() && i < actual.size() && reported < 20; ++i) {
        if (expected[i].rfind("dive ", 0) == 0)
            dive = expected[i];
        if (expected[i] == actual[i])
            continue;
        const std::vector<std::string> e = Tokens(expected[i]);
        const std::vector<std::string> a = Tokens(actual[i]);
        for (size_t k = 0; k < e.size() || k < a.size(); ++k) {
            const std::string ek = k < e.size() ? e[k] : "(none)";
            const std::string ak = k < a.size() ? a[k] : "(none)";
            if (ek == ak)
                continue;
            ADD_FAILURE() << dive << ", line " << i + 1 << " "
                          << (e.empty() ? "" : e[0] == "w" ? ColumnName(k) : e[0] + " item " + std::to_string(k))
                          << ": expected " << Decoded(ek) << ", got " << Decoded(ak);
            if (++reported >= 20)
                break;
        }
    }
    EXPECT_EQ(expected.size(), actual.size()) << "lines in the golden file and in today's plans";
}

} // namespace
