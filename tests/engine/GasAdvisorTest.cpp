// The gas advisor's arithmetic: best mixes at the edges of the limits, checked against
// whole-percent arithmetic done here in integers, and the END and ppO2 of a mix.

#include "engine/GasAdvisor.h"
#include "engine/VBConversions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct Dive {
    bool metric;
    bool openCircuit;
    bool o2Narcotic;
    int limitCentibar; // the ppO2 limit in hundredths (MaxPPO2 or Setpoint)
    int maxEND;        // depth units
    int depth;         // depth units
};

struct Mixes {
    std::string nitroxO2, nitroxN2, trimixO2, trimixHe, trimixN2, helioxO2, helioxHe;
};

// The best mixes in whole percent, by exact integer arithmetic at sea level: with
// k = 10 (m/bar) or 33 (ft/atm), the absolute depth is A = k + d depth units. The best
// O2 is the largest whole percent p with p/100 x A/k <= limit; a gas is narcotic up to
// the share (k + END) / A of the breath (nitrogen counted against the 79 % of air).
Mixes reference(const Dive &dv)
{
    const int k = dv.metric ? 10 : 33;
    const int A = k + dv.depth;
    const int o2 = std::min(100, dv.limitCentibar * k / A);
    Mixes m;
    m.trimixO2 = m.helioxO2 = std::to_string(o2);

    const bool nitroxFits = dv.o2Narcotic ? dv.maxEND >= dv.depth
                                          : (100 - o2) * A <= 79 * (k + dv.maxEND);
    m.nitroxO2 = nitroxFits ? std::to_string(o2) : "n/a";
    m.nitroxN2 = nitroxFits ? std::to_string(100 - o2) : "n/a";

    int n2;
    if (dv.o2Narcotic)
        n2 = 100 * (k + dv.maxEND) / A - o2; // narcotic share less the oxygen
    else
        n2 = 79 * (k + dv.maxEND) / A;
    n2 = std::clamp(n2, 0, 100 - o2);
    m.trimixN2 = std::to_string(n2);
    m.trimixHe = std::to_string(100 - o2 - n2);

    // Heliox: only the oxygen can be narcotic; its END is o2/100 x A - k.
    const bool helioxFits = !dv.o2Narcotic || o2 * A <= 100 * (k + dv.maxEND);
    m.helioxO2 = helioxFits ? std::to_string(o2) : "n/a";
    m.helioxHe = helioxFits ? std::to_string(100 - o2) : "n/a";
    return m;
}

struct AdvisorCase {
    const char *name;
    Dive dive;
};

void PrintTo(const AdvisorCase &c, std::ostream *os) { *os << c.name; }

class BestMixTest : public ::testing::TestWithParam<AdvisorCase> {};

// A fraction as the whole percent the advisor's panels show.
std::string percent(float fraction)
{
    return FormatFixed(static_cast<float>(double(fraction) * 100.0), 0);
}

TemplateRec settingsOf(const Dive &dv)
{
    TemplateRec t;
    t.Metric = dv.metric;
    t.StartPressure = 1;
    t.OpenCircuit = dv.openCircuit;
    t.O2Narcotic = dv.o2Narcotic;
    (dv.openCircuit ? t.MaxPPO2 : t.Setpoint) = dv.limitCentibar / 100.0f;
    t.MaximalEND = static_cast<float>(dv.maxEND);
    return t;
}

} // namespace

