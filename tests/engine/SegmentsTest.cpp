// Single segments: timing and depth adjustment, stops in whole minutes (open circuit) and
// tenths (rebreather), the rebreather's split at the setpoint depth, and the trace file.

#include "engine/DOLVOptionModule.h"
#include "engine/LibraryModule.h"
#include "engine/TraceFile.h"
#include "tests/engine/BuhlmannProbe.h"
#include "tests/support/ScopedEnv.h"

#include <QTemporaryDir>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

using namespace enginetest;
using P = ClassBuhlmannProbe;

// Schreiner and Haldane, written out for the checks (msw, minutes).
double Schreiner(double p0, double pi, double rate, double halfTime, double t)
{
    const double k = std::log(2.0) / halfTime;
    return pi + rate * (t - 1 / k) - (pi - p0 - rate / k) * std::exp(-k * t);
}

double Haldane(double p0, double pi, double halfTime, double t)
{
    return pi + (p0 - pi) * std::exp(-std::log(2.0) / halfTime * t);
}

class Segments : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine.Init(1, true); // saturated with surface air: N2 (10 - 0.527) x 0.79 = 7.48367
        P::Into(engine, out);
    }
    ClassBuhlmann engine;
    ClassProfile out;
};

TEST_F(Segments, DescentTimeAndDepthAdjustment)
{
    EXPECT_FLOAT_EQ(P::CalcAscentDescent(engine, 0, 30, 20, 1.0f), 1.5f);
    EXPECT_NEAR(P::CompN2(engine)[1], Schreiner(7.48367, 7.48367, 0.79 * 20, 5, 1.5), 1e-4);
    // Adjusted: 0 to 31.9 m takes 1.595 min; the waypoint and its END keep 30 m.
    dive().DepthAdjust = true;
    const float before = P::CompN2(engine)[16];
    EXPECT_NEAR(P::CalcAscentDescent(engine, 0, 30, 20, 1.0f), 1.595f, 1e-6);
    EXPECT_NEAR(P::CompN2(engine)[16], Schreiner(before, 7.48367, 0.79 * 20, 635, 1.595), 1e-4);
    EXPECT_EQ(out.getDepth(2), 30);
    EXPECT_NEAR(out.GetEND(2), 30, 1e-4);
    EXPECT_NEAR(out.GetRunTime(2), 3.095, 1e-5);
    EXPECT_EQ(out.GetSegmentNumber(2), 2);
}

TEST_F(Segments, OpenCircuitStopsLastWholeMinutesOfRunTime)
{
    // Clean tissues clear at once. Reached at 20.0 the stop runs a full minute; reached at
    // 20.6 it ends at 21 too, is shown as 1 minute and loads the compartments for 0.4.
    P::RunTime(engine) = 20.0f;
    P::CalcDecoStop(engine, 3, 0, 1.0f);
    EXPECT_EQ(out.GetRunTime(1), 21);
    EXPECT_FLOAT_EQ(out.GetSegmentTime(1), 1);
    const float n2 = P::CompN2(engine)[1];
    P::RunTime(engine) = 20.6f;
    P::CalcDecoStop(engine, 3, 0, 1.0f);
    EXPECT_EQ(out.GetRunTime(2), 21);
    EXPECT_EQ(out.GetSegmentTime(2), 1);
    EXPECT_EQ(out.getStopTime(2), 1);
    EXPECT_EQ(out.GetStatus(2), 0); // status is the caller's
    EXPECT_NEAR(P::CompN2(engine)[1], Haldane(n2, (13 - 0.527) * 0.79, 5, 21 - 20.6f), 1e-5);
}

