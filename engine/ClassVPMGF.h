#pragma once
// The allowed supersaturation gradient of the varying-permeability bubble model (VPM)
// for one dive. The deepest depth crushes the critical nucleus radius r0; the crushed
// nucleus then tolerates a gradient G above ambient pressure (Pa):
//   G = gamma x A / (r0 x gammaC) + crushing pressure x gamma / gammaC,  A = 2 (gammaC - gamma).
// Below the onset of impermeability (932190 Pa) the skin lets gas through and the crushed
// radius follows directly; above it the gas inside is compressed too and the radius is
// the root of a cubic, found by Newton iteration.
//
// Pressures are scaled to a surface of one reference pressure: 100000 Pa (bar, metric) or
// 101325 Pa (atm, imperial). GradF, the value the ceiling uses, is in msw or fsw.

#include <cstdint>

class ClassVPMGF {
public:
    float getDepth() const { return Depth; }
    float GetMicron() const { return Micron; }
    float GetGradF() const { return GradF; }
    float GetGradP() const { return GradP; }
    float GetFstop() const { return Fstop; }

    // Nucleus constants (N/m, N/m, micrometres), the surface pressure (bar or atm) and the
    // unit system.
    void SetVPMValues(float Gamma, float GammaC, float Micron, float Psl, bool isMetric);
    // All results for a dive whose deepest depth is Depth (m or ft).
    void VPMStart(float Depth);
    // The two regions; Ratio is ambient over surface pressure at Depth.
    void Perm(float Depth, float Ratio);
    void ImPerm(float Depth, float Ratio);
    static float Cubic(float d) { return static_cast<float>(static_cast<double>(d) * d * d); }
    // Newton root of A r^3 - b r^2 - c = 0 from the middle of the bounds, at most 11
    // steps, ending when a step is below 1e-10; the bounds are not enforced.
    static void Root(float A, float b, float c, float LowBound, float HighBound, float &RMMin);

private:
    double referencePressure() const;     // Pa
    double depthPerPressure() const;      // msw per bar or fsw per atm
    void setGradient(float G);            // GradP, GradF and Fstop from G in Pa
    struct Crush {
        float P; // ambient pressure scaled to a surface of one reference pressure, Pa
        float A; // 2 (gammaC - gamma), N/m
    };
    Crush crush(float Ratio) const;

    float Pata = 0;
    float Gamma = 0.0179f;
    float GammaC = 0.257f;
    float Micron = 1.0f;
    bool isMetric = false;
    float Depth = 0;
    float Fstop = 0;
    float GradP = 0;
    float GradF = 0;
    float Radius = 0;
    float R0 = 0;
};