TEST_P(BestMixTest, BestMixOfEachFamily)
{
    const Dive &dv = GetParam().dive;
    const TemplateRec t = settingsOf(dv);
    const float depth = static_cast<float>(dv.depth);
    const Mixes want = reference(dv);

    const AdvisedMix nitrox = BestNitrox(t, depth);
    EXPECT_EQ(nitrox.Possible, want.nitroxO2 != "n/a");
    if (nitrox.Possible) {
        EXPECT_EQ(percent(nitrox.O2), want.nitroxO2);
        EXPECT_EQ(percent(nitrox.N2), want.nitroxN2);
    }
    const AdvisedMix trimix = BestTrimix(t, depth);
    EXPECT_EQ(percent(trimix.O2), want.trimixO2);
    EXPECT_EQ(percent(trimix.He), want.trimixHe);
    EXPECT_EQ(percent(trimix.N2), want.trimixN2);
    EXPECT_NEAR(trimix.O2 + trimix.N2 + trimix.He, 1, 1e-5);
    const AdvisedMix heliox = BestHeliox(t, depth);
    EXPECT_EQ(heliox.Possible, want.helioxO2 != "n/a");
    if (heliox.Possible) {
        EXPECT_EQ(percent(heliox.O2), want.helioxO2);
        EXPECT_EQ(percent(heliox.He), want.helioxHe);
    }
    // The advised oxygen keeps the ppO2 limit.
    EXPECT_LE(AdvisorPPO2(t, depth, trimix.O2), dv.limitCentibar / 100.0f + 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BestMixTest,
    ::testing::Values(
        // 40 m: nitrox 72 % N2 exceeds the limit 0.79 x 40 / 50 = 63.2 %; trimix 28/9/63.
        AdvisorCase{"Metres40", {true, true, false, 140, 30, 40}},
        // The last whole metre with a nitrox: 69 % N2 within 0.79 x 40 / 45 = 70.2 %.
        AdvisorCase{"Metres35StillNitrox", {true, true, false, 140, 30, 35}},
        AdvisorCase{"Metres36", {true, true, false, 140, 30, 36}},
        AdvisorCase{"Metres20", {true, true, false, 140, 30, 20}},
        AdvisorCase{"Surface", {true, true, false, 140, 30, 0}},
        AdvisorCase{"Metres90", {true, true, false, 140, 30, 90}},
        AdvisorCase{"RebreatherSetpoint30m", {true, false, false, 130, 30, 30}},
        AdvisorCase{"Feet99", {false, true, false, 140, 100, 99}},
        AdvisorCase{"Feet198", {false, true, false, 140, 100, 198}},
        AdvisorCase{"NarcoticAtTheEndLimit", {true, true, true, 140, 30, 30}},
        AdvisorCase{"NarcoticBeyondTheEndLimit", {true, true, true, 140, 30, 31}},
        AdvisorCase{"NarcoticSurface", {true, true, true, 140, 30, 0}},
        // Oxygen alone (28 % at 5 bar: END 4 m) exceeds an END limit of 3 m.
        AdvisorCase{"NarcoticOxygenAloneTooNarcotic", {true, true, true, 140, 3, 40}},
        AdvisorCase{"NarcoticFeet", {false, true, true, 140, 100, 132}}),
    [](const ::testing::TestParamInfo<AdvisorCase> &p) { return p.param.name; });


TEST(GasAdvisor, EndAndPpO2OfAMix)
{
    TemplateRec t;
    t.Metric = true;
    t.StartPressure = 1;
    // Air at 30 m: END 30 m; EAN32 at 30 m: (40 x 0.68 / 0.79) - 10 = 24.43 m, ppO2 1.28 bar.
    EXPECT_NEAR(AdvisorEND(t, 30, 0.21f, 0.79f), 30, 1e-4);
    EXPECT_NEAR(AdvisorEND(t, 30, 0.32f, 0.68f), 40 * 0.68 / 0.79 - 10, 1e-4);
    EXPECT_NEAR(AdvisorPPO2(t, 30, 0.32f), 1.28, 1e-6);
    // With oxygen narcotic the whole nitrox counts: its END is the depth.
    t.O2Narcotic = true;
    EXPECT_NEAR(AdvisorEND(t, 30, 0.32f, 0.68f), 30, 1e-4);
    // Feet at 1 atm: 99 ft on Tx 18/45 has 37 % nitrogen: 132 x 0.37 / 0.79 - 33.
    t.Metric = false;
    t.O2Narcotic = false;
    EXPECT_NEAR(AdvisorEND(t, 99, 0.18f, 0.37f), 132 * 0.37 / 0.79 - 33, 1e-3);
    EXPECT_NEAR(AdvisorPPO2(t, 99, 0.18f), 0.72, 1e-6);
    // A nitrox whose nitrogen is short of the rest is the limit a search could not meet.
    t.Metric = true;
    t.MaximalEND = 30;
    EXPECT_TRUE(NitroxAvailable(t, 20, 0.32f, 0.68f));
    EXPECT_FALSE(NitroxAvailable(t, 20, 0.32f, 0.6f));
    EXPECT_FLOAT_EQ(RoundDownPercent(0.289f), 0.28f);
}
