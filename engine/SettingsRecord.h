#pragma once
// The settings of a dive and the per-dive record that holds them. Units follow the
// dive's Metric flag: metres, bar and litres, or feet, atmospheres and cubic feet.

#include "engine/Compartments.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct GasRecord {
    std::string Name;
    float O2 = 0;      // percent
    float N2 = 0;      // percent
    float He = 0;      // percent
    float GasUsed = 0; // litres or cubic feet; 0 in a dive's gas list
    bool operator==(const GasRecord &) const = default;
};

// A gas switch during decompression; the fractions are copied from the gas of that name.
struct GasChangeRecord {
    std::string Name;
    float O2 = 0;
    float N2 = 0;
    float He = 0;
    float Depth = 0; // switch depth
    bool operator==(const GasChangeRecord &) const = default;
};

// One band of an ascent or descent rate table. Row i's Rate applies from its Depth down
// to row i+1's Depth; the last row's below its Depth.
struct RateRecord {
    float PixelRate = 0;  // slope of the band in the editor's pixels (never stored)
    float PixelDepth = 0; // depth of the band in the editor's pixels (never stored)
    float Rate = 0;       // depth units per minute, positive
    float Depth = 0;      // depth at which the band begins
    bool operator==(const RateRecord &) const = default;
};

GasRecord AirGas();

// The order in which a dive keeps its switches: by depth, shallow first, switches at one
// depth as given. The planner takes the first switch allowed at a depth, so this order
// gives the richest gas allowed, whatever order a file or a grid listed them in. Indices
// into `switches`; a depth that is no number sorts last.
std::vector<size_t> SwitchOrder(const std::vector<GasChangeRecord> &switches);

struct TemplateRec {
    float StartAltitude = 0;
    float StartPressure = 0;
    int16_t TimeToHeight = 0;      // minutes
    bool AdeptedToHeight = false;
    float EndAltitude = 0;
    float EndPressure = 0;         // the engine's surface pressure
    bool Changed = false;
    std::string Directory;
    std::string Templatename;
    bool Metric = false;
    float StepSize = 0;
    float LastStop = 0;
    std::vector<GasChangeRecord> GasChanges;
    bool OpenCircuit = false;
    float Setpoint = 0;
    float DecoSetpoint = 0;
    bool OCDeco = false;
    float RMV = 0;
    float DecoRMV = 0;
    float MinPPO2 = 0;
    float MaxPPO2 = 0;
    float DecoPPO2 = 0;
    float MaximalEND = 0;
    bool O2Narcotic = false;
    bool AutoDecoGas = false;
    bool CeilingOverride = false;
    bool GFOn = false;
    bool DepthAdjust = false;
    float GFHigh = 0;
    float GFLow = 0;
    std::vector<RateRecord> AscendRates;
    std::vector<RateRecord> DescendRates;
    std::vector<GasRecord> Gases{AirGas()}; // element 0 is always Air 21/79/0
    bool PPO2Low = false;
    bool PPO2High = false;
    bool MaxEnd = false;
    // Every field equal: a window that must leave a dive as it was compares it whole.
    bool operator==(const TemplateRec &) const = default;
};

// Every switch takes O2, N2 and He of the gas of its name (the last one when several
// share it); a switch whose gas is not listed keeps what it had, so a new switch whose
// gas was deleted breathes none (0, 0, 0).
void MatchSwitchesToGases(TemplateRec &t);

// A text the settings dialog converted at a change of units and that was stored as it
// showed it: where it stands (a box's name, or "grid/row/col" with the row of the stored
// order), the text before the change and the text the change wrote.
struct UnitSwitchText {
    std::string Where, Before, Written;
};

// The last change of units stored into a record: the units before it, the dialog's texts
// it converted and stored unedited (none after a template load), and the depths of the
// dive's logged legs before and after (none for the default template). A switch back
// gives back what it converted from wherever nothing changed since: the conversions round
// (a deco RMV of 15 l/min shows as 0.5 cu ft/min) and their factors are not each other's
// inverse (3.2808 x 0.3048 is not 1), so converting there and back would move values.
struct UnitSwitch {
    bool MetricBefore = true;
    std::vector<UnitSwitchText> Texts;
    std::vector<float> LegsBefore, LegsAfter;
};

struct SettingsRecord {
    bool SlotFree = false;
    bool ProfileChanged = false;
    TemplateRec Template;
    std::string TemplateName;
    std::string ProfileName;
    std::string ProfileDir;  // with a trailing path separator
    int16_t PrevProfile = -1;
    Comp16 HeCompartments{};  // end-of-dive tensions
    Comp16 N2Compartments{};
    float OTU = 0;
    float CNS = 0;           // fraction of the limit
    float SurfTime = 0;      // minutes before this dive; 0 for a first dive
    std::shared_ptr<const UnitSwitch> LastUnitSwitch; // none until units were changed
};
