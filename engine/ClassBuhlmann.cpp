// The engine's state: coefficient sets, what every start shares, the exposure at an
// altitude and the compartment copies.

#include "engine/ClassBuhlmann.h"

#include "engine/AltitudeModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"

#include <cmath>
#include <cstring>

namespace {

void setRow(Comp16 &row, const float (&values)[kCompartments])
{
    for (int i = 1; i <= kCompartments; ++i)
        row[i] = values[i - 1];
}

} // namespace

namespace {

// The settings of an engine not started yet: empty, so a call before Init computes
// nothing from another dive's record.
const TemplateRec &unstartedSettings()
{
    static const TemplateRec none;
    return none;
}

} // namespace

ClassBuhlmann::ClassBuhlmann()
    : Settings(&unstartedSettings())
{
}

// ZH-L16 coefficients, a in msw (bar x 10), b dimensionless; compartment 1 the fastest.
// B and C share everything but the nitrogen a of compartments 5 to 15.
void ClassBuhlmann::SetZHL16B()
{
    setRow(aHe, {16.189f, 13.83f, 11.919f, 10.458f, 9.22f, 8.205f, 7.305f, 6.502f, 5.95f, 5.545f,
                 5.333f, 5.189f, 5.181f, 5.176f, 5.172f, 5.119f});
    setRow(aN2, {11.696f, 10.0f, 8.618f, 7.562f, 6.667f, 5.6f, 4.947f, 4.5f, 4.187f, 3.798f,
                 3.497f, 3.223f, 2.85f, 2.737f, 2.523f, 2.327f});
    setRow(bHe, {0.477f, 0.5747f, 0.6527f, 0.7223f, 0.7582f, 0.7957f, 0.8279f, 0.8553f, 0.8757f,
                 0.8903f, 0.8997f, 0.9073f, 0.9122f, 0.9171f, 0.9217f, 0.9267f});
    setRow(bN2, {0.5578f, 0.6514f, 0.7222f, 0.7825f, 0.8126f, 0.8434f, 0.8693f, 0.891f, 0.9092f,
                 0.9222f, 0.9319f, 0.9403f, 0.9477f, 0.9544f, 0.9602f, 0.9653f});
}

void ClassBuhlmann::SetZHL16C()
{
    SetZHL16B();
    setRow(aN2, {11.696f, 10.0f, 8.618f, 7.562f, 6.2f, 5.043f, 4.41f, 4.0f, 3.75f, 3.5f,
                 3.295f, 3.065f, 2.835f, 2.61f, 2.48f, 2.327f});
}

// Half-times in minutes.
void ClassBuhlmann::SetHalfTimes()
{
    setRow(HalfTimeHe, {1.88f, 3.02f, 4.72f, 6.99f, 10.21f, 14.48f, 20.53f, 29.11f, 41.2f,
                        55.19f, 70.69f, 90.34f, 115.29f, 147.42f, 188.24f, 240.03f});
    setRow(HalfTimeN2, {5.0f, 8.0f, 12.5f, 18.5f, 27.0f, 38.3f, 54.3f, 77.0f, 109.0f, 146.0f,
                        187.0f, 239.0f, 305.0f, 390.0f, 498.0f, 635.0f});
}

const GasRecord &ClassBuhlmann::BreathedGas() const
{
    const auto &gases = Tmpl().Gases;
    if (MixNumber < 0 || static_cast<size_t>(MixNumber) >= gases.size())
        throw RuntimeError(ErrBadSettings, "ClassBuhlmann", GetLangString(2423));
    return gases[static_cast<size_t>(MixNumber)];
}

// A start by profile number works on that dive's record, which receives the end state.
void ClassBuhlmann::CommonStart(int16_t TemplEntry, bool ModelC)
{
    CommonStart(RecordOf(TemplEntry, "ClassBuhlmann.Init").Template, ModelC);
    RecordNumber = TemplEntry;
}

// What both starts share: totals, coefficients and rate constants k = ln 2 / half-time.
void ClassBuhlmann::CommonStart(const TemplateRec &Dive, bool ModelC)
{
    OTU = 0;
    CNS = 0;
    DecoActive = false;
    GF = 1.0f;
    VPMGradient = 0;
    CeilingModel = 0;
    Settings = &Dive;
    RecordNumber = -1;
    if (ModelC)
        SetZHL16C();
    else
        SetZHL16B();
    SetHalfTimes();
    VPM = ClassVPMGF();
    const double ln2 = std::log(2.0);
    for (int i = 1; i <= kCompartments; ++i) {
        kHe[i] = static_cast<float>(ln2 / HalfTimeHe[i]);
        kN2[i] = static_cast<float>(ln2 / HalfTimeN2[i]);
        InvKHe[i] = 1.0 / static_cast<double>(kHe[i]);
        InvKN2[i] = 1.0 / static_cast<double>(kN2[i]);
    }
    FactorSetSeen = 0; // new rate constants: compare them with the kept factors' once
    // New coefficients: nothing weighed with the old ones may be reused.
    Weights.Valid = false;
    LastCeiling.Valid = false;
}