TEST_F(Segments, RebreatherDescentSplitsAtTheSetpointDepth)
{
    P::OpenCircuit(engine) = false; // setpoint 1.3 bar, air diluent: inert is all nitrogen
    P::CalcAscentDescent(engine, 0, 30, 20, 1.0f);
    // Above 3 m (0.15 min) the loop holds only oxygen: the compartments lose gas. Down to
    // 3.527 m the water vapour still leaves no room for nitrogen (0.02635 min more of loss);
    // below, inspired nitrogen rises from 0 at 20 msw/min for the remaining 1.32365 min.
    for (int i : {1, 8, 16}) {
        const double halfTime = P::HalfTimeN2(engine)[i];
        const double above = 7.48367 * std::pow(0.5, (0.15 + 0.02635) / halfTime);
        EXPECT_NEAR(P::CompN2(engine)[i], Schreiner(above, 0, 20, halfTime, 1.32365), 1e-4) << i;
    }
    EXPECT_NEAR(out.getOTU(1), OTUForPPO2(1.3f, 1.5f, true), 1e-5);
    EXPECT_FLOAT_EQ(out.GetPPO2(1), 1.3f);
    EXPECT_EQ(out.getGasUsed(1), 0);
}

TEST_F(Segments, RebreatherAboveTheSetpointDepthOnlyLosesGas)
{
    P::OpenCircuit(engine) = false;
    dive().DecoSetpoint = 1.4f; // crossing at 4 m
    const Comp16 before = P::CompN2(engine);
    // The last ascent of a rebreather dive, 3 m to the surface at 3 m/min.
    const float t = P::CalcAscentDescent(engine, 3, 0, -3, 1.0f, false);
    for (int i = 1; i <= 16; ++i)
        EXPECT_NEAR(P::CompN2(engine)[i], before[i] * std::pow(0.5, t / P::HalfTimeN2(engine)[i]), 1e-5) << i;
    // At 2 m the setpoint exceeds the ambient pressure: no inert gas, oxygen at 1.3 bar.
    P::CalcConstantDepth(engine, 2, 10, 1.0f);
    EXPECT_NEAR(P::CompN2(engine)[1], before[1] * std::pow(0.5, (1 + 10) / 5.0), 1e-5);
    EXPECT_FLOAT_EQ(out.GetPPO2(2), 1.3f);
    EXPECT_FLOAT_EQ(out.getCNS(2), CNSForPPO2(1.3f, 10, true));
}

TEST_F(Segments, RebreatherAscentNeverInspiresLessThanNoGas)
{
    // 6 m to the surface at 1 m/min on a deco setpoint of 1.4 bar, diluent 10/20/70: the
    // inspired inert pressure (16 - 14 - 0.527) msw reaches 0 at 4.527 m after 1.473 min;
    // for the last 4.527 min the loop holds no inert gas and the compartments only lose it.
    P::OpenCircuit(engine) = false;
    dive().Gases = {Gas("Tx10/70", 10, 70)};
    dive().DecoSetpoint = 1.4f;
    P::CompHe(engine).fill(1.0f);
    const Comp16 n2 = P::CompN2(engine);
    P::CalcAscentDescent(engine, 6, 0, -1, 1.0f, false);
    const double fHe = 70.0 / 90;
    const double fN2 = 20.0 / 90;
    for (int i : {1, 5, 16}) {
        const double tHe = P::HalfTimeHe(engine)[i];
        const double tN2 = P::HalfTimeN2(engine)[i];
        EXPECT_NEAR(P::CompHe(engine)[i],
                    Schreiner(1.0, 1.473 * fHe, -fHe, tHe, 1.473) * std::pow(0.5, 4.527 / tHe), 1e-5)
            << i;
        EXPECT_NEAR(P::CompN2(engine)[i],
                    Schreiner(n2[i], 1.473 * fN2, -fN2, tN2, 1.473) * std::pow(0.5, 4.527 / tN2), 1e-5)
            << i;
    }

    // A whole trimix dive with its last stop at 6 m and that slow last ascent: no waypoint
    // and nothing handed on to the next dive of a series holds a negative tension.
    dive().OpenCircuit = false;
    dive().LastStop = 6;
    dive().AscendRates = {RateRow(0, 1), RateRow(6, 10)};
    ClassBuhlmann b;
    b.Init(1, true);
    ClassProfile planned;
    b.StartBuhlmann(SquareDive(60, 30, 20, 0, "Tx10/70"), planned, true, false);
    ASSERT_EQ(StopDepths(planned).back(), 6);
    for (int16_t w = 1; w <= planned.GetLength(); ++w) {
        Comp16 he{};
        Comp16 nitrogen{};
        planned.GetHeCompartments(w, he);
        planned.GetN2Compartments(w, nitrogen);
        for (int i = 1; i <= 16; ++i) {
            EXPECT_GE(he[i], 0) << "waypoint " << w << " compartment " << i;
            EXPECT_GE(nitrogen[i], 0) << "waypoint " << w << " compartment " << i;
        }
    }
    for (int i = 1; i <= 16; ++i) {
        EXPECT_GE(gSettings[1].HeCompartments[i], 0) << i;
        EXPECT_GE(gSettings[1].N2Compartments[i], 0) << i;
    }
}

