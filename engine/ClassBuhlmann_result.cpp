// The result waypoint every segment appends, and the limit warnings raised first.

#include "engine/ClassBuhlmann.h"

#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"

void ClassBuhlmann::AddResultWaypoint(float Depth, float Rate, float GasUsed, float PPO2, float CNSSegment,
                                      float OTUSegment, float END, bool IsStop, bool DoShow)
{
    const TemplateRec &T = Tmpl();
    // A warning already shown in this computation is not looked at again.
    if (!QuietWarnings) {
        if (T.MaxEnd && !WarnedEND)
            WarnAboveLimit(END, T.MaximalEND, T.Metric, WarnedEND);
        if (T.PPO2High && !WarnedPPO2High)
            WarnAboveLimitRounded(PPO2, IsStop ? T.DecoPPO2 : T.MaxPPO2, T.Metric, WarnedPPO2High);
        if (T.PPO2Low && !WarnedPPO2Low)
            WarnBelowLimit(PPO2, T.MinPPO2, T.Metric, WarnedPPO2Low);
    }

    ClassProfile &out = *ResultProfile;
    out.NewWayPoint();
    const int16_t n = out.GetLength();
    const GasRecord &gas = BreathedGas();
    out.SetSegmentNumber(n, SegmentNumber);
    out.setDepth(n, Depth);
    out.SetSegmentTime(n, LastSegmentTime);
    out.SetRate(n, Rate);
    out.SetRunTime(n, RunTime);
    out.SetMixNumber(n, MixNumber);
    out.SetGasMixName(n, gas.Name);
    out.SetGasMixO2(n, gas.O2);
    out.SetGasMixN2(n, gas.N2);
    out.SetGasMixHe(n, gas.He);
    if (IsStop) {
        out.SetStopDepth(n, Depth);
        out.SetStopTime(n, RoundStopTime(LastSegmentTime));
    }
    out.SetN2Compartments(n, CompN2);
    out.SetHeCompartments(n, CompHe);
    PercentCompartLoad(LoadBuffer, Depth);
    out.SetPercentCompartments(n, LoadBuffer);
    out.SetStatus(n, Status);
    out.SetGasUsed(n, GasUsed);
    out.SetPPO2(n, PPO2);
    out.setCNS(n, CNSSegment);
    out.SetOTU(n, OTUSegment);

    OTU = OTU + OTUSegment;
    CNS = CNS + CNSSegment;
    out.setTotalCNS(n, CNS);
    out.SetTotalOTU(n, OTU);

    out.SetMaxMValue(n, MaxMValue);
    out.SetGF(n, GF);
    out.SetDoShow(n, DoShow);
    out.SetCeiling(n, GetCeiling());
    out.SetEND(n, END);
    out.SetModelControl(n, CeilingModel);
}
