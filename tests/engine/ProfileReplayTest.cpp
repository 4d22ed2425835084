// Cutting logged legs at the rate-table bands. (The replay of a whole log with the
// engine is tested through the editor window.)

#include "engine/RuntimeError.h"
#include "engine/DivePlan.h"
#include "engine/ProfileReplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Piece {
    float depth, time, rate, runTime;
    int16_t status;
};

// A metric dive: descent 20 m/min from the surface, 10 m/min below 10 m; ascent
// 3 m/min above 6 m, 9 m/min below; gases Air and a trimix.
TemplateRec metricDive()
{
    TemplateRec t;
    t.Metric = true;
    t.EndPressure = 1.013f;
    t.MaxPPO2 = 1.6f;
    t.DescendRates = {{0, 0, 20, 0}, {0, 0, 10, 10}};
    t.AscendRates = {{0, 0, 3, 0}, {0, 0, 9, 6}};
    t.Gases.push_back({"Tx 18/45", 18, 37, 45, 0});
    return t;
}

std::vector<Piece> pieces(const ClassProfile &p, int16_t from = 1)
{
    std::vector<Piece> v;
    for (int16_t i = from; i <= p.GetLength(); ++i)
        v.push_back({p.getDepth(i), p.GetSegmentTime(i), p.GetRate(i), p.GetRunTime(i), p.GetStatus(i)});
    return v;
}

void expectPieces(const ClassProfile &p, const std::vector<Piece> &want, int16_t from = 1)
{
    const auto got = pieces(p, from);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("piece " + std::to_string(i + 1));
        EXPECT_FLOAT_EQ(got[i].depth, want[i].depth);
        EXPECT_NEAR(got[i].time, want[i].time, 1e-5);
        EXPECT_FLOAT_EQ(got[i].rate, want[i].rate);
        EXPECT_NEAR(got[i].runTime, want[i].runTime, 1e-5);
        EXPECT_EQ(got[i].status, want[i].status);
    }
}

// One leg into a fresh profile; returns the leg's effective end time and depth.
std::pair<float, float> leg(ClassProfile &p, const TemplateRec &t, float t0, float d0, float tE,
                            float dT, int16_t mix = 0)
{
    GetSegmentedProfile(p, t, t0, d0, tE, dT, mix);
    return {tE, dT};
}

} // namespace

TEST(Segmentation, DescentCrossesABandAndLevelsOff)
{
    // 0 -> 30 m in a logged 25 min: 10 m at 20 m/min (0.5 min), 20 m at 10 m/min
    // (2 min), then 22.5 min level.
    ClassProfile p;
    const auto end = leg(p, metricDive(), 0, 0, 25, 30, 1);
    expectPieces(p, {{10, 0.5f, 20, 0.5f, 2}, {30, 2, 10, 2.5f, 1}, {30, 22.5f, 0, 25, 1}});
    EXPECT_FLOAT_EQ(end.first, 25);
    EXPECT_FLOAT_EQ(end.second, 30);
    EXPECT_EQ(p.GetGasMixName(3), "Tx 18/45");
    EXPECT_FLOAT_EQ(p.GetGasMixHe(1), 45);
    EXPECT_EQ(p.getmixnumber(2), 1);
}

