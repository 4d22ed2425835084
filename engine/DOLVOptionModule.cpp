#include "engine/DOLVOptionModule.h"

#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "engine/Units.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

struct CNSRow {
    float low, high, slope, intercept;
};

// NOAA single-exposure limits as straight lines between their table points (limit in
// minutes = slope x ppO2 + intercept), extended above 1.6 atm.
constexpr CNSRow kCNSTable[kCNSRows + 1] = {
    {0, 0, 0, 0},
    {0.5f, 0.6f, -1800, 1800},
    {0.6f, 0.7f, -1500, 1620},
    {0.7f, 0.8f, -1200, 1410},
    {0.8f, 0.9f, -900, 1170},
    {0.9f, 1.1f, -600, 900},
    {1.1f, 1.5f, -300, 570},
    {1.5f, 1.6f, -750, 1245},
    {1.6f, 1.7f, -351, 606},
    {1.7f, 1.8f, -80, 146},
    {1.8f, 2.0f, -0.001f, 2},
    {2.0f, 60, -0.001f, 1},
};

CNSColumn column(float CNSRow::*field)
{
    CNSColumn c{};
    for (int i = 1; i <= kCNSRows; ++i)
        c[i] = kCNSTable[i].*field;
    return c;
}

double depthPerPressure(bool Metric)
{
    return DepthUnitsPerBar(Metric);
}

// Absolute pressure in bar or atm at Depth.
double absolutePressure(float Depth, float SurfacePressure, bool Metric)
{
    return Depth / depthPerPressure(Metric) + SurfacePressure;
}

// The ppO2 the oxygen limits are looked up with.
float limitPPO2(double ppO2, bool Metric)
{
    return static_cast<float>(Metric ? ppO2 * kAtmPerBar : ppO2);
}

// Minutes of a depth change. A rate of 0 never reaches here from the engine; should it,
// it is the division fault the caller must see rather than an infinite time.
float changeTime(float StartDepth, float EndDepth, float Rate)
{
    if (Rate == 0)
        throw RuntimeError(ErrDivisionByZero, "DOLVOptionModule", "Division by zero");
    return static_cast<float>((static_cast<double>(EndDepth) - StartDepth) / Rate);
}

// The part of a depth change that lies above ppO2 0.5, where oxygen counts: ppO2 runs
// linearly in time between pmin and pmax; from pi (pmin, or 0.5 when the change starts
// below it) to pmax it takes ta minutes.
struct OxygenRange {
    float pmax = 0, pmin = 0, pi = 0, ta = 0;
    bool counts = false; // false when the whole change stays at or below 0.5
};

OxygenRange oxygenRange(float StartDepth, float EndDepth, float Rate, float fO2,
                        float SurfacePressure, bool Metric)
{
    OxygenRange o;
    const float t = changeTime(StartDepth, EndDepth, Rate);
    const float pStart = limitPPO2(absolutePressure(StartDepth, SurfacePressure, Metric), Metric);
    const float pEnd = limitPPO2(absolutePressure(EndDepth, SurfacePressure, Metric), Metric);
    o.pmax = static_cast<float>(static_cast<double>(fO2) * MaxSingle(pStart, pEnd));
    o.pmin = static_cast<float>(static_cast<double>(fO2) * MinSingle(pStart, pEnd));
    if (o.pmax <= 0.5)
        return o;
    o.counts = true;
    o.pi = o.pmin >= 0.5 ? o.pmin : 0.5f;
    // Ends too close for a Single to tell apart are a change of no measurable length.
    if (t != 0 && o.pmax != o.pmin)
        o.ta = static_cast<float>((static_cast<double>(o.pmax) - o.pi) * t / (static_cast<double>(o.pmax) - o.pmin));
    return o;
}

