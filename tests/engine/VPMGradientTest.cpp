// The VPM allowed gradient against the closed form of the permeable region and a
// bisection solution of the impermeable region's Boyle's-law cubic, worked in double.

#include "engine/ClassVPMGF.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kGamma = 0.0179, kGammaC = 0.257, kR0 = 1e-6; // N/m, N/m, m
const double kOnset = 932190;                                // Pa

struct Reference {
    double gradF; // msw or fsw
    double micron;
};

// The textbook calculation: crushing pressure from the deepest depth, radius after the
// crush (permeable: 1/r = 1/r0 + dP/A; impermeable: the cubic solved by bisection), and
// G = gamma A / (r0 gammaC) + (P - Pref (r1/r)^3) gamma / gammaC.
Reference reference(double depth, double surface, bool metric)
{
    const double pref = metric ? 100000 : 101325;
    const double k = metric ? 10 : 33;
    const double P = (depth + surface * k) / (surface * k) * pref;
    const double A = 2 * (kGammaC - kGamma);
    const double base = kGamma * A / (kR0 * kGammaC);
    if (P <= kOnset) {
        const double r = 1 / (1 / kR0 + (P - pref) / A);
        const double G = base + (P - pref) * kGamma / kGammaC;
        return {G / pref * surface * k, r * 1e6};
    }
    const double r1 = 1 / (1 / kR0 + (kOnset - pref) / A);
    const double a = A / r1 + P - kOnset + pref;
    auto f = [&](double r) { return a * r * r * r - A * r * r - pref * r1 * r1 * r1; };
    double lo = A / a, hi = r1; // f(lo) < 0 < f(hi) above the onset
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (f(mid) < 0 ? lo : hi) = mid;
    }
    const double r = (lo + hi) / 2;
    const double G = base + (P - pref * std::pow(r1 / r, 3)) * kGamma / kGammaC;
    return {G / pref * surface * k, r * 1e6};
}

ClassVPMGF started(float depth, float surface, bool metric)
{
    ClassVPMGF vpm;
    vpm.SetVPMValues(0.0179f, 0.257f, 1.0f, surface, metric);
    vpm.VPMStart(depth);
    return vpm;
}

TEST(VPMGradient, WorkedExampleAt30Metres)
{
    // Ratio 4, A = 2 (0.257 - 0.0179) = 0.4782 N/m:
    // G = 0.0179 x 0.4782 / (1e-6 x 0.257) + 300000 x 0.0179 / 0.257
    //   = 33306.5 + 20894.9 = 54201.5 Pa = 5.420 msw; radius 1e-6 / (1 + 0.3 / 0.4782) = 0.6145 um.
    const ClassVPMGF vpm = started(30, 1.0f, true);
    EXPECT_NEAR(vpm.GetGradF(), 5.42015, 1e-4);
    EXPECT_NEAR(vpm.GetGradP(), 54201.5, 0.1);
    EXPECT_NEAR(vpm.GetMicron(), 0.61450, 1e-4);
    EXPECT_EQ(vpm.getDepth(), 30);
    EXPECT_EQ(vpm.GetFstop(), 30); // 5.42 / 10 - 0.5 rounds to 0
}

TEST(VPMGradient, AgreesWithTheTextbookCalculation)
{
    const struct {
        const char *name;
        float depth, surface;
        bool metric;
    } cases[] = {
        {"10 m", 10, 1.0f, true},
        {"50 m", 50, 1.0f, true},
        {"83.219 m, last permeable depth", 83.219f, 1.0f, true},
        {"90 m", 90, 1.0f, true},
        {"120 m", 120, 1.0f, true},
        {"200 m", 200, 1.0f, true},
        {"100 ft", 100, 1.0f, false},
        {"400 ft", 400, 1.0f, false},
        {"60 m at 0.8 bar", 60, 0.8f, true},
        {"70 m at 0.8 bar", 70, 0.8f, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ClassVPMGF vpm = started(c.depth, c.surface, c.metric);
        const Reference ref = reference(c.depth, c.surface, c.metric);
        // Single arithmetic and an 11-step Newton root: 1e-4 relative.
        EXPECT_NEAR(vpm.GetGradF(), ref.gradF, 1e-4 * ref.gradF);
        EXPECT_NEAR(vpm.GetMicron(), ref.micron, 1e-4 * ref.micron);
    }
}

TEST(VPMGradient, OnsetOfImpermeability)
{
    // Ratio 9.3219 (Ponset / 1 bar) is still permeable: the crushed radius of that
    // region, 1 / (1/r0 + dP/A), is what 83.219 m gives.
    const ClassVPMGF last = started(83.219f, 1.0f, true);
    EXPECT_NEAR(last.GetMicron(), 1e6 / (1e6 + 832190 / 0.4782), 1e-5);
    // Just deeper the cubic takes over, continuously.
    const ClassVPMGF next = started(83.3f, 1.0f, true);
    EXPECT_LT(next.GetMicron(), last.GetMicron());
    EXPECT_NEAR(next.GetGradF(), last.GetGradF(), 0.01);
    // At 0.8 bar the onset is at 66.575 m: the radius there is the onset radius, and
    // 67 m is already in the cubic region (the permeable formula would give less crush).
    const double onsetMicron = 1e6 / (1e6 + 832190 / 0.4782);
    EXPECT_NEAR(started(66.575f, 0.8f, true).GetMicron(), onsetMicron, 1e-5);
    const double permeable67 = 1e6 / (1e6 + ((67 + 8) / 8.0 - 1) * 100000 / 0.4782);
    EXPECT_GT(started(67, 0.8f, true).GetMicron(), permeable67 + 1e-4);
}

TEST(VPMGradient, RootStopsAfterElevenSteps)
{
    // r^3 - 1 = 0 from r = 1000 converges slowly (each step about 2/3): after 11 Newton
    // steps r is still near 11.6, far from 1.
    double r = 1000;
    for (int i = 0; i < 11; ++i)
        r -= (r * r * r - 1) / (3 * r * r);
    float root = 0;
    ClassVPMGF::Root(1, 0, 1, 1000, 1000, root);
    EXPECT_NEAR(root, r, 1e-4 * r);
    // A well-started root converges.
    ClassVPMGF::Root(2, 1, 3, 0.5f, 2.5f, root); // 2r^3 - r^2 - 3 = 0 at r = 1.2374
    EXPECT_NEAR(2 * root * root * root - root * root - 3, 0, 1e-5);
}

TEST(VPMGradient, NucleusConstantsThatDivideByZeroAreAnError)
{
    ClassVPMGF vpm;
    vpm.SetVPMValues(0.2f, 0.2f, 1.0f, 1.0f, true); // gammaC = gamma
    try {
        vpm.VPMStart(30);
        FAIL();
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrDivisionByZero);
    }
}

} // namespace
