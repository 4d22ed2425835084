// Table dives built without the editor: travel cut at the rate bands, the level piece
// that fills the leg, the gas of each waypoint and refused rate tables.

#include "engine/ClassProfile.h"
#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/RuntimeError.h"
#include "tests/support/FakeEngineHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Piece {
    float depth, time, rate, runTime;
    int16_t status;
};

std::vector<RateRecord> rows(std::initializer_list<std::pair<float, float>> depthAndRate)
{
    std::vector<RateRecord> r;
    for (const auto &[depth, rate] : depthAndRate) {
        RateRecord row;
        row.Depth = depth;
        row.Rate = rate;
        r.push_back(row);
    }
    return r;
}

class TableTravel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        gSettings[0].Template.Metric = true;
        gSettings[0].Template.Gases.push_back({"Tx 21/35", 21, 44, 35, 0});
    }
    void TearDown() override { ResetEngineGlobals(); }

    void expectPieces(const ClassProfile &p, const std::vector<Piece> &expected)
    {
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

    TemplateRec &dive() { return gSettings[0].Template; }
    FakeEngineHost host;
};

TEST_F(TableTravel, DescentInOneBandThenLevel)
{
    dive().DescendRates = rows({{0, 20}});
    ClassProfile p;
    float end = 25;
    AddTableTravel(p, 0, 0, end, 30, 0, 0);
    // 30 m at 20 m/min = 1.5 min, then 23.5 min at 30 m.
    expectPieces(p, {{30, 1.5f, 20, 1.5f, 1}, {30, 23.5f, 0, 25, 1}});
    EXPECT_EQ(end, 25);
}

TEST_F(TableTravel, DescentIsCutAtEachBandDepth)
{
    dive().DescendRates = rows({{0, 10}, {20, 20}, {40, 30}});
    ClassProfile p;
    float end = 25;
    AddTableTravel(p, 0, 0, end, 30, 0, 0);
    // 20 m at 10 m/min (2 min), then 10 m at 20 m/min (0.5 min); the 40 m band is not reached.
    expectPieces(p, {{20, 2, 10, 2, 2}, {30, 0.5f, 20, 2.5f, 1}, {30, 22.5f, 0, 25, 1}});

    // Starting at a band depth and going past two more: 20-40 at 20, 40-70 at 30.
    ClassProfile q;
    end = 10;
    AddTableTravel(q, 5, 20, end, 70, 0, 0);
    expectPieces(q, {{40, 1, 20, 6, 2}, {70, 1, 30, 7, 1}, {70, 3, 0, 10, 1}});

    // A leg ending exactly on a band depth takes the band above it.
    ClassProfile s;
    end = 2;
    AddTableTravel(s, 0, 0, end, 20, 0, 0);
    expectPieces(s, {{20, 2, 10, 2, 1}});
}

TEST_F(TableTravel, AscentIsCutAtEachBandDepthFromTheBottom)
{
    dive().AscendRates = rows({{0, 3}, {6, 9}, {21, 10}});
    ClassProfile p;
    float end = 30;
    AddTableTravel(p, 20, 40, end, 0, 0, 0);
    // 40-21 at 10 (1.9 min), 21-6 at 9 (5/3 min), 6-0 at 3 (2 min), then 4.433 min at 0.
    const float t1 = 1.9f, t2 = 15.0f / 9, t3 = 2;
    expectPieces(p, {{21, t1, -10, 20 + t1, 3},
                     {6, t2, -9, 20 + t1 + t2, 3},
                     {0, t3, -3, 20 + t1 + t2 + t3, 1},
                     {0, 30 - (20 + t1 + t2 + t3), 0, 30, 1}});

    // Within the deepest band only.
    ClassProfile q;
    end = 3;
    AddTableTravel(q, 0, 50, end, 30, 0, 0);
    expectPieces(q, {{30, 2, -10, 2, 1}, {30, 1, 0, 3, 1}});
}

