#pragma once
// The decompression engine: sixteen helium and sixteen nitrogen compartments under the
// ZH-L16B or ZH-L16C coefficients. One instance computes one dive: a start (Init for a
// first dive, InitAfterSurfaceInterval for a repetitive one), then either the replay of
// a drawn profile (LoadCompartments) or the simulation of the profile with its planned
// ascent (StartBuhlmann). Every simulated segment appends one waypoint to the result.
//
// Units inside the engine: tensions and pressures in metres of sea water for a metric
// dive, feet of sea water for an imperial one; surface pressures arrive in bar or atm
// and are turned into depth units by the factor 10 or 33. Times are minutes.

#include "engine/ClassProfile.h"
#include "engine/ClassVPMGF.h"
#include "engine/Compartments.h"
#include "engine/DivePlan.h"
#include "engine/SettingsRecord.h"
#include "engine/Units.h"

#include <array>
#include <cstdint>
#include <vector>

// The depth the engine times and loads the diver's own segments at when the settings ask
// for depth adjustment: 3 % deeper plus 1 m (3.3 ft); the surface stays the surface.
// Without depth adjustment the depth itself. Anything that must follow the engine's own
// travel (the bail-out cut) takes it from here.
float AdjustedDepth(float Depth, const TemplateRec &T);
// The inverse, in double: the depth whose adjusted depth is Adjusted. What lies between
// the surface and the adjustment's 1 m (3.3 ft) belongs to no depth: 0 or less comes back.
double UnadjustedDepth(double Adjusted, const TemplateRec &T);

class ClassBuhlmann {
public:
    ClassBuhlmann();

    // Start of a repetitive dive of profile number TemplEntry: the previous dive's
    // end-of-dive tensions (elements 1 to 16), then surfacetime minutes at the surface.
    void InitAfterSurfaceInterval(int16_t TemplEntry, bool ModelC, const Comp16 &compartN2,
                                  const Comp16 &compatHe, float surfacetime);
    // Start of a first dive of profile number TemplEntry: saturated at the start altitude,
    // or loaded by a climb from sea level to it. ModelC chooses ZH-L16C over ZH-L16B.
    void Init(int16_t TemplEntry, bool ModelC);
    // The same starts on settings that are no dive's record (the plan call's): the end
    // state then goes to EndState() only.
    void InitAfterSurfaceInterval(const TemplateRec &Dive, bool ModelC, const Comp16 &compartN2,
                                  const Comp16 &compatHe, float surfacetime);
    void Init(const TemplateRec &Dive, bool ModelC);
    // The ceiling: VPM alone, the hybrid (deeper of VPM and ZH-L16), else ZH-L16.
    void SetCeilingModel(bool UseVPM, bool UseHybrid);
    // Replays inp into outp without an ascent (outp is appended to, not cleared).
    void LoadCompartments(const ClassProfile &inp, ClassProfile &outp);
    // Simulates inp into outp (which holds only its start point) and, with CalcDeco,
    // plans the ascent; Bailout makes the whole ascent open circuit. A dive started by
    // its profile number has its record in gSettings receive the end-of-dive tensions,
    // OTU and CNS.
    void StartBuhlmann(const ClassProfile &inp, ClassProfile &outp, bool CalcDeco, bool Bailout);
    // Both with the CNS and OTU the diver starts with given, instead of taken from the
    // start point of inp.
    void LoadCompartments(const ClassProfile &inp, ClassProfile &outp, float StartCNS, float StartOTU);
    void StartBuhlmann(const ClassProfile &inp, ClassProfile &outp, bool CalcDeco, bool Bailout,
                       float StartCNS, float StartOTU);

    // The limits the computation crossed, each with its worst breach, in the order they
    // were first crossed (its warnings are data: the caller decides whether to show them).
    std::vector<PlanWarning> Warnings() const;
    // The diver at the end of StartBuhlmann's profile.
    const DiveEndState &EndState() const { return EndState_; }

    void SaveCompartmentCopy();
    void LoadCompartmentCopy();
    // Each compartment's inert-gas tension as a fraction of its M-value at the end
    // surface pressure (1.0 = at the surface limit). Depth takes no part.
    void PercentCompartLoad(Comp16 &percentLoad, float Depth) const;
    // The depth a drawn segment is computed at: 3 % deeper plus 1 m (3.3 ft) while the
    // dive asks for it and the ascent has not begun.
    float Dadjust(float Depth) const;

private:
    friend struct ClassBuhlmannProbe; // tests look at the working state through it