TEST(Segmentation, BandBoundaries)
{
    const TemplateRec t = metricDive();
    {
        SCOPED_TRACE("a descent ending exactly on a band depth does not cross it");
        ClassProfile p;
        leg(p, t, 0, 0, 5, 10);
        expectPieces(p, {{10, 0.5f, 20, 0.5f, 1}, {10, 4.5f, 0, 5, 1}});
    }
    {
        SCOPED_TRACE("a descent starting on a band depth uses the band below");
        ClassProfile p;
        leg(p, t, 10, 10, 20, 30);
        expectPieces(p, {{30, 2, 10, 12, 1}, {30, 8, 0, 20, 1}});
    }
    {
        SCOPED_TRACE("an ascent ending on a band depth: band piece, zero piece, level");
        ClassProfile p;
        const auto end = leg(p, t, 25, 30, 30, 6);
        expectPieces(p, {{6, 24 / 9.f, -9, 25 + 24 / 9.f, 3},
                         {6, 0, -3, 25 + 24 / 9.f, 1},
                         {6, 5 - 24 / 9.f, 0, 30, 1}});
        EXPECT_FLOAT_EQ(end.second, 6);
    }
    {
        SCOPED_TRACE("an ascent to the surface ends on the shallowest band, no level piece");
        ClassProfile p;
        const auto end = leg(p, t, 30, 30, 40, 0);
        // 24 m at 9 m/min, then 6 m at 3 m/min = 4.67 min, before the logged 10 min.
        expectPieces(p, {{6, 24 / 9.f, -9, 30 + 24 / 9.f, 3}, {0, 2, -3, 32 + 24 / 9.f, 3}});
        EXPECT_FLOAT_EQ(end.first, 40) << "the logged end time stands";
        EXPECT_FLOAT_EQ(end.second, 0);
    }
    {
        SCOPED_TRACE("an ascent above the shallowest band is held at it");
        TemplateRec high = t;
        high.AscendRates[0].Depth = 3; // a template whose ascent table starts at 3 m
        ClassProfile p;
        const auto end = leg(p, high, 0, 12, 10, 1);
        expectPieces(p, {{6, 6 / 9.f, -9, 6 / 9.f, 3}, {3, 1, -3, 1 + 6 / 9.f, 3}});
        EXPECT_FLOAT_EQ(end.second, 3);
    }
}

TEST(Segmentation, TravelLongerThanTheLoggedTime)
{
    const TemplateRec t = metricDive();
    {
        SCOPED_TRACE("a descent ends when its travel ends, with no level piece");
        ClassProfile p;
        const auto end = leg(p, t, 0, 0, 1, 30);
        expectPieces(p, {{10, 0.5f, 20, 0.5f, 2}, {30, 2, 10, 2.5f, 1}});
        EXPECT_FLOAT_EQ(end.first, 2.5f) << "the excess delays every later leg";
    }
    {
        SCOPED_TRACE("an ascent that uses up its time still gets a level piece of 0 min");
        ClassProfile p;
        const auto end = leg(p, t, 0, 30, 1, 12);
        expectPieces(p, {{12, 2, -9, 2, 1}, {12, 0, 0, 2, 1}});
        EXPECT_FLOAT_EQ(end.first, 2);
    }
    {
        SCOPED_TRACE("a level leg is one piece of exactly its logged time");
        ClassProfile p;
        leg(p, t, 25, 30, 37.5f, 30);
        expectPieces(p, {{30, 12.5f, 0, 37.5f, 1}});
    }
}

TEST(Segmentation, SettingsTheBandsCannotWalkAreRefused)
{
    auto refused = [](TemplateRec t, float d0, float dT, int16_t mix = 0) {
        ClassProfile p;
        float tE = 10;
        try {
            CheckRateTables(t);
            GetSegmentedProfile(p, t, 0, d0, tE, dT, mix);
        } catch (const RuntimeError &e) {
            return e.number() == ErrBadSettings || e.number() == ErrSubscript;
        }
        return false;
    };
    TemplateRec t = metricDive();
    t.DescendRates[1].Rate = 0;
    EXPECT_TRUE(refused(t, 0, 30)) << "a rate of 0";
    t = metricDive();
    t.AscendRates.clear();
    EXPECT_TRUE(refused(t, 30, 0)) << "no ascent rows";
    t = metricDive();
    std::swap(t.DescendRates[0].Depth, t.DescendRates[1].Depth);
    EXPECT_TRUE(refused(t, 0, 30)) << "band depths out of order";
    t = metricDive();
    t.DescendRates[0].Depth = 3;
    EXPECT_TRUE(refused(t, 0, 30)) << "a descent from above the first band";
    EXPECT_TRUE(refused(metricDive(), 0, 30, 5)) << "a gas not in the list";
    EXPECT_FALSE(refused(metricDive(), 0, 30, 1));
}