TEST_F(TableTravel, SlowTravelMovesTheEndTime)
{
    dive().DescendRates = rows({{0, 10}});
    ClassProfile p;
    float end = 3;
    AddTableTravel(p, 1, 0, end, 45, 0, 0);
    // 4.5 min of travel from minute 1: arrival at 5.5, no level piece.
    expectPieces(p, {{45, 4.5f, 10, 5.5f, 1}});
    EXPECT_FLOAT_EQ(end, 5.5f);

    ClassProfile q;
    end = 4.5f;
    AddTableTravel(q, 0, 0, end, 45, 0, 0); // arrival exactly at the end: no level piece
    EXPECT_EQ(q.GetLength(), 1);
}

TEST_F(TableTravel, LevelLegIsOneWaypoint)
{
    ClassProfile p;
    float end = 30;
    AddTableTravel(p, 10, 18, end, 18, 1, 0);
    expectPieces(p, {{18, 20, 0, 30, 1}});
}

TEST_F(TableTravel, WaypointsCarryTheGasOfTheDive)
{
    dive().DescendRates = rows({{0, 20}});
    ClassProfile p;
    AddTableWaypoint(p, 12, 3, 0, 7, 1, 0);
    EXPECT_EQ(p.GetGasMixName(1), "Air");
    EXPECT_EQ(p.GetGasMixO2(1), 21);
    EXPECT_EQ(p.GetGasMixN2(1), 79);
    EXPECT_EQ(p.GetGasMixHe(1), 0);
    EXPECT_EQ(p.getmixnumber(1), 0);
    EXPECT_FLOAT_EQ(p.GetRunTime(1), 10);

    float end = 10;
    AddTableTravel(p, 10, 0, end, 40, 1, 0);
    for (int16_t i = 2; i <= p.GetLength(); ++i) {
        EXPECT_EQ(p.GetGasMixName(i), "Tx 21/35");
        EXPECT_EQ(p.GetGasMixHe(i), 35);
        EXPECT_EQ(p.getmixnumber(i), 1);
    }
    EXPECT_THROW(AddTableWaypoint(p, 12, 3, 0, 7, 1, 2), RuntimeError);
}

TEST_F(TableTravel, TheActiveEditorsDiveSuppliesRatesAndGases)
{
    // The default template descends at 20 m/min; dive 1 at 10 m/min with its own gas.
    dive().DescendRates = rows({{0, 20}});
    gSettings.push_back(SettingsRecord{});
    gSettings[1].Template.DescendRates = rows({{0, 10}});
    gSettings[1].Template.Gases.push_back({"EAN32", 32, 68, 0, 0});
    host.activeTag = 1;
    ClassProfile p;
    float end = 20;
    AddTableTravel(p, 0, 0, end, 30, 1, 0);
    expectPieces(p, {{30, 3, 10, 3, 1}, {30, 17, 0, 20, 1}});
    EXPECT_EQ(p.GetGasMixName(1), "EAN32");
}

TEST_F(TableTravel, RateTablesThatCannotCarryTheLegAreRefused)
{
    const struct {
        const char *name;
        std::vector<RateRecord> descent, ascent;
        float from, to;
    } cases[] = {
        {"no descent rows", {}, rows({{0, 9}}), 0, 30},
        {"descent rate 0", rows({{0, 10}, {20, 0}}), rows({{0, 9}}), 0, 30},
        {"descent table starts below the start", rows({{5, 10}}), rows({{0, 9}}), 0, 30},
        {"no ascent rows", rows({{0, 10}}), {}, 30, 0},
        {"negative ascent rate", rows({{0, 10}}), rows({{0, -9}}), 30, 0},
        {"ascent table starts below the end", rows({{0, 10}}), rows({{3, 9}}), 30, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dive().DescendRates = c.descent;
        dive().AscendRates = c.ascent;
        ClassProfile p;
        float end = 40;
        try {
            AddTableTravel(p, 0, c.from, end, c.to, 0, 0);
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrBadSettings);
        }
        EXPECT_EQ(p.GetLength(), 0);
        EXPECT_EQ(end, 40);
    }
}

} // namespace
