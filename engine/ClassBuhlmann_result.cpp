// The result waypoint every segment appends, and the limits each is checked against first.

#include "engine/ClassBuhlmann.h"

#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"

// Every waypoint is looked at: a later breach may be worse than the first. Once a limit
// has been crossed, a value worse than its worst breach of the same limit crosses it too
// (the comparisons, the ppO2's rounding included, keep their order), so only that
// comparison is made; a limit that has changed since is compared again.
void ClassBuhlmann::NoteLimit(LimitSlot Slot, PlanWarningKind Kind, float Value, float Limit)
{
    Breach &b = Breaches[Slot];
    if (b.Met) {
        if (!WorseBreach(Kind, Value, b.Worst.Value) || (Limit != b.Worst.Limit && !LimitCrossed(Kind, Value, Limit)))
            return;
    } else {
        if (!LimitCrossed(Kind, Value, Limit))
            return;
        b.Met = true;
        CrossingOrder[LimitsCrossed++] = Slot;
    }
    b.Worst = {Kind, Value, Limit, Tmpl().Metric, 0, Slot == DecoPPO2Slot};
}

std::vector<PlanWarning> ClassBuhlmann::Warnings() const
{
    std::vector<PlanWarning> warnings;
    warnings.reserve(LimitsCrossed);
    for (uint8_t i = 0; i < LimitsCrossed; ++i)
        warnings.push_back(Breaches[CrossingOrder[i]].Worst);
    return warnings;
}

DOLV_COMPARTMENT_ROWS
void ClassBuhlmann::AddResultWaypoint(float Depth, float Rate, float GasUsed, float PPO2, float CNSSegment,
                                      float OTUSegment, float END, bool IsStop, bool DoShow)
{
    const TemplateRec &T = Tmpl();
    if (!QuietWarnings) {
        if (T.MaxEnd)
            NoteLimit(EndSlot, PlanWarningKind::ENDAbove, END, T.MaximalEND);
        if (T.PPO2High)
            NoteLimit(IsStop ? DecoPPO2Slot : BottomPPO2Slot, PlanWarningKind::PPO2Above, PPO2,
                      IsStop ? T.DecoPPO2 : T.MaxPPO2);
        if (T.PPO2Low)
            NoteLimit(LowPPO2Slot, PlanWarningKind::PPO2Below, PPO2, T.MinPPO2);
    }

    ClassProfile &out = *ResultProfile;
    out.NewWayPoint();
    const int16_t n = out.GetLength();
    const GasRecord &gas = BreathedGas();
    // Filled in place: the fields in the order the setters would set them.
    WayPoint &w = out.mutablePoint(n);
    w.SegmentNumber = SegmentNumber;
    w.Depth = Depth;
    w.SegmentTime = LastSegmentTime;
    w.Rate = Rate;
    w.RunTime = RunTime;
    w.MixNumber = MixNumber;
    w.GasMixName = gas.Name;
    w.GasMixO2 = gas.O2;
    w.GasMixN2 = gas.N2;
    w.GasMixHe = gas.He;
    if (IsStop) {
        w.StopDepth = Depth;
        w.StopTime = RoundStopTime(LastSegmentTime);
    }
    // Compartments 1 to 16; element 0 stays as the new waypoint has it.
    for (int i = 1; i <= kCompartments; ++i) {
        w.N2Compartments[i] = CompN2[i];
        w.HeCompartments[i] = CompHe[i];
    }
    PercentCompartLoad(w.PercentCompartments, Depth);
    w.Status = Status;
    w.GasUsed = GasUsed;
    w.PPO2 = PPO2;
    w.CNS = CNSSegment;
    w.OTU = OTUSegment;

    OTU = OTU + OTUSegment;
    CNS = CNS + CNSSegment;
    w.TotalCNS = CNS;
    w.TotalOTU = OTU;

    w.MaxMValue = MaxMValue;
    w.GF = GF;
    w.DoShow = DoShow;
    w.Ceiling = GetCeiling();
    w.END = END;
    w.ModelControl = CeilingModel;
}
