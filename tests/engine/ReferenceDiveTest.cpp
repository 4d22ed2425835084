// Two planned dives under ZH-L16C with gradient factors, checked against a textbook
// calculation written here and not using the engine: Schreiner's equation for travel,
// Haldane's for level pieces, Baker's gradient-factor tolerance
//   Ptol = (P - a GF) / (GF / b - GF + 1),  a, b weighted by the He and N2 tensions,
// in double precision, with the published coefficients. Units are msw; the water vapour
// is 0.527 msw and the surface 1.0 bar (10 msw), as the planner defines them.

#include "tests/engine/BuhlmannProbe.h"
#include "tests/engine/PublishedZHL16.h"

#include <cmath>

namespace {

using namespace enginetest;

constexpr double kWaterVapour = 0.527;
constexpr double kSurface = 10.0;

struct Tissues {
    double n2[16];
    double he[16];

    static Tissues AirSaturated()
    {
        Tissues t{};
        for (double &p : t.n2)
            p = (kSurface - kWaterVapour) * 0.79;
        return t;
    }

    // Level: P = Pi + (P0 - Pi) e^(-kt).
    void Haldane(double depth, double fN2, double fHe, double t)
    {
        const double pi = kSurface + depth - kWaterVapour;
        for (int i = 0; i < 16; ++i) {
            n2[i] = pi * fN2 + (n2[i] - pi * fN2) * std::exp(-std::log(2.0) / zhl16::kHalfTimeN2[i] * t);
            he[i] = pi * fHe + (he[i] - pi * fHe) * std::exp(-std::log(2.0) / zhl16::kHalfTimeHe[i] * t);
        }
    }

    // Travel at `rate` m/min: P = Pi0 + R (t - 1/k) - (Pi0 - P0 - R/k) e^(-kt).
    void Schreiner(double fromDepth, double rate, double fN2, double fHe, double t)
    {
        const double pi = kSurface + fromDepth - kWaterVapour;
        for (int i = 0; i < 16; ++i) {
            const double kn = std::log(2.0) / zhl16::kHalfTimeN2[i];
            const double kh = std::log(2.0) / zhl16::kHalfTimeHe[i];
            const double rn = rate * fN2;
            const double rh = rate * fHe;
            n2[i] = pi * fN2 + rn * (t - 1 / kn) - (pi * fN2 - n2[i] - rn / kn) * std::exp(-kn * t);
            he[i] = pi * fHe + rh * (t - 1 / kh) - (pi * fHe - he[i] - rh / kh) * std::exp(-kh * t);
        }
    }