// Haldane exposure to air (the current gas) at the ambient pressure of an altitude; it
// counts no segment and appends no waypoint.
void ClassBuhlmann::AltitudeExposure(float Altitude, float Time)
{
    const TemplateRec &T = Tmpl();
    const float P = AltitudeToPressure(Altitude, T.Metric);
    const float Pa = ToDepthUnits(P);
    const GasRecord &gas = BreathedGas();
    const float PiHe = static_cast<float>((static_cast<double>(Pa) - WaterVapour()) * gas.He / 100.0);
    const float PiN2 = static_cast<float>((static_cast<double>(Pa) - WaterVapour()) * gas.N2 / 100.0);
    const ExposureFactors &e = FactorsFor(Time); // every step of a climb lasts as long
    for (int i = 1; i <= kCompartments; ++i) {
        StepHe[i] = CompHe[i];
        StepN2[i] = CompN2[i];
        CompHe[i] = static_cast<float>(StepHe[i] + (static_cast<double>(PiHe) - StepHe[i]) * (1.0 - e.He[i]));
        CompN2[i] = static_cast<float>(StepN2[i] + (static_cast<double>(PiN2) - StepN2[i]) * (1.0 - e.N2[i]));
    }
}

void ClassBuhlmann::SetCeilingModel(bool UseVPM, bool UseHybrid)
{
    ModelVPM = UseVPM;
    ModelHybrid = UseHybrid;
}

// e^(-k t) as the segment equations write it, std::exp(-double(k) x t), so a kept factor
// is the very value a fresh one would be.
const ClassBuhlmann::ExposureFactors &ClassBuhlmann::FactorsFor(float t) const
{
    // The factors of the rate constants last used on this thread. The half-times, and so
    // k = ln 2 / half-time, are the same under ZH-L16B and C, so in practice one set
    // serves every engine; should the constants differ, the kept factors are dropped.
    struct FactorTable {
        uint32_t set = 1; // changes whenever other rate constants are adopted
        Comp16 kHe{}, kN2{};
        uint32_t clock = 0;
        std::array<ExposureFactors, 8> entries{};
        size_t latest = 0; // the entry found or filled last
    };
    static thread_local FactorTable table;
    if (FactorSetSeen != table.set) {
        if (!SameBits(table.kHe, kHe) || !SameBits(table.kN2, kN2)) {
            const uint32_t set = table.set + 1 == 0 ? 1 : table.set + 1;
            table = FactorTable{};
            table.set = set;
            table.kHe = kHe;
            table.kN2 = kN2;
        }
        FactorSetSeen = table.set;
    }
    uint32_t tBits;
    std::memcpy(&tBits, &t, sizeof t);
    ++table.clock;
    if (table.clock == 0) { // after four billion segments: start the ages again
        for (ExposureFactors &f : table.entries)
            f.lastUse = 0;
        table.clock = 1;
    }
    // The minutes of a stop ask for the same factors again and again.
    ExposureFactors &latest = table.entries[table.latest];
    if (latest.lastUse != 0 && latest.tBits == tBits) {
        latest.lastUse = table.clock;
        return latest;
    }
    ExposureFactors *oldest = &table.entries[0];
    for (ExposureFactors &f : table.entries) {
        if (f.lastUse != 0 && f.tBits == tBits) {
            f.lastUse = table.clock;
            table.latest = static_cast<size_t>(&f - table.entries.data());
            return f;
        }
        if (f.lastUse < oldest->lastUse)
            oldest = &f;
    }
    ExposureFactors &f = *oldest;
    table.latest = static_cast<size_t>(&f - table.entries.data());
    f.tBits = tBits;
    f.lastUse = table.clock;
    for (int i = 1; i <= kCompartments; ++i) {
        f.He[i] = std::exp(-static_cast<double>(kHe[i]) * t);
        f.N2[i] = std::exp(-static_cast<double>(kN2[i]) * t);
    }
    return f;
}

void ClassBuhlmann::SaveCompartmentCopy()
{
    CopyHe = CompHe;
    CopyN2 = CompN2;
    CopySegmentNumber = SegmentNumber;
    CopyLastSegmentTime = LastSegmentTime;
    CopyRunTime = RunTime;
}

void ClassBuhlmann::LoadCompartmentCopy()
{
    CompHe = CopyHe;
    CompN2 = CopyN2;
    SegmentNumber = CopySegmentNumber;
    LastSegmentTime = CopyLastSegmentTime;
    RunTime = CopyRunTime;
}
