// The ZH-L16 coefficient sets against the published tables.

#include "tests/engine/BuhlmannProbe.h"
#include "tests/engine/PublishedZHL16.h"

#include <cmath>

namespace {

using enginetest::EngineTest;
using P = ClassBuhlmannProbe;
using namespace zhl16;

class Coefficients : public EngineTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Coefficients, MatchThePublishedTable)
{
    const bool modelC = GetParam();
    ClassBuhlmann b;
    P::Start(b, 1, modelC);
    for (int i = 1; i <= 16; ++i) {
        SCOPED_TRACE(i);
        const int k = i - 1;
        // a is held in msw: bar x 10.
        EXPECT_NEAR(P::aN2(b)[i], (modelC ? kN2aC[k] : kN2aB[k]) * 10, 1e-5);
        EXPECT_NEAR(P::aHe(b)[i], kHea[k] * 10, 1e-5);
        EXPECT_NEAR(P::bN2(b)[i], kN2b[k], 1e-6);
        EXPECT_NEAR(P::bHe(b)[i], kHeb[k], 1e-6);
        EXPECT_NEAR(P::HalfTimeN2(b)[i], kHalfTimeN2[k], 1e-5);
        EXPECT_NEAR(P::HalfTimeHe(b)[i], kHalfTimeHe[k], 1e-5);
        // Rate constants k = ln 2 / half-time.
        EXPECT_NEAR(P::kN2(b)[i], std::log(2.0) / kHalfTimeN2[k], 1e-7);
        EXPECT_NEAR(P::kHe(b)[i], std::log(2.0) / kHalfTimeHe[k], 1e-7);
    }
}

INSTANTIATE_TEST_SUITE_P(ZHL16, Coefficients, ::testing::Values(false, true),
                         [](const auto &p) { return p.param ? "C" : "B"; });

} // namespace