// Powers of one kind, kept with their arguments: the same argument (bit for bit) gives the
// same value without a second pow. A dive's stops and the ends of its moves give a few
// dozen arguments, and every cell of a table repeats most of them; the table is
// direct-mapped by a hash of the argument's bits, so a miss only replaces one entry.
struct KeptPowers {
    static constexpr int kBits = 6;
    struct Kept {
        uint64_t xBits = 0;
        double y = 0;
        bool used = false;
    };
    Kept kept[1 << kBits]{};

    double pow(double x, double exponent)
    {
        uint64_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        Kept &k = kept[((bits ^ (bits >> 29)) * 0x9E3779B97F4A7C15ull) >> (64 - kBits)];
        if (k.used && k.xBits == bits)
            return k.y;
        const double y = std::pow(x, exponent);
        k = {bits, y, true};
        return y;
    }
};

// ((p - 0.5) / 0.5)^(11/6) of the OTU integral below. The moves between stops share their
// ends (one move's shallow end is the next one's deep end).
double otuIntegralPower(double x)
{
    static thread_local KeptPowers kept;
    return kept.pow(x, 11.0 / 6.0);
}

// ((p - 0.5) / 0.5)^(5/6) of the OTU rate: each stop breathes its own ppO2.
double otuRatePower(double x)
{
    static thread_local KeptPowers kept;
    return kept.pow(x, 5.0 / 6.0);
}

// The oxygen dose of a depth change depends on nothing but its arguments (the CNS bands
// are constants), and the moves between stops repeat the same arguments in every dive
// with the same stops and gases (every cell of a table): the last few are kept, compared
// as bit patterns, with the dose they gave.
struct ChangeKey {
    float start, end, rate, fO2, surface;
    bool metric;
};

struct ChangeMemo {
    // Direct-mapped by a hash of the key: a dive has a few dozen distinct changes.
    static constexpr int kBits = 7;
    struct Entry {
        uint32_t bits[5];
        bool metric;
        bool used;
        float value;
    };
    Entry entries[1 << kBits]{};

    static void keyBits(const ChangeKey &k, uint32_t (&bits)[5])
    {
        std::memcpy(&bits[0], &k.start, 4);
        std::memcpy(&bits[1], &k.end, 4);
        std::memcpy(&bits[2], &k.rate, 4);
        std::memcpy(&bits[3], &k.fO2, 4);
        std::memcpy(&bits[4], &k.surface, 4);
    }
    static Entry &slot(Entry (&table)[1 << kBits], const uint32_t (&bits)[5])
    {
        uint32_t h = 0;
        for (uint32_t b : bits)
            h = (h ^ b) * 0x9E3779B1u;
        return table[h >> (32 - kBits)];
    }
    const float *find(const ChangeKey &k)
    {
        uint32_t bits[5];
        keyBits(k, bits);
        const Entry &e = slot(entries, bits);
        if (e.used && e.metric == k.metric && std::memcmp(e.bits, bits, sizeof bits) == 0)
            return &e.value;
        return nullptr;
    }
    void keep(const ChangeKey &k, float value)
    {
        uint32_t bits[5];
        keyBits(k, bits);
        Entry &e = slot(entries, bits);
        std::memcpy(e.bits, bits, sizeof bits);
        e.metric = k.metric;
        e.used = true;
        e.value = value;
    }
};

} // namespace

CNSColumn gCNSLow = column(&CNSRow::low);
CNSColumn gCNSHigh = column(&CNSRow::high);
CNSColumn gCNSSlope = column(&CNSRow::slope);
CNSColumn gCNSIntercept = column(&CNSRow::intercept);

void InitCNSTable()
{
    gCNSLow = column(&CNSRow::low);
    gCNSHigh = column(&CNSRow::high);
    gCNSSlope = column(&CNSRow::slope);
    gCNSIntercept = column(&CNSRow::intercept);
}

// Gas at depth: surface volume = absolute pressure x time x RMV.
float GasUsedAtDepth(float Depth, float Time, float RMV, float SurfacePressure, bool Metric)
{
    return static_cast<float>(absolutePressure(Depth, SurfacePressure, Metric) * Time * RMV);
}

