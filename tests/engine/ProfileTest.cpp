// The dive profile and the user-action log: start points, appends, deletes and copies.

#include "engine/ClassProfile.h"
#include "engine/ClassUseractions.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

Comp16 filled(float base)
{
    Comp16 a{};
    for (int k = 1; k <= kCompartments; ++k)
        a[k] = base + k;
    return a;
}

// A profile of n waypoints after the start point, each with recognisable values.
ClassProfile sample(int16_t n)
{
    ClassProfile p;
    for (int16_t i = 1; i <= n; ++i) {
        p.NewWayPoint();
        p.SetSegmentNumber(i, i);
        p.SetSegmentTime(i, 1.5f * i);
        p.setDepth(i, 10.0f * i);
        p.SetRate(i, -9.0f);
        p.SetRunTime(i, 5.0f * i);
        p.SetMixNumber(i, 2);
        p.SetGasMixName(i, "Tx 18/45");
        p.SetGasMixO2(i, 18);
        p.SetGasMixN2(i, 37);
        p.SetGasMixHe(i, 45);
        p.SetGasUsed(i, 120.5f);
        p.SetStopDepth(i, 6);
        p.SetStopTime(i, 3);
        p.SetStatus(i, StatusDecoStop);
        p.SetPPO2(i, 1.2f);
        p.SetCeiling(i, 4.5f + i);
        p.setCNS(i, 0.01f);
        p.SetOTU(i, 2);
        p.setTotalCNS(i, 0.05f);
        p.SetTotalOTU(i, 12);
        p.SetEND(i, 28);
        p.SetMaxMValue(i, 0.8f);
        p.SetGF(i, 0.55f);
        p.SetModelControl(i, 2);
        p.SetDoShow(i, false);
        p.SetEndUserProfile(i, i == n);
        p.SetPercentCompartments(i, filled(30));
        p.SetHeCompartments(i, filled(100));
        p.SetN2Compartments(i, filled(200));
    }
    return p;
}

TEST(Profile, NewProfileHoldsTheAirStartPoint)
{
    ClassProfile p;
    EXPECT_EQ(p.GetLength(), 0);
    EXPECT_EQ(p.GetGasMixName(0), "Air");
    EXPECT_EQ(p.GetGasMixO2(0), 21);
    EXPECT_EQ(p.GetGasMixN2(0), 79);
    EXPECT_EQ(p.GetGasMixHe(0), 0);
    EXPECT_EQ(p.GetGF(0), 1.0f);
    EXPECT_FALSE(p.GetDoShow(0));
    EXPECT_EQ(p.getDepth(0), 0);
    EXPECT_EQ(p.GetRunTime(0), 0);
}

TEST(Profile, NewWayPointIsShownWithGradientFactorOne)
{
    ClassProfile p;
    p.NewWayPoint();
    EXPECT_EQ(p.GetLength(), 1);
    EXPECT_TRUE(p.GetDoShow(1));
    EXPECT_EQ(p.GetGF(1), 1.0f);
    EXPECT_EQ(p.GetGasMixName(1), "");
    EXPECT_EQ(p.GetGasMixO2(1), 0);
    EXPECT_FALSE(p.GetEndUserProfile(1));
    Comp16 he;
    p.GetHeCompartments(1, he);
    for (int k = 1; k <= kCompartments; ++k)
        EXPECT_EQ(he[k], 0);
}

TEST(Profile, ClearKeepsWhatWasWrittenIntoTheStartPoint)
{
    ClassProfile p = sample(4);
    p.setDepth(0, 3);
    p.SetHeCompartments(0, filled(7));
    p.clear();
    EXPECT_EQ(p.GetLength(), 0);
    EXPECT_EQ(p.getDepth(0), 3);
    Comp16 he;
    p.GetHeCompartments(0, he);
    EXPECT_EQ(he[16], 23);
}

TEST(Profile, DeleteLastReturnsTheNewLastRunTime)
{
    ClassProfile p;
    p.NewWayPoint();
    p.SetRunTime(1, 3);
    p.NewWayPoint();
    p.SetRunTime(2, 25);
    EXPECT_EQ(p.DeleteLast(), 3);
    EXPECT_EQ(p.GetLength(), 1);
    EXPECT_EQ(p.DeleteLast(), 0);
    EXPECT_EQ(p.GetLength(), 0);
    EXPECT_EQ(p.DeleteLast(), 0);
    EXPECT_EQ(p.GetLength(), 0);
    EXPECT_EQ(p.GetGasMixName(0), "Air");
}

TEST(Profile, IndexOutsideTheListIsASubscriptError)
{
    ClassProfile p = sample(2);
    EXPECT_THROW(p.getDepth(3), RuntimeError);
    EXPECT_THROW(p.setDepth(-1, 5), RuntimeError);
    try {
        p.GetRunTime(7);
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrSubscript);
    }
    EXPECT_EQ(p.GetLength(), 2);
}