    // Baker's ceiling in metres below the surface, never above it.
    double Ceiling(double gf) const
    {
        double ceiling = 0;
        for (int i = 0; i < 16; ++i) {
            const double p = n2[i] + he[i];
            const double a = (n2[i] * zhl16::kN2aC[i] + he[i] * zhl16::kHea[i]) * 10 / p;
            const double b = (n2[i] * zhl16::kN2b[i] + he[i] * zhl16::kHeb[i]) / p;
            ceiling = std::max(ceiling, (p - a * gf) / (gf / b - gf + 1) - kSurface);
        }
        return ceiling;
    }
};

class ReferenceDive : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        dive().GFOn = true;
    }

    ClassProfile plan(const ClassProfile &in)
    {
        ClassProfile out;
        ClassBuhlmann engine;
        engine.Init(1, true);
        engine.StartBuhlmann(in, out, true, false);
        return out;
    }

    static void expectTensions(const ClassProfile &out, int16_t i, const Tissues &ref)
    {
        Comp16 n2{};
        Comp16 he{};
        out.GetN2Compartments(i, n2);
        out.GetHeCompartments(i, he);
        for (int k = 0; k < 16; ++k) {
            EXPECT_NEAR(n2[k + 1], ref.n2[k], 2e-3) << "N2 compartment " << k + 1;
            EXPECT_NEAR(he[k + 1], ref.he[k], 2e-3) << "He compartment " << k + 1;
        }
    }

    // Walks the planned profile through the reference model, piece by piece, with the
    // time each piece really took (run time differences). Checks every waypoint's tensions
    // and each stop: its ceiling, its gradient factor on the line from GFLow at the first
    // stop to GFHigh at the surface, that it allows the next stop, and that it is no
    // longer than needed (a minute less would not have cleared).
    void checkAgainstReference(const ClassProfile &out, int16_t endOfBottom, const Tissues &bottom)
    {
        Tissues ref = bottom;
        const double gfLow = dive().GFLow;
        const double gfHigh = dive().GFHigh;
        double firstStop = -1;
        int stops = 0;
        for (int16_t i = endOfBottom + 1; i <= out.GetLength(); ++i) {
            SCOPED_TRACE(testing::Message() << "waypoint " << i << " at " << out.getDepth(i) << " m");
            const WayPoint &w = out.point(i);
            const double fN2 = w.GasMixN2 / 100.0;
            const double fHe = w.GasMixHe / 100.0;
            const double elapsed = w.RunTime - out.GetRunTime(static_cast<int16_t>(i - 1));
            if (w.Status != StatusDecoStop) {
                ref.Schreiner(out.getDepth(static_cast<int16_t>(i - 1)), w.Rate, fN2, fHe, elapsed);
                expectTensions(out, i, ref);
                continue;
            }
            ++stops;
            if (firstStop < 0)
                firstStop = w.Depth;
            double next = 0;
            for (int16_t j = i + 1; j <= out.GetLength() && next == 0; ++j)
                if (out.GetStatus(j) == StatusDecoStop)
                    next = out.getDepth(j);
            const double gf = gfHigh - (gfHigh - gfLow) * next / firstStop;
            EXPECT_NEAR(w.GF, gf, 1e-5);

            Tissues shorter = ref;
            ref.Haldane(w.Depth, fN2, fHe, elapsed);
            expectTensions(out, i, ref);
            EXPECT_NEAR(w.Ceiling, ref.Ceiling(gf), 5e-3);
            EXPECT_LE(ref.Ceiling(gf), next + 1e-3) << "the stop does not allow the next";
            if (elapsed > 1.0001) {
                shorter.Haldane(w.Depth, fN2, fHe, elapsed - 1);
                EXPECT_GT(shorter.Ceiling(gf), next - 1e-3) << "the stop is a minute longer than needed";
            }
        }
        EXPECT_GT(stops, 3);
    }
};

TEST_F(ReferenceDive, AirFortyMetresThirtyMinutesGf30Of80)
{
    dive().GFLow = 0.3f;
    dive().GFHigh = 0.8f;
    const ClassProfile in = SquareDive(40, 30);
    const ClassProfile out = plan(in);

    // After the bottom phase: 2 minutes descending at 20 m/min, 28 minutes at 40 m.
    Tissues bottom = Tissues::AirSaturated();
    bottom.Schreiner(0, 20, 0.79, 0, 2);
    bottom.Haldane(40, 0.79, 0, 28);
    ASSERT_TRUE(out.GetEndUserProfile(2));
    expectTensions(out, 2, bottom);
    EXPECT_NEAR(out.GetCeiling(2), bottom.Ceiling(1.0), 5e-3);

    checkAgainstReference(out, 2, bottom);
}

TEST_F(ReferenceDive, TrimixSixtyMetresWithTwoDecoGasesGf30Of70)
{
    dive().GFLow = 0.3f;
    dive().GFHigh = 0.7f;
    dive().Gases.push_back(Gas("Tx 18/45", 18, 45));
    dive().Gases.push_back(Gas("EAN50", 50, 0));
    dive().Gases.push_back(Gas("O2", 100, 0));
    dive().GasChanges = {Switch(dive().Gases[3], 6), Switch(dive().Gases[2], 21)};
    dive().AscendRates = {RateRow(0, 3), RateRow(6, 6), RateRow(20, 9)};
    const ClassProfile in = SquareDive(60, 25, 20, 1, "Tx 18/45");
    const ClassProfile out = plan(in);

    Tissues bottom = Tissues::AirSaturated();
    bottom.Schreiner(0, 20, 0.37, 0.45, 3);
    bottom.Haldane(60, 0.37, 0.45, 22);
    expectTensions(out, 2, bottom);

    checkAgainstReference(out, 2, bottom);
    // The richest gas allowed at each stop: EAN50 from 21 m, oxygen from 6 m.
    for (int16_t i = 3; i <= out.GetLength(); ++i) {
        if (out.GetStatus(i) == StatusDecoStop) {
            EXPECT_EQ(out.GetGasMixName(i),
                      out.getDepth(i) <= 6 ? "O2" : out.getDepth(i) <= 21 ? "EAN50" : "Tx 18/45")
                << out.getDepth(i);
        }
    }
}

} // namespace