// A linear depth change breathes as its mean depth does.
float GasUsedForDepthChange(float StartDepth, float EndDepth, float Rate, float RMV,
                            float SurfacePressure, bool Metric)
{
    const float t = changeTime(StartDepth, EndDepth, Rate);
    const float meanDepth = static_cast<float>((static_cast<double>(StartDepth) + EndDepth) / 2);
    return static_cast<float>(absolutePressure(meanDepth, SurfacePressure, Metric) * t * RMV);
}

// Lambertsen's unit pulmonary toxic dose: OTU = t x ((ppO2 - 0.5) / 0.5)^(5/6), ppO2 in atm.
float OTUForPPO2(float PPO2, float Time, bool Metric)
{
    const float p = limitPPO2(PPO2, Metric);
    if (p <= 0.5)
        return 0;
    return static_cast<float>(Time * otuRatePower((p - 0.5) / 0.5));
}

float OTUAtDepth(float Depth, float Time, float fO2, float SurfacePressure, bool Metric)
{
    const float p = static_cast<float>(absolutePressure(Depth, SurfacePressure, Metric) *
                                       (Metric ? kAtmPerBar : 1.0) * fO2);
    if (p <= 0.5)
        return 0;
    return static_cast<float>(Time * otuRatePower((p - 0.5) / 0.5));
}

// The OTU dose integrated over a linear ppO2 ramp from pi to pmax lasting ta minutes:
// OTU = 3/11 x ta / (pmax - pi) x [((p - 0.5) / 0.5)^(11/6)] from pi to pmax.
// The same for either direction of the change.
static float otuForDepthChangeOnce(float StartDepth, float EndDepth, float Rate, float fO2,
                                   float SurfacePressure, bool Metric)
{
    const OxygenRange o = oxygenRange(StartDepth, EndDepth, Rate, fO2, SurfacePressure, Metric);
    if (!o.counts || o.ta == 0)
        return 0;
    const float A = o.pi - 0.5 != 0 ? static_cast<float>(otuIntegralPower((o.pi - 0.5) / 0.5)) : 0.0f;
    const float B = static_cast<float>(otuIntegralPower((o.pmax - 0.5) / 0.5));
    return static_cast<float>(3.0 / 11.0 * o.ta / (static_cast<double>(o.pmax) - o.pi) * (static_cast<double>(B) - A));
}

// CNS = time / limit, the limit from the first band that holds the ppO2 (in atm).
// Above the table (ppO2 > 60) nothing is charged.
float CNSForPPO2(float PPO2, float Time, bool Metric)
{
    const float p = limitPPO2(PPO2, Metric);
    if (p <= 0.5)
        return 0;
    for (int i = 1; i <= kCNSRows; ++i) {
        if (gCNSLow[i] < p && p <= gCNSHigh[i]) {
            const float limit = static_cast<float>(static_cast<double>(gCNSSlope[i]) * p + gCNSIntercept[i]);
            return static_cast<float>(Time / static_cast<double>(limit));
        }
    }
    return 0;
}

float CNSAtDepth(float Depth, float Time, float fO2, float SurfacePressure, bool Metric)
{
    const float p = static_cast<float>(absolutePressure(Depth, SurfacePressure, Metric) *
                                       (Metric ? kAtmPerBar : 1.0) * fO2);
    return CNSForPPO2(p, Time, false);
}

