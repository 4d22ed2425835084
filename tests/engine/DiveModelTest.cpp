// The table of open dives: slots, links, the exposure a repetitive dive carries in, and
// a dive replayed and planned without a window.

#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "tests/engine/BuhlmannProbe.h"

namespace {

using namespace enginetest;

class DiveTable : public EngineTest {};

TEST_F(DiveTable, SlotsAreReusedAsFreshRecords)
{
    const int16_t a = AllocDiveSlot();
    const int16_t b = AllocDiveSlot();
    EXPECT_EQ(a, int16_t(gSettings.size() - 2));
    EXPECT_EQ(b, a + 1);
    gSettings[a].ProfileName = "old";
    gSettings[a].SurfTime = 60;
    gSettings[a].SlotFree = true;
    EXPECT_EQ(AllocDiveSlot(), a);
    EXPECT_EQ(gSettings[a].ProfileName, "");
    EXPECT_EQ(gSettings[a].SurfTime, 0);
    EXPECT_FALSE(gSettings[a].SlotFree);

    // A dive opened again under a number is a new, empty dive; a closed one is gone
    // from the table but lives on with its holders.
    std::shared_ptr<Dive> first = OpenDive(a);
    first->UserEnteredWaypoints.NewAction();
    std::shared_ptr<Dive> again = OpenDive(a);
    EXPECT_EQ(FindDive(a), again.get());
    EXPECT_EQ(again->UserEnteredWaypoints.GetLength(), 0);
    CloseDive(a);
    EXPECT_EQ(FindDive(a), nullptr);
    EXPECT_EQ(again->Number(), a);
    EXPECT_THROW(OpenDive(0), RuntimeError) << "the default template is never a dive";
    EXPECT_THROW(OpenDive(int16_t(gSettings.size())), RuntimeError);
}

TEST_F(DiveTable, SeriesLinksAndCarriedExposure)
{
    gSettings.resize(1);
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, 30, 20, 0);
    std::shared_ptr<Dive> one = AppendSeriesDive(-1, MetricAirDive(), 0, log, "s.prf", "/d/");
    ReplayDive(*one, DecompressionRun(PlanOptions{}));
    ComputeAscent(*one, DecompressionRun(PlanOptions{}));
    EXPECT_EQ(one->State, EditorComputed);
    EXPECT_GT(one->Record().CNS, 0);
    std::shared_ptr<Dive> two = AppendSeriesDive(one->Number(), MetricAirDive(), 90, log, "s.prf", "/d/");
    EXPECT_EQ(two->PrevProfile(), one->Number());
    EXPECT_EQ(one->NextProfile(), two->Number());
    EXPECT_EQ(two->SurfProfileNumber, 2);
    EXPECT_EQ(FirstDiveOfSeries(two->Number()), one->Number());
    EXPECT_EQ(LastDiveOfSeries(one->Number()), two->Number());
    EXPECT_EQ(two->Record().ProfileDir, "/d/");
    // The CNS recovers over the interval (90-minute half-time), the OTU is carried on.
    EXPECT_NEAR(two->Record().CNS, one->Record().CNS / 2, 1e-4);
    EXPECT_EQ(two->Record().OTU, one->Record().OTU);

    // The second dive's replay starts from the first dive's tissues: more nitrogen than
    // the first dive had after the same leg.
    ReplayDive(*two, DecompressionRun(PlanOptions{}));
    EXPECT_EQ(two->State, EditorUserLegs);
    EXPECT_GT(two->InputProfile.point(two->InputProfile.GetLength()).PercentCompartments[16],
              one->SavedUserProfile.point(one->SavedUserProfile.GetLength()).PercentCompartments[16]);
    // Its own record's totals would be counted twice: the replay takes the carried values
    // again.
    two->Record().CNS = 5;
    ReplayDive(*two, DecompressionRun(PlanOptions{}));
    EXPECT_NEAR(two->InputProfile.getCNS(0), one->Record().CNS / 2, 1e-4);
}

TEST_F(DiveTable, ARepetitiveStartIsPlannedOnlyAfterAComputedDive)
{
    gSettings.resize(1);
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, 30, 20, 0);
    std::shared_ptr<Dive> one = AppendSeriesDive(-1, MetricAirDive(), 0, log, "s.prf", "/d/");
    std::shared_ptr<Dive> two = AppendSeriesDive(one->Number(), MetricAirDive(), 60, log, "s.prf", "/d/");
    ReplayDive(*one, DecompressionRun(PlanOptions{}));
    // Dive one shows legs only: the legs of dive two replay, a planned start (its ascent,
    // a bail-out) is refused.
    ReplayDive(*two, DecompressionRun(PlanOptions{}));
    EXPECT_THROW(StartStateOf(two->Number(), true, two->InputProfile), RuntimeError);

    ComputeAscent(*one, DecompressionRun(PlanOptions{}));
    EXPECT_EQ(StartStateOf(two->Number(), true, two->InputProfile).N2Compartments, one->Record().N2Compartments);
    // Settings in feet take dive one's end state into fsw: the legs of dive two, in
    // metres, still replay from the same tissues.
    const Comp16 n2 = one->Record().N2Compartments;
    TemplateRec feet = one->Record().Template;
    feet.Metric = false;
    StoreSettings(one->Number(), feet);
    EXPECT_NEAR(StartStateOf(two->Number(), true, two->InputProfile, false).N2Compartments[16], n2[16], 1e-4);
    CloseDive(one->Number());
    EXPECT_FALSE(HoldsComputedPlan(one->Number())) << "a closed dive holds no plan";
}

TEST_F(DiveTable, ASeriesIsReEvaluatedFromTheChangedDiveOn)
{
    gSettings.resize(1);
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, 30, 20, 0);
    std::vector<std::shared_ptr<Dive>> d;
    for (int k = 0; k < 3; ++k) {
        d.push_back(AppendSeriesDive(k ? d.back()->Number() : -1, MetricAirDive(), 60, log, "s.prf", "/d/"));
        ReplayDive(*d.back(), DecompressionRun(PlanOptions{}));
        ComputeAscent(*d.back(), DecompressionRun(PlanOptions{}));
    }
    // Settings the engine refuses: the first dive loses its ascent, and so do the dives
    // after it, whose start it no longer holds; the first dive's word comes last.
    d[0]->Record().Template.LastStop = -1;
    const SeriesOutcome out = ReEvaluateSeries(d[0]->Number(), DecompressionRun(PlanOptions{}));
    ASSERT_EQ(out.Changed.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(out.Changed[k].Number, d[2 - k]->Number());
        EXPECT_EQ(out.Changed[k].Change, DiveChange::AscentTakenOff);
        EXPECT_EQ(d[k]->State, EditorUserLegs);
        EXPECT_EQ(d[k]->UserEnteredWaypoints.GetLength(), 1) << "the legs stay";
    }
    ASSERT_EQ(out.Notices.Refusals.size(), 1u);
    EXPECT_NE(out.Notices.Refusals[0].find(GetLangString(7000)), std::string::npos);
    EXPECT_NE(out.Notices.Notice.find(GetLangString(7041)), std::string::npos);

    // Links that loop end every walk.
    d[2]->SetNextProfile(d[0]->Number());
    d[0]->SetPrevProfile(d[2]->Number());
    EXPECT_LE(SeriesFrom(d[1]->Number()).size(), gSettings.size());
    EXPECT_NE(FirstDiveOfSeries(d[1]->Number()), -1);
    EXPECT_LE(SeriesFrom(d[1]->Number(), true).size(), gSettings.size());
}

} // namespace