namespace {

// metricDive with EAN32 before the trimix and a second trimix after it.
TemplateRec fourGases()
{
    TemplateRec t = metricDive();
    t.StartPressure = 1.013f;
    t.StepSize = 3;
    t.LastStop = 3;
    t.Gases.insert(t.Gases.begin() + 1, GasRecord{"EAN32", 32, 68, 0, 0});
    t.Gases.push_back({"Tx 10/70", 10, 20, 70, 0});
    return t;
}

TemplateRec withGases(TemplateRec t, std::vector<GasRecord> gases)
{
    t.Gases = std::move(gases);
    return t;
}

// Replays the log with a stand-in for the engine that keeps the pieces as they are.
ClassProfile replayed(ClassUseractions &log, const TemplateRec &t)
{
    ClassProfile input, deco;
    ReplayUserActions(log, t, input, deco, EditorEmpty, [&](bool) { deco.Copy(input); });
    return input;
}

// Name and mix number of every piece.
std::vector<std::pair<std::string, int>> gasesOf(const ClassProfile &p)
{
    std::vector<std::pair<std::string, int>> v;
    for (int16_t i = 1; i <= p.GetLength(); ++i)
        v.emplace_back(p.GetGasMixName(i), p.getmixnumber(i));
    return v;
}

} // namespace

TEST(Replay, LegsFindTheirGasByName)
{
    // (A changed order and a deleted gas are replayed through the windows.)
    const TemplateRec t = fourGases();
    const GasRecord air = t.Gases[0], ean32 = t.Gases[1], tx1845 = t.Gases[2], tx1070 = t.Gases[3];
    ClassUseractions log;
    LogUserLeg(log, t, 30, 20, 2);
    LogUserLeg(log, t, 30, 5, 1);
    // Of two gases of one name a leg keeps its own place; the others take the new one.
    log.setmixnumber(1, 4);
    replayed(log, withGases(t, {air, tx1845, tx1070, ean32, tx1845}));
    EXPECT_EQ(log.getmixnumber(1), 4);
    EXPECT_EQ(log.getmixnumber(2), 3);
    // A gas gone: refused before any entry changes.
    EXPECT_THROW(replayed(log, withGases(t, {air, tx1845})), RuntimeError);
    EXPECT_EQ(log.getmixnumber(1), 4);

    // A leg logged with no name (only the number is known) goes by its number.
    ClassUseractions unnamed;
    unnamed.NewAction();
    unnamed.setuser(1, 30, 20, 1);
    const ClassProfile p = replayed(unnamed, withGases(t, {air, tx1845}));
    EXPECT_EQ(p.GetGasMixName(p.GetLength()), "Tx 18/45");
}

TEST(Replay, LegsOnALostGasAreDrawnWithNoGasOfTheList)
{
    const TemplateRec t = fourGases();
    ClassUseractions log;
    LogUserLeg(log, t, 30, 20, 2);
    LogUserLeg(log, t, 30, 5, 1);
    log.NewAction();
    log.setdeco(3);
    LogUserLeg(log, t, 20, 4, 0);
    const TemplateRec without = withGases(t, {t.Gases[0], t.Gases[2], t.Gases[3]});

    ClassProfile drawn;
    DrawLoggedLegs(log, without, drawn);
    using G = std::vector<std::pair<std::string, int>>;
    // The deco marker is passed over: the air leg ascends from the end of the EAN32 leg.
    EXPECT_EQ(gasesOf(drawn), (G{{"Tx 18/45", 1}, {"Tx 18/45", 1}, {"Tx 18/45", 1}, {"EAN32", -1}, {"Air", 0},
                                 {"Air", 0}}));
    EXPECT_FLOAT_EQ(drawn.GetGasMixO2(4), 0);
    EXPECT_NEAR(drawn.GetRunTime(drawn.GetLength()), 29, 1e-5);
    EXPECT_FLOAT_EQ(drawn.getDepth(drawn.GetLength()), 20);

    // No computation takes the drawn legs for legs on a gas of the list: the lost piece,
    // and pieces whose number now names another gas, are refused.
    PlanOptions legsOnly;
    legsOnly.PlanAscent = false;
    EXPECT_THROW(PlanDive(without, DiveStartState{}, drawn, legsOnly), RuntimeError);
    ClassProfile stale; // an EAN32 leg drawn before the list changed
    float endTime = 20, endDepth = 30;
    GetSegmentedProfile(stale, t, 0, 0, endTime, endDepth, 1);
    EXPECT_NO_THROW(PlanDive(t, DiveStartState{}, stale, legsOnly));
    EXPECT_THROW(PlanDive(without, DiveStartState{}, stale, legsOnly), RuntimeError) << "EAN32 is Tx 18/45's place now";
}