    // Segment entry points: open or closed circuit by OpenCircuit.
    float CalcAscentDescent(float StartDepth, float EndDepth, float Rate, float Psurf, bool DoShow,
                            bool UseSetpoint, bool UseDecoRMV);
    void CalcConstantDepth(float Depth, float Time, float Psurf, bool DoShow);
    void CalcDecoStop(float StopDepth, float NextStop, float Psurf);
    float OCAscentDescent(float StartDepth, float EndDepth, float Rate, float Psurf, bool DoShow,
                          bool UseDecoRMV);
    float CCAscentDescent(float StartDepth, float EndDepth, float Rate, float Psurf, bool DoShow,
                          bool UseSetpoint);
    void OCConstantDepth(float Depth, float Time, float Psurf, bool DoShow);
    void AltitudeExposure(float Altitude, float Time);
    void CCConstantDepth(float Depth, float Time, float Psurf, bool DoShow);
    float GetCeiling();
    void OCDecoStop(float StopDepth, float NextStop, float Psurf);
    void CCDecoStop(float StopDepth, float NextStop, float Psurf);
    float CalcMaxMValue(float Depth) const;
    void MoveToDepth(float &From, float To, float Psurf, bool DoShow, bool UseSetpoint,
                     bool UseDecoRMV);
    int16_t FindDecoGas(float Depth) const;
    void AddResultWaypoint(float Depth, float Rate, float GasUsed, float PPO2, float CNSSegment,
                           float OTUSegment, float END, bool IsStop, bool DoShow);
    void SetZHL16B();
    void SetZHL16C();
    void SetHalfTimes();

    // Small steps of the start and of the ascent.
    void CommonStart(int16_t TemplEntry, bool ModelC);
    void CommonStart(const TemplateRec &Dive, bool ModelC);
    void StartSaturated();
    void StartAfterInterval(const Comp16 &compartN2, const Comp16 &compatHe, float surfacetime);
    // The limits a waypoint is checked against: the bottom's maximum ppO2 and the deco
    // maximum are two, even when equal.
    enum LimitSlot : uint8_t { EndSlot, BottomPPO2Slot, DecoPPO2Slot, LowPPO2Slot, LimitSlots };
    void NoteLimit(LimitSlot Slot, PlanWarningKind Kind, float Value, float Limit);
    void ClimbToAltitude();
    void ValidateDive(const ClassProfile &inp, bool CalcDeco) const;
    float SimulateUserSegments(const ClassProfile &inp, bool MixByName);
    void PlanAscent(float LastDepth, float MaxDepth);
    float FirstCandidate(float LastDepth) const;
    float NextStop(float Stop) const;
    void SwitchToDecoGas(float Depth);
    void WriteEndOfDive();

    // Coefficients of compartment i weighted by its two tensions; f scales a to feet.
    struct Weighted {
        float Ptot; // He + N2 tension
        float a;
        float b;
    };
    Weighted Weigh(int i, double f) const;

    // Shared physics of the segments.
    const TemplateRec &Tmpl() const { return *Settings; }
    const GasRecord &BreathedGas() const;
    float DepthUnitsPerPressure() const { return DepthUnitsPerBar(Tmpl().Metric); } // msw per bar, fsw per atm
    float ToDepthUnits(float pressure) const { return pressure * DepthUnitsPerPressure(); }
    // Ambient pressure at depth d below a surface of Psurf bar or atm, in depth units.
    float Pamb(float Psurf, float d) const { return static_cast<float>(PambExact(Psurf, d)); }
    // The same unrounded, for an expression that goes on from it (a level or a stop takes the
    // water vapour off before anything is stored, so rounding here would move the last bit).
    double PambExact(float Psurf, float d) const
    {
        return static_cast<double>(Psurf) * DepthUnitsPerPressure() + d;
    }
    float WaterVapour() const { return Tmpl().Metric ? 0.527f : 1.848f; } // msw or fsw
    void CountSegment(float Time);
    void HaldaneAll(float PiHe, float PiN2, float Time);
    void InspiredAtSetpoint(float P, float SP, const GasRecord &diluent, float &PiHe,
                            float &PiN2) const;
    float HoldStop(float PiHe, float PiN2, double Step, float StopDepth, float NextStop);
    void TraceHeader(bool DepthChange, const char *Label, float A, float B, float C, float D);
    void TraceCompartments();

