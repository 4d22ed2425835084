#pragma once
// The gas advisor's arithmetic: for a depth of a dive, the richest oxygen fraction that
// keeps the dive's ppO2 limit and the inert-gas share that keeps its maximal equivalent
// narcotic depth, per family (nitrox, trimix, heliox), and the END and ppO2 of a mix.
// The waypoint dialog shows them; the blending calculator reuses them.
//
// With k = 10 msw per bar (metres) or 33 fsw per atm (feet) and P the start surface
// pressure, a depth d is the absolute depth A = P*k + d in depth units, the ambient
// pressure A/k. The ppO2 limit L is MaxPPO2 on open circuit, the set point on a
// rebreather. The best O2 fraction is L / (A/k) rounded down to 1 %. The narcotic share
// that keeps the END E is (P*k + E) / A: of nitrogen 0.79 times that (the END of
// nitrogen is measured against air), of O2 + N2 the share itself when oxygen counts as
// narcotic. Fractions are 0 to 1.

#include "engine/SettingsRecord.h"

struct AdvisedMix {
    float O2 = 0;
    float N2 = 0;
    float He = 0;
    // False when no mix of the family keeps both limits at the depth.
    bool Possible = true;
};

// A fraction rounded down to whole hundredths.
float RoundDownPercent(float value);

// The best nitrox; when none is possible N2 holds the nitrogen limit it could not meet.
AdvisedMix BestNitrox(const TemplateRec &t, float depth);
// The best trimix: the richest oxygen, the most nitrogen the END allows, helium the rest
// (with no room for nitrogen, helium fills up to 100 %). Always possible.
AdvisedMix BestTrimix(const TemplateRec &t, float depth);
// The best heliox (oxygen and helium); impossible when its oxygen alone is too narcotic.
AdvisedMix BestHeliox(const TemplateRec &t, float depth);

// The ppO2 (bar or atm) of an oxygen fraction at the depth.
float AdvisorPPO2(const TemplateRec &t, float depth, float fO2);
// The END (depth units) of a mix at the depth: its nitrogen against air's 79 %, or its
// oxygen and nitrogen together when oxygen counts as narcotic.
float AdvisorEND(const TemplateRec &t, float depth, float fO2, float fN2);
// Whether a nitrox (fO2, fN2) is a real mix within the END limit: its nitrogen fills the
// rest of the oxygen (compared at three decimals in metres) and, with oxygen narcotic,
// its END stays within a metre or foot of the limit.
bool NitroxAvailable(const TemplateRec &t, float depth, float fO2, float fN2);

// The depth at which a gas of `o2Percent` oxygen reaches `ppO2`, in depth units of 10
// per bar (or atm) of pressure above the surface pressure `endPressure`:
// ((ppO2 / O2) x 100 - endPressure) x 10, worked in Singles. A gas without oxygen (or
// not found, -1) and a gas already above that ppO2 at the surface get 0: their switch
// never applies. The settings dialog's automatic switches lie there; an imperial dialog
// shows it times kFeetPerMetre, so 32.808 ft per atm where the planner counts 33 fsw: the
// automatic depths stored in templates and series were worked out so, and they stay
// where they are.
float AutoSwitchDepth(float ppO2, float o2Percent, float endPressure);