// With ppO2 linear in time, the limit is linear in time within each band, L(t) = L0 + r t,
// and the CNS charged there is the integral of 1 / L(t) over the band's time ti:
// (ln|L0 + r ti| - ln|L0|) / r. The bands' pieces of [pi, pmax] add up to ta.
static float cnsForDepthChangeOnce(float StartDepth, float EndDepth, float Rate, float fO2,
                                   float SurfacePressure, bool Metric)
{
    const OxygenRange o = oxygenRange(StartDepth, EndDepth, Rate, fO2, SurfacePressure, Metric);
    if (!o.counts || o.ta == 0)
        return 0;
    const bool rising = StartDepth <= EndDepth;
    float total = 0;
    for (int i = 1; i <= kCNSRows; ++i) {
        if (o.pmax <= gCNSLow[i] || o.pi > gCNSHigh[i])
            continue;
        const float lower = MaxSingle(o.pi, gCNSLow[i]);
        const float upper = MinSingle(o.pmax, gCNSHigh[i]);
        const float ps = rising ? lower : upper;
        const float d = rising ? upper - lower : lower - upper;
        const float ti = static_cast<float>(std::fabs(d) * static_cast<double>(o.ta) / (static_cast<double>(o.pmax) - o.pi));
        if (ti == 0)
            continue;
        const float L0 = static_cast<float>(static_cast<double>(gCNSSlope[i]) * ps + gCNSIntercept[i]);
        const float r = static_cast<float>(static_cast<double>(d) / ti * gCNSSlope[i]);
        total += static_cast<float>(
            (std::log(std::fabs(static_cast<double>(ti) * r + L0)) - std::log(std::fabs(static_cast<double>(L0)))) / r);
    }
    return total;
}

float OTUForDepthChange(float StartDepth, float EndDepth, float Rate, float fO2,
                        float SurfacePressure, bool Metric)
{
    static thread_local ChangeMemo memo;
    const ChangeKey key{StartDepth, EndDepth, Rate, fO2, SurfacePressure, Metric};
    if (const float *kept = memo.find(key))
        return *kept;
    const float otu = otuForDepthChangeOnce(StartDepth, EndDepth, Rate, fO2, SurfacePressure, Metric);
    memo.keep(key, otu);
    return otu;
}

float CNSForDepthChange(float StartDepth, float EndDepth, float Rate, float fO2,
                        float SurfacePressure, bool Metric)
{
    static thread_local ChangeMemo memo;
    const ChangeKey key{StartDepth, EndDepth, Rate, fO2, SurfacePressure, Metric};
    if (const float *kept = memo.find(key))
        return *kept;
    const float cns = cnsForDepthChangeOnce(StartDepth, EndDepth, Rate, fO2, SurfacePressure, Metric);
    memo.keep(key, cns);
    return cns;
}

// END: the depth on air with the same narcotic pressure. Without narcotic oxygen only
// nitrogen counts, against air's 0.79 at one bar:
//   END = ((10 P0 + d) x N2% / 1000 / 0.79 - 1) x 10;
// with narcotic oxygen every gas but helium counts:
//   END = (1 - He% / 100) x (10 P0 + d) - 10 P0.
// d in metres (feet / 3.3); an imperial END is given back in feet.
float CalcEND(bool Metric, float Depth, float N2, float He, bool O2Narcotic,
              const TemplateRec &Template)
{
    const double P0 = Template.StartPressure;
    const double k = DepthUnitsPerBar(true); // the END is worked in metres
    const float d = Metric ? Depth : static_cast<float>(Depth / kFswPerMsw);
    float end;
    if (!O2Narcotic)
        end = static_cast<float>(((k * P0 + d) * N2 / 1000 / 0.79 - 1) * k);
    else
        end = static_cast<float>((1 - He / 100.0) * (k * P0 + d) - k * P0);
    if (end < 0)
        end = 0;
    if (!Metric)
        end = static_cast<float>(end * kFswPerMsw);
    return end;
}

float CalcENDVar(bool Metric, float, float Depth, float He, float N2, bool O2Narcotic,
                 const TemplateRec &Template)
{
    return CalcEND(Metric, Depth, N2, He, O2Narcotic, Template);
}

float CalcPPO2Var(float Depth, float SurfacePressure, float fO2, bool Metric)
{
    const double k = depthPerPressure(Metric);
    return static_cast<float>((SurfacePressure * k + Depth) / k * fO2);
}

float CNSAfterSurfaceInterval(float CNS, float minutes)
{
    return static_cast<float>(CNS * std::pow(2.0, -static_cast<double>(minutes) / 90));
}