    Comp16 HalfTimeHe{};
    Comp16 HalfTimeN2{};
    Comp16 aHe{};
    Comp16 aN2{};
    Comp16 bHe{};
    Comp16 bN2{};
    Comp16 kHe{};
    Comp16 kN2{};
    Comp16 CompHe{};
    Comp16 CompN2{};
    Comp16 CopyHe{};
    Comp16 CopyN2{};
    int16_t SegmentNumber = 0;
    float LastSegmentTime = 0;
    float RunTime = 0;
    int16_t MixNumber = 0;
    int16_t CopySegmentNumber = 0;
    float CopyLastSegmentTime = 0;
    float CopyRunTime = 0;
    Comp16 StepN2{};
    Comp16 StepHe{};
    float MaxMValue = 0;
    int16_t Status = 0;
    float GF = 1.0f;
    const ClassProfile *InputProfile = nullptr;
    ClassProfile *ResultProfile = nullptr;
    // The dive's settings, and the gSettings record that receives the end state (-1: none).
    const TemplateRec *Settings;
    int16_t RecordNumber = -1;
    bool ModelVPM = false;
    bool ModelHybrid = false;
    DiveEndState EndState_;
    bool DecoActive = false;
    ClassVPMGF VPM;
    float VPMGradient = 0;
    bool OpenCircuit = true;
    int16_t CeilingModel = 0;
    float OTU = 0;
    float CNS = 0;
    // The worst breach of each limit so far, kept in place so that no segment allocates;
    // Warnings() lists them. A start does not clear them.
    struct Breach {
        bool Met = false;
        PlanWarning Worst;
    };
    std::array<Breach, LimitSlots> Breaches{};
    // The limits crossed, in the order each was first crossed; the first LimitsCrossed count.
    std::array<LimitSlot, LimitSlots> CrossingOrder{};
    uint8_t LimitsCrossed = 0;

    // The surface interval of a repetitive start goes into this profile, which nobody
    // reads; its segment raises no limit warning (surface air at altitude reads below a
    // typical minimum ppO2, which is no breach of the dive).
    ClassProfile SurfaceProfile;
    bool QuietWarnings = false;
    Comp16 LoadBuffer{}; // compartment loads of the waypoint being appended

    // ---- Work kept so that no number is computed twice -------------------------------
    // Each keeps values computed by the same expressions as a fresh computation, so the
    // results are the same to the last bit; only the repeats are saved.

    // e^(-k t) of every compartment for a segment of t minutes: a stop's whole minutes (or
    // tenths on a rebreather), the moves between stops and the steps of a climb repeat the
    // same t, in this dive and in every other dive with the same rate constants (every
    // cell of a table). The most recent are kept for the thread (engine/ClassBuhlmann.cpp).
    struct ExposureFactors {
        uint32_t tBits = 0;   // t as its bit pattern
        uint32_t lastUse = 0; // 0: empty
        std::array<double, kCompartments + 1> He{};
        std::array<double, kCompartments + 1> N2{};
    };
    const ExposureFactors &FactorsFor(float t) const;
    mutable uint32_t FactorSetSeen = 0; // the kept factors' set, checked against kHe and kN2
    std::array<double, kCompartments + 1> InvKHe{}; // 1 / k, per minute
    std::array<double, kCompartments + 1> InvKN2{};

    // The tension-weighted coefficients (Ptot, a, b of Weigh) of all compartments, kept
    // while the tensions stay bit for bit the same: the ceiling, the loads and the M-value
    // ratio of one waypoint all start from them.
    struct WeightCache {
        bool Valid = false;
        bool Metric = false;
        uint32_t Generation = 0;
        Comp16 He{}, N2{};      // the tensions they were computed from
        Comp16 Ptot{}, a{}, b{};
        std::array<bool, kCompartments + 1> Empty{}; // no inert gas: adds nothing
    };
    const WeightCache &WeighAll(bool Metric) const;
    mutable WeightCache Weights;
    // The last ceiling and the model that set it, for the same weights and settings.
    struct CeilingMemo {
        bool Valid = false;
        uint32_t Generation = 0;
        float GF = 0, VPMGradient = 0, Psurf = 0;
        bool VPM = false, Hybrid = false;
        float Ceiling = 0;
        int16_t Model = 0;
    };
    CeilingMemo LastCeiling;
    // GetCeiling() <= Depth, decided without the whole ceiling: during a stop the answer is
    // nearly always no, and the compartment that held the diver last time says so at once.
    bool CeilingAtOrAbove(float Depth);
    int Leading = 1;
};
