// The ceiling (Buhlmann with Baker's gradient factors, VPM, hybrid), the M-value ratio,
// compartment loads and the depth adjustment, against values worked by hand.

#include "tests/engine/BuhlmannProbe.h"

#include <cmath>
#include <random>

namespace {

using enginetest::EngineTest;
using P = ClassBuhlmannProbe;

class Ceiling : public EngineTest {
protected:
    // A started ZH-L16C engine whose compartments are all empty but compartment 5, which
    // holds 20 msw helium and 20 msw nitrogen. Worked by hand for that compartment:
    //   a = (20 x 9.22 + 20 x 6.2) / 40 = 7.71 msw,  b = (0.7582 + 0.8126) / 2 = 0.7854.
    void startWithCompartment5()
    {
        P::Start(engine, 1, true);
        for (int i = 1; i <= 16; ++i)
            P::CompHe(engine)[i] = P::CompN2(engine)[i] = 0;
        P::CompHe(engine)[5] = 20;
        P::CompN2(engine)[5] = 20;
    }
    ClassBuhlmann engine;
};

TEST_F(Ceiling, BakerToleranceWithAGradientFactorWorkedByHand)
{
    startWithCompartment5();
    // GF 1.0: the plain ZH-L16 tolerated pressure (Ptot - a) b = 32.29 x 0.7854 = 25.3606 msw,
    // 15.3606 m below a 1 bar surface.
    EXPECT_NEAR(P::GetCeiling(engine), 15.3606, 1e-3);
    // GF 0.3: (40 - 0.3 x 7.71) / (0.3 / 0.7854 - 0.3 + 1) = 37.687 / 1.081971 = 34.8318 msw.
    P::GF(engine) = 0.3f;
    EXPECT_NEAR(P::GetCeiling(engine), 24.8318, 1e-3);
    EXPECT_EQ(P::CeilingModel(engine), 2);
    // At altitude the same tolerated pressure lies deeper below a 0.8 bar surface.
    dive().EndPressure = 0.8f;
    EXPECT_NEAR(P::GetCeiling(engine), 26.8318, 1e-3);
}

TEST_F(Ceiling, ImperialScalesAButNotB)
{
    dive().Metric = false;
    startWithCompartment5();
    P::CompHe(engine)[5] = 66; // fsw
    P::CompN2(engine)[5] = 66;
    P::GF(engine) = 0.3f;
    // a = 7.71 x 3.2568467 = 25.1103 fsw, b unchanged:
    // (132 - 0.3 x 25.1103) / 1.081971 = 115.0372 fsw, 82.0372 ft below a 33 fsw surface.
    EXPECT_NEAR(P::GetCeiling(engine), 82.0372, 2e-3);
}

TEST_F(Ceiling, CleanAndEmptyCompartmentsGiveNoCeilingAndNoLoad)
{
    P::Start(engine, 1, true);
    // Saturated with surface air: every tension below its limit, the ceiling is 0, not negative.
    for (int i = 1; i <= 16; ++i) {
        P::CompHe(engine)[i] = 0;
        P::CompN2(engine)[i] = 7.48f;
    }
    EXPECT_EQ(P::GetCeiling(engine), 0);
    // No inert gas at all (a rebreather's oxygen-only diluent): nothing to weigh, no NaN.
    for (int i = 1; i <= 16; ++i)
        P::CompN2(engine)[i] = 0;
    P::GF(engine) = 0.3f;
    EXPECT_EQ(P::GetCeiling(engine), 0);
    EXPECT_EQ(P::CalcMaxMValue(engine, 10), 0);
    Comp16 load{};
    engine.PercentCompartLoad(load, 0);
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(load[i], 0) << i;
}

TEST_F(Ceiling, VpmAndHybridModels)
{
    startWithCompartment5();
    P::VPMGradient(engine) = 20;
    engine.SetCeilingModel(true, false);
    // Ptot - gradient - surface = 40 - 20 - 10.
    EXPECT_NEAR(P::GetCeiling(engine), 10, 1e-5);
    EXPECT_EQ(P::CeilingModel(engine), 1);

    engine.SetCeilingModel(false, true);
    EXPECT_NEAR(P::GetCeiling(engine), 15.3606, 1e-3); // Buhlmann deeper
    EXPECT_EQ(P::CeilingModel(engine), 2);
    P::VPMGradient(engine) = 5;
    EXPECT_NEAR(P::GetCeiling(engine), 25, 1e-5); // VPM deeper
    EXPECT_EQ(P::CeilingModel(engine), 1);
    // A tie counts as Buhlmann: clean tissues give 0 under both.
    P::CompHe(engine)[5] = 0;
    P::CompN2(engine)[5] = 7.48f;
    EXPECT_EQ(P::GetCeiling(engine), 0);
    EXPECT_EQ(P::CeilingModel(engine), 2);
}

TEST_F(Ceiling, MValueRatioAndLoadsWorkedByHand)
{
    startWithCompartment5();
    P::GF(engine) = 0.3f; // neither takes a gradient factor
    // At 10 m: M = 20 / 0.7854 + 7.71 = 33.1748, ratio 40 / M = 1.20574.
    EXPECT_NEAR(P::CalcMaxMValue(engine, 10), 1.205737, 1e-5);
    // Surface M-value 10 / 0.7854 + 7.71 = 20.4423, load 1.95672 whatever the depth.
    Comp16 shallow{};
    Comp16 deep{};
    engine.PercentCompartLoad(shallow, 0);
    engine.PercentCompartLoad(deep, 60);
    EXPECT_NEAR(shallow[5], 1.956721, 1e-5);
    EXPECT_EQ(shallow, deep);
}

// A stop asks, minute after minute, whether the ceiling has come up to the next stop. The
// answer is decided from the compartment that held the diver last time, mostly without
// dividing; it must be the whole ceiling's answer in every case, above all where the two
// are within a rounding of each other.
TEST_F(Ceiling, StopClearanceAgreesWithTheWholeCeiling)
{
    std::mt19937 random(26);
    std::uniform_real_distribution<float> tension(0, 120);
    std::uniform_real_distribution<float> gfs(0.05f, 1.2f);
    std::uniform_int_distribution<int> compartment(1, 16);
    int deciding = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const bool metric = trial % 3 != 2;
        dive().Metric = metric;
        dive().EndPressure = trial % 5 == 0 ? 0.7f : 1.01325f;
        ClassBuhlmann whole;
        P::Start(whole, 1, trial % 2 == 0);
        whole.SetCeilingModel(false, trial % 7 == 0);
        P::VPMGradient(whole) = tension(random) / 4;
        P::GF(whole) = gfs(random);
        for (int i = 1; i <= 16; ++i) {
            const bool empty = compartment(random) <= 3;
            P::CompHe(whole)[i] = empty || trial % 4 == 0 ? 0.0f : tension(random);
            P::CompN2(whole)[i] = empty ? 0.0f : tension(random) * (metric ? 1.0f : 3.3f);
        }
        const float ceiling = P::GetCeiling(whole);
        // At the ceiling, a few Single steps either side of it, and well clear of it.
        std::vector<float> depths = {ceiling, ceiling + 0.5f, ceiling - 0.5f, ceiling * 0.9f, 0.0f};
        float up = ceiling, down = ceiling;
        for (int step = 0; step < 3; ++step) {
            up = std::nextafter(up, INFINITY);
            down = std::nextafter(down, -INFINITY);
            depths.push_back(up);
            depths.push_back(down);
        }
        for (float depth : depths) {
            ClassBuhlmann quick = whole;
            P::Leading(quick) = compartment(random);
            const bool expected = depth >= 0 && ceiling <= depth;
            ASSERT_EQ(P::CeilingAtOrAbove(quick, depth), expected)
                << "trial " << trial << " depth " << depth << " ceiling " << ceiling;
            deciding += expected ? 0 : 1;
        }
    }
    // Both answers were given many times over.
    EXPECT_GT(deciding, 10000);
    EXPECT_LT(deciding, 3000 * 11 - 10000);
}

} // namespace
