// The blending arithmetic against values worked out independently: the ideal fills by
// hand, the van der Waals densities by bisection on the pressure equation (not the
// closed-form cubic the program solves), and the real-gas fills of the blending tables.

#include "blending/BlendComputations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

BlendInputs Blend(float curFill, float curO2, float curHe, float desFillBar, float desO2, float desHe,
                  bool metric = true)
{
    BlendInputs in;
    in.CurFillValue = curFill;
    in.CurO2Pct = curO2;
    in.CurHePct = curHe;
    in.CurN2Pct = 100 - curO2 - curHe;
    in.DesFillBar = desFillBar;
    in.DesO2Pct = desO2;
    in.DesHePct = desHe;
    in.DesN2Pct = 100 - desO2 - desHe;
    in.Metric = metric;
    return in;
}

// Van der Waals constants of the pure gases (L^2 bar/mol^2, L/mol) and R (L bar/(K mol)).
constexpr double kR = 0.0831451;
struct Gas {
    double a, b;
};
constexpr Gas kO2{1.37802, 0.0318}, kN2{1.4084175, 0.0391}, kHe{0.034551825, 0.0237};

// The density at which P = nRT/(1 - nb) - a n^2 equals P, by bisection: above their
// critical temperatures the pressure rises with the density all the way to n = 1/b.
double DensityByBisection(double a, double b, double P, double T = 293)
{
    double lo = 0, hi = 0.999999 / b;
    for (int i = 0; i < 200; ++i) {
        const double n = (lo + hi) / 2;
        (n * kR * T / (1 - n * b) - a * n * n < P ? lo : hi) = n;
    }
    return (lo + hi) / 2;
}

// The mixing rule in its factored form, c = 1 / (sum of x_i / sqrt(c_i))^2.
double Mixed(double xO2, double xN2, double xHe, double cO2, double cN2, double cHe)
{
    const double s = xO2 / std::sqrt(cO2) + xN2 / std::sqrt(cN2) + xHe / std::sqrt(cHe);
    return 1 / (s * s);
}

} // namespace

// The shown examples (27.8/0.0/171.2 and the others) are checked in the window's tests.
TEST(AirTopFill, ReadsAnImperialCurrentFillAs14Point7PsiPerBar)
{
    const AirTopFill metric = CalcAirTop(Blend(1, 21, 0, 200, 18, 45));
    const AirTopFill imperial = CalcAirTop(Blend(14.7f, 21, 0, 200, 18, 45, false));
    for (auto amount : {&AirTopFill::AirTopO2, &AirTopFill::AirTopHe, &AirTopFill::AirTopAir})
        EXPECT_NEAR(imperial.*amount, metric.*amount, 1e-3);
    // Every bar of the fill comes from one of the three: 199 bar.
    EXPECT_NEAR(metric.AirTopO2 + metric.AirTopHe + metric.AirTopAir, 19900, 0.05);
}

TEST(VanDerWaals, DensitiesMatchTheEquationOfState)
{
    struct Case {
        const char *what;
        GasFractions x;
        double a, b;
        double about; // mol/L at 200 bar and 293 K
    };
    const Case cases[] = {
        {"oxygen", {1, 0, 0}, kO2.a, kO2.b, 9.19},
        {"nitrogen", {0, 1, 0}, kN2.a, kN2.b, 8.22},
        {"helium", {0, 0, 1}, kHe.a, kHe.b, 6.92},
        {"air 21/79", {0.21f, 0.79f, 0}, Mixed(0.21, 0.79, 0, kO2.a, kN2.a, kHe.a),
         Mixed(0.21, 0.79, 0, kO2.b, kN2.b, kHe.b), 8.42},
        {"trimix 18/45/37", {0.18f, 0.37f, 0.45f}, Mixed(0.18, 0.37, 0.45, kO2.a, kN2.a, kHe.a),
         Mixed(0.18, 0.37, 0.45, kO2.b, kN2.b, kHe.b), 0},
    };
    for (const Case &c : cases) {
        const float a = VdwMixA(c.x), b = VdwMixB(c.x);
        EXPECT_NEAR(a, c.a, 1e-6 * c.a) << c.what;
        EXPECT_NEAR(b, c.b, 1e-6 * c.b) << c.what;
        const double reference = DensityByBisection(c.a, c.b, 200);
        if (c.about > 0) {
            EXPECT_NEAR(reference, c.about, 0.01) << c.what;
        }
        EXPECT_NEAR(VdwDensity(a, b, 200, kBlendTemperature), reference, 1e-4 * reference) << c.what;
    }
}

TEST(VanDerWaals, PressureOfTheDensityIsThePressure)
{
    const GasFractions gases[] = {{0.21f, 0.79f, 0}, {1, 0, 0}, {0, 0, 1}, {0.18f, 0.37f, 0.45f}};
    for (const GasFractions &x : gases) {
        const float a = VdwMixA(x), b = VdwMixB(x);
        for (float P : {50.0f, 200.0f, 300.0f})
            EXPECT_NEAR(VdwPressure(VdwDensity(a, b, P, 293), 293, a, b), P, 1e-4 * P) << x.O2 << " at " << P;
        // At 1 bar the closed form loses digits to cancellation in single precision.
        EXPECT_NEAR(VdwPressure(VdwDensity(a, b, 1, 293), 293, a, b), 1, 2e-4) << x.O2;
    }
}

TEST(VanDerWaals, FillsHeliumThenOxygenThenAir)
{
    // Trimix 18/45 from an empty air cylinder: He to about 80.5 bar, O2 to about 96.7.
    const auto trimix = CalcVanDerWaals(Blend(1, 21, 0, 200, 18, 45));
    ASSERT_TRUE(trimix);
    EXPECT_TRUE(trimix->HeStep);
    EXPECT_NEAR(trimix->PHe, 80.5, 0.1);
    EXPECT_NEAR(trimix->PO2, 96.7, 0.1);
    EXPECT_NEAR(trimix->HeToAdd() + trimix->O2ToAdd() + trimix->AirToAdd(), 199, 1e-3);

    // Nitrox needs no He: O2 from the current fill to about 29.5 bar.
    const auto nitrox = CalcVanDerWaals(Blend(1, 21, 0, 200, 32, 0));
    ASSERT_TRUE(nitrox);
    EXPECT_FALSE(nitrox->HeStep);
    EXPECT_EQ(nitrox->HeToAdd(), 0);
    EXPECT_NEAR(nitrox->PO2, 29.5, 0.1);

    // The real-gas top-up counts air as 20.8 % O2, so plain air still wants a little O2.
    const auto air = CalcVanDerWaals(Blend(1, 21, 0, 200, 21, 0));
    ASSERT_TRUE(air);
    EXPECT_NEAR(air->PO2, 1.5, 0.1);
}

TEST(VanDerWaals, GivesNoAnswerWhereTheEquationsHaveNone)
{
    EXPECT_FALSE(CalcVanDerWaals(Blend(1, 21, 0, 200, 0, 0))) << "no O2 wanted (an empty field)";
    // Every mole sum would be 0.
    EXPECT_FALSE(CalcVanDerWaals(Blend(200, 100, 0, 0, 32, 0))) << "desired fill 0 from 200 bar of oxygen";
    // Over 100 % with a fill may still leave usable mixtures: then real numbers, never nan.
    for (const BlendInputs &in : {Blend(1, 21, 0, 200, 60, 50), Blend(50, 60, 50, 200, 32, 0)})
        if (const auto fill = CalcVanDerWaals(in)) {
            EXPECT_TRUE(std::isfinite(fill->PHe) && std::isfinite(fill->PO2));
        }
}