TEST_F(Segments, RebreatherStopsGrowInTenths)
{
    dive().OpenCircuit = false;
    ClassProfile planned;
    ClassBuhlmann b;
    b.Init(1, true);
    b.StartBuhlmann(SquareDive(40, 30), planned, true, false);
    int tenths = 0;
    for (int16_t i = 1; i <= planned.GetLength(); ++i) {
        if (planned.GetStatus(i) != StatusDecoStop)
            continue;
        const float run = planned.GetRunTime(i);
        EXPECT_NEAR(run * 10, std::round(run * 10), 1e-3) << i;
        tenths += std::fabs(run - std::round(run)) > 0.05f;
        EXPECT_EQ(planned.getStopTime(i), RoundStopTime(planned.GetSegmentTime(i)));
    }
    EXPECT_GT(tenths, 0);
}

TEST_F(Segments, TraceFileLines)
{
    QTemporaryDir install;
    ScopedEnv dir("DOLV_INSTALL_DIR", install.path().toStdString());
    gTraceOn = 1;
    ASSERT_TRUE(OpenTraceFile());
    gDecimalSeparator = ",";
    P::CalcConstantDepth(engine, 10, 2.5f, 1.0f);
    P::CalcAscentDescent(engine, 10, 0, -10, 1.0f);
    P::CalcDecoStop(engine, 3, 0, 1.0f); // stops write nothing
    CloseTraceFile();

    std::ifstream in(install.path().toStdString() + "/phi.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(text, line)) {
        ASSERT_EQ(line.back(), '\r');
        lines.push_back(line.substr(0, line.size() - 1));
    }
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[0], "\"" + std::string(17, ' ') + "\tDepth\tSTime\"");
    EXPECT_EQ(lines[1], "\"OC ascent/descent\t10\t2,5\"");
    EXPECT_EQ(lines[2], "\"End of this segment compartments are\"");
    EXPECT_EQ(lines[3], "\"Cpmt\tN2\tHe\"");
    EXPECT_EQ(lines[4].substr(0, 5), "\"1\t9,"); // (20 - 0.527) x 0.79 less 0.707 x 7.9
    EXPECT_EQ(lines[4].substr(lines[4].size() - 5), "\",\"0\"");
    EXPECT_EQ(lines[20], "\"" + std::string(17, ' ') + "\tSDepth\tFDepth\tSTime\tRate\"");
    EXPECT_EQ(lines[21], "\"OC ascent/descent\t10\t0\t1\t-10\"");
    EXPECT_EQ(lines[39].substr(0, 5), "\"16\t7");
}

TEST_F(Segments, TraceFileFallsBackToTheDataFolder)
{
    QTemporaryDir config;
    ScopedEnv install("DOLV_INSTALL_DIR", config.path().toStdString() + "/no such folder");
    ScopedEnv dir("DOLV_CONFIG_DIR", config.path().toStdString());
    ASSERT_TRUE(OpenTraceFile());
    const std::string path = config.path().toStdString() + "/data/phi.log";
    EXPECT_EQ(TraceFilePath(), path);
    ASSERT_FALSE(host.statusTexts.empty());
    EXPECT_EQ(host.statusTexts.back(), "*StringID 2428*" + path);
    EXPECT_EQ(TraceFileNotice(), host.statusTexts.back());
}

} // namespace
