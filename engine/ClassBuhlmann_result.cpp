// The result waypoint every segment appends, and the limit warnings raised first.

#include "engine/ClassBuhlmann.h"

#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"

#include <algorithm>

// A limit crossed is noted once per kind and computation; showing it is the caller's.
void ClassBuhlmann::NoteLimit(PlanWarningKind Kind, float Value, float Limit, bool &Warned)
{
    if (Warned || !LimitCrossed(Kind, Value, Limit))
        return;
    Warnings_.push_back({Kind, Value, Limit, Tmpl().Metric});
    Warned = true;
}

DOLV_COMPARTMENT_ROWS
void ClassBuhlmann::AddResultWaypoint(float Depth, float Rate, float GasUsed, float PPO2, float CNSSegment,
                                      float OTUSegment, float END, bool IsStop, bool DoShow)
{
    const TemplateRec &T = Tmpl();
    // A warning already shown in this computation is not looked at again.
    if (!QuietWarnings) {
        if (T.MaxEnd)
            NoteLimit(PlanWarningKind::ENDAbove, END, T.MaximalEND, WarnedEND);
        if (T.PPO2High)
            NoteLimit(PlanWarningKind::PPO2Above, PPO2, IsStop ? T.DecoPPO2 : T.MaxPPO2, WarnedPPO2High);
        if (T.PPO2Low)
            NoteLimit(PlanWarningKind::PPO2Below, PPO2, T.MinPPO2, WarnedPPO2Low);
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
