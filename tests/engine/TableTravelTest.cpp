// Table dives built without the editor: travel cut at the rate bands, the level piece
// that fills the leg, the gas of each waypoint and refused rate tables.

#include "engine/ClassProfile.h"
#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Piece {
    float depth, time, rate, runTime;
    int16_t status;
};

std::vector<RateRecord> rows(std::initializer_list<std::pair<float, float>> depthAndRate)
{
    std::vector<RateRecord> r;
    for (const auto &[depth, rate] : depthAndRate)
        r.push_back({0, 0, rate, depth});
    return r;
}

class TableTravel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        dive().DescendRates = rows({{0, 10}, {20, 20}, {40, 30}});
        dive().AscendRates = rows({{0, 3}, {6, 9}, {21, 10}});
        dive().Gases.push_back({"Tx 21/35", 21, 44, 35, 0});
    }
    void TearDown() override { ResetEngineGlobals(); }
    static TemplateRec &dive() { return gSettings[0].Template; }

    // Appends the leg to a new profile and compares its waypoints.
    void expectLeg(float start, float from, float end, float to, const std::vector<Piece> &expected,
                   float movedEnd = -1)
    {
        ClassProfile p;
        AddTableTravel(p, dive(), start, from, end, to, 0, 0);
        EXPECT_FLOAT_EQ(end, movedEnd < 0 ? end : movedEnd);
        ASSERT_EQ(p.GetLength(), static_cast<int16_t>(expected.size()));
        for (int16_t i = 1; i <= p.GetLength(); ++i) {
            SCOPED_TRACE(i);
            const Piece &e = expected[static_cast<size_t>(i - 1)];
            EXPECT_FLOAT_EQ(p.getDepth(i), e.depth);
            EXPECT_NEAR(p.GetSegmentTime(i), e.time, 1e-5);
            EXPECT_FLOAT_EQ(p.GetRate(i), e.rate);
            EXPECT_NEAR(p.GetRunTime(i), e.runTime, 1e-5);
            EXPECT_EQ(p.GetStatus(i), e.status);
        }
    }

    FakeEngineHost host;
};

TEST_F(TableTravel, DescentIsCutAtTheBandDepths)
{
    // 0-20 at 10 m/min (status 2 at the band depth), 20-30 at 20, then level to 25 min.
    expectLeg(0, 0, 25, 30, {{20, 2, 10, 2, 2}, {30, 0.5f, 20, 2.5f, 1}, {30, 22.5f, 0, 25, 1}});
    // From a band depth past two more, starting at minute 5.
    expectLeg(5, 20, 10, 70, {{40, 1, 20, 6, 2}, {70, 1, 30, 7, 1}, {70, 3, 0, 10, 1}});
    // Ending exactly on a band depth: the band above it, arrival on time, no level piece.
    expectLeg(0, 0, 2, 20, {{20, 2, 10, 2, 1}});
    // Travel that needs longer than the leg allows moves its end.
    expectLeg(1, 0, 3, 30, {{20, 2, 10, 3, 2}, {30, 0.5f, 20, 3.5f, 1}}, 3.5f);
    // A single band: 1.5 min to 30 m at 20 m/min, then 23.5 min level.
    dive().DescendRates = rows({{0, 20}});
    expectLeg(0, 0, 25, 30, {{30, 1.5f, 20, 1.5f, 1}, {30, 23.5f, 0, 25, 1}});
    // A level leg is one waypoint.
    expectLeg(10, 18, 30, 18, {{18, 20, 0, 30, 1}});
}

TEST_F(TableTravel, AscentIsCutAtTheBandDepthsFromTheBottom)
{
    // 40-21 at 10 (1.9 min), 21-6 at 9 (5/3 min), 6-0 at 3 (2 min), all negative rates.
    const float t1 = 1.9f, t2 = 15.0f / 9, t3 = 2, arrive = 20 + t1 + t2 + t3;
    expectLeg(20, 40, 30, 0, {{21, t1, -10, 20 + t1, 3}, {6, t2, -9, 20 + t1 + t2, 3},
                              {0, t3, -3, arrive, 1}, {0, 30 - arrive, 0, 30, 1}});
}

TEST_F(TableTravel, WaypointsTakeTheGivenDivesRatesAndGas)
{
    ClassProfile p;
    AddTableWaypoint(p, dive(), 12, 3, 0, 7, StatusUserLeg, 0);
    EXPECT_EQ(p.GetGasMixName(1), "Air");
    EXPECT_EQ(p.GetGasMixO2(1), 21);
    EXPECT_EQ(p.GetGasMixN2(1), 79);
    EXPECT_EQ(p.GetGasMixHe(1), 0);
    EXPECT_FLOAT_EQ(p.GetRunTime(1), 10);
    EXPECT_THROW(AddTableWaypoint(p, dive(), 12, 3, 0, 7, StatusUserLeg, 2), RuntimeError); // no mix 2

    // Another dive's settings: its rates (3 min to 30 m) and gas.
    TemplateRec other;
    other.DescendRates = rows({{0, 10}});
    other.Gases.push_back({"EAN32", 32, 68, 0, 0});
    ClassProfile q;
    float end = 20;
    AddTableTravel(q, other, 0, 0, end, 30, 1, 0);
    EXPECT_FLOAT_EQ(q.GetSegmentTime(1), 3);
    EXPECT_EQ(q.GetGasMixName(1), "EAN32");
    EXPECT_EQ(q.GetGasMixO2(2), 32);
}

TEST_F(TableTravel, RateTablesThatCannotCarryTheLegAreRefused)
{
    // The refusal reaches the diver in the program's language and names the table at fault.
    ScopedEnv install("DOLV_INSTALL_DIR", DOLV_SOURCE_DIR);
    std::string german = "DOLV_de.lng";
    ASSERT_EQ(LoadLanguageDll(german), 1);
    const struct {
        const char *name;
        std::vector<RateRecord> descent, ascent;
        float from, to;
        const char *says;
    } cases[] = {
        {"no descent rows", {}, rows({{0, 9}}), 0, 30, "Abstiegsgeschwindigkeiten hat keine Zeilen"},
        {"descent rate 0", rows({{0, 10}, {20, 0}}), rows({{0, 9}}), 0, 30, "jede Abstiegsgeschwindigkeit"},
        {"descent table starts below the start", rows({{5, 10}}), rows({{0, 9}}), 0, 30,
         "jede Abstiegsgeschwindigkeit"},
        {"no ascent rows", rows({{0, 10}}), {}, 30, 0, "Aufstiegsgeschwindigkeiten hat keine Zeilen"},
        {"negative ascent rate", rows({{0, 10}}), rows({{0, -9}}), 30, 0, "jede Aufstiegsgeschwindigkeit"},
        {"ascent table starts below the end", rows({{0, 10}}), rows({{3, 9}}), 30, 0,
         "jede Aufstiegsgeschwindigkeit"},
        {"descent bands out of order", rows({{0, 10}, {40, 30}, {20, 20}}), rows({{0, 9}}), 0, 30,
         "Bandtiefen einer"},
        {"ascent bands out of order", rows({{0, 10}}), rows({{0, 3}, {21, 10}, {6, 9}}), 40, 0,
         "Bandtiefen einer"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dive().DescendRates = c.descent;
        dive().AscendRates = c.ascent;
        ClassProfile p;
        float end = 40;
        try {
            AddTableTravel(p, dive(), 0, c.from, end, c.to, 0, 0);
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrBadSettings);
            EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
        }
        EXPECT_EQ(p.GetLength(), 0);
    }
    FreeLanguageDll();
}

} // namespace