TEST(Profile, CopyTakesEveryFieldButTheTensions)
{
    ClassProfile src = sample(3);
    ClassProfile dst = sample(10);
    dst.SetHeCompartments(0, filled(1000));
    dst.SetN2Compartments(0, filled(2000));
    dst.Copy(src);

    ASSERT_EQ(dst.GetLength(), 3);
    for (int16_t i = 0; i <= 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dst.GetSegmentNumber(i), src.GetSegmentNumber(i));
        EXPECT_EQ(dst.GetSegmentTime(i), src.GetSegmentTime(i));
        EXPECT_EQ(dst.getDepth(i), src.getDepth(i));
        EXPECT_EQ(dst.GetRate(i), src.GetRate(i));
        EXPECT_EQ(dst.GetRunTime(i), src.GetRunTime(i));
        EXPECT_EQ(dst.getmixnumber(i), src.getmixnumber(i));
        EXPECT_EQ(dst.GetGasMixName(i), src.GetGasMixName(i));
        EXPECT_EQ(dst.GetGasMixO2(i), src.GetGasMixO2(i));
        EXPECT_EQ(dst.GetGasMixN2(i), src.GetGasMixN2(i));
        EXPECT_EQ(dst.GetGasMixHe(i), src.GetGasMixHe(i));
        EXPECT_EQ(dst.getGasUsed(i), src.getGasUsed(i));
        EXPECT_EQ(dst.getStopDepth(i), src.getStopDepth(i));
        EXPECT_EQ(dst.getStopTime(i), src.getStopTime(i));
        EXPECT_EQ(dst.GetStatus(i), src.GetStatus(i));
        EXPECT_EQ(dst.GetPPO2(i), src.GetPPO2(i));
        EXPECT_EQ(dst.GetCeiling(i), src.GetCeiling(i));
        EXPECT_EQ(dst.getCNS(i), src.getCNS(i));
        EXPECT_EQ(dst.getOTU(i), src.getOTU(i));
        EXPECT_EQ(dst.getTotalCNS(i), src.getTotalCNS(i));
        EXPECT_EQ(dst.getTotalOTU(i), src.getTotalOTU(i));
        EXPECT_EQ(dst.GetEND(i), src.GetEND(i));
        EXPECT_EQ(dst.GetMaxMValue(i), src.GetMaxMValue(i));
        EXPECT_EQ(dst.GetGF(i), src.GetGF(i));
        EXPECT_EQ(dst.GetModelControl(i), src.GetModelControl(i));
        EXPECT_EQ(dst.GetDoShow(i), src.GetDoShow(i));
        EXPECT_EQ(dst.GetEndUserProfile(i), src.GetEndUserProfile(i));
        Comp16 a{}, b{};
        dst.GetPercentCompartments(i, a);
        src.GetPercentCompartments(i, b);
        EXPECT_EQ(a, b);
    }
    // The tensions are not copied: the start point keeps the destination's own,
    // later waypoints have none.
    Comp16 he, n2;
    dst.GetHeCompartments(0, he);
    dst.GetN2Compartments(0, n2);
    EXPECT_EQ(he[1], 1001);
    EXPECT_EQ(n2[16], 2016);
    dst.GetHeCompartments(2, he);
    dst.GetN2Compartments(2, n2);
    for (int k = 1; k <= kCompartments; ++k) {
        EXPECT_EQ(he[k], 0);
        EXPECT_EQ(n2[k], 0);
    }
}

TEST(Profile, CopyUntilLeavesCeilingsBehind)
{
    ClassProfile src = sample(4);
    ClassProfile dst;
    dst.SetCeiling(0, 9);
    dst.CopyUntil(src, 1);
    ASSERT_EQ(dst.GetLength(), 1);
    EXPECT_EQ(dst.GetCeiling(0), 9);
    EXPECT_EQ(dst.GetCeiling(1), 0);
    EXPECT_EQ(dst.getDepth(1), 10);
    EXPECT_EQ(dst.GetStatus(1), StatusDecoStop);
}

TEST(Profile, CopyUntilOutsideTheSourceChangesNothing)
{
    ClassProfile src = sample(2);
    ClassProfile dst = sample(5);
    EXPECT_THROW(dst.CopyUntil(src, 3), RuntimeError);
    EXPECT_THROW(dst.CopyUntil(src, -1), RuntimeError);
    ASSERT_EQ(dst.GetLength(), 5);
    EXPECT_EQ(dst.getDepth(5), 50);
}

TEST(Useractions, LogOfWaypointsAndDecoMarkers)
{
    ClassUseractions log;
    EXPECT_EQ(log.GetLength(), 0);
    EXPECT_EQ(log.gettime(0), 0);
    EXPECT_EQ(log.getDepth(0), 0);
    EXPECT_EQ(log.getmixnumber(0), 0);
    EXPECT_EQ(log.getaction(0), 0);

    log.NewAction();
    log.setuser(1, 30, 25, 2);
    EXPECT_EQ(log.getDepth(1), 30);
    EXPECT_EQ(log.gettime(1), 25);
    EXPECT_EQ(log.getmixnumber(1), 2);
    EXPECT_EQ(log.getaction(1), ActionUserWaypoint);

    log.setdeco(1);
    EXPECT_EQ(log.gettime(1), -1);
    EXPECT_EQ(log.getDepth(1), -1);
    EXPECT_EQ(log.getaction(1), ActionDecoMarker);
    EXPECT_EQ(log.getmixnumber(1), 2);
}

TEST(Useractions, DeleteLastAndClear)
{
    ClassUseractions log;
    EXPECT_EQ(log.DeleteLast(), 0);
    log.NewAction();
    log.setuser(1, 30, 25, 0);
    log.NewAction();
    log.setuser(2, 20, 10, 0);
    EXPECT_EQ(log.DeleteLast(), 25);
    EXPECT_EQ(log.GetLength(), 1);
    EXPECT_THROW(log.gettime(2), RuntimeError);
    log.clear();
    EXPECT_EQ(log.GetLength(), 0);
    EXPECT_EQ(log.gettime(0), 0);
}

} // namespace
