#pragma once
// A dive profile: an ordered list of waypoints, each the end of one segment. Index 0 is
// the start point; it exists from construction on and survives clear(). The same class
// holds the legs a diver draws, the engine's result and scratch profiles.

#include "engine/Compartments.h"

#include <cstdint>
#include <string>
#include <vector>

// Kinds of waypoint (WayPoint::Status).
enum WayPointStatus : int16_t {
    StatusAscentBetweenStops = -1,
    StatusUserLeg = 1,       // piece of a drawn leg
    StatusDescentBand = 2,   // descent piece ending on a depth of the descent rate table
    StatusAscentBand = 3,    // ascent piece ending on a depth of the ascent rate table
    StatusDecoStop = 4,
};

struct WayPoint {
    int16_t SegmentNumber = 0;
    float SegmentTime = 0;  // minutes
    float RunTime = 0;      // minutes, at the end of the segment
    std::string GasMixName;
    float GasMixO2 = 0;     // percent
    float GasMixN2 = 0;
    float GasMixHe = 0;
    float GasUsed = 0;
    float Rate = 0;         // depth units per minute: > 0 descent, < 0 ascent
    float Depth = 0;
    float Ceiling = 0;
    float StopTime = 0;
    float StopDepth = 0;
    float PPO2 = 0;
    float CNS = 0;          // fraction of the limit
    float TotalCNS = 0;
    float OTU = 0;
    float TotalOTU = 0;
    float END = 0;
    Comp16 PercentCompartments{};
    Comp16 HeCompartments{};
    Comp16 N2Compartments{};
    int16_t Status = 0;
    int16_t MixNumber = 0;
    bool DoShow = false;
    bool EndUserProfile = false;
    float MaxMValue = 0;
    float GF = 0;
    int16_t ModelControl = 0; // 1 VPM, 2 Buhlmann with gradient factors
};

class ClassProfile {
public:
    ClassProfile();

    void NewWayPoint();
    void clear();
    int16_t GetLength() const { return static_cast<int16_t>(points_.size() - 1); }
    float DeleteLast();

    bool GetEndUserProfile(int16_t i) const { return at(i).EndUserProfile; }
    void SetEndUserProfile(int16_t i, bool v) { at(i).EndUserProfile = v; }
    int16_t GetModelControl(int16_t i) const { return at(i).ModelControl; }
    void SetModelControl(int16_t i, int16_t v) { at(i).ModelControl = v; }
    float GetMaxMValue(int16_t i) const { return at(i).MaxMValue; }
    void SetMaxMValue(int16_t i, float v) { at(i).MaxMValue = v; }
    float GetGF(int16_t i) const { return at(i).GF; }
    void SetGF(int16_t i, float v) { at(i).GF = v; }
    int16_t GetSegmentNumber(int16_t i) const { return at(i).SegmentNumber; }
    void SetSegmentNumber(int16_t i, int16_t v) { at(i).SegmentNumber = v; }
    float GetSegmentTime(int16_t i) const { return at(i).SegmentTime; }
    void SetSegmentTime(int16_t i, float v) { at(i).SegmentTime = v; }
    float GetRunTime(int16_t i) const { return at(i).RunTime; }
    void SetRunTime(int16_t i, float v) { at(i).RunTime = v; }
    float getDepth(int16_t i) const { return at(i).Depth; }
    void setDepth(int16_t i, float v) { at(i).Depth = v; }
    const std::string &GetGasMixName(int16_t i) const { return at(i).GasMixName; }
    void SetGasMixName(int16_t i, const std::string &v) { at(i).GasMixName = v; }
    float GetGasMixO2(int16_t i) const { return at(i).GasMixO2; }
    void SetGasMixO2(int16_t i, float v) { at(i).GasMixO2 = v; }
    void SetGasMixN2(int16_t i, float v) { at(i).GasMixN2 = v; }
    float GetGasMixN2(int16_t i) const { return at(i).GasMixN2; }
    void SetGasMixHe(int16_t i, float v) { at(i).GasMixHe = v; }
    float GetGasMixHe(int16_t i) const { return at(i).GasMixHe; }
    float getGasUsed(int16_t i) const { return at(i).GasUsed; }
    void SetGasUsed(int16_t i, float v) { at(i).GasUsed = v; }
    float GetRate(int16_t i) const { return at(i).Rate; }
    void SetRate(int16_t i, float v) { at(i).Rate = v; }
    float GetEND(int16_t i) const { return at(i).END; }
    void SetEND(int16_t i, float v) { at(i).END = v; }
    float GetCeiling(int16_t i) const { return at(i).Ceiling; }
    void SetCeiling(int16_t i, float v) { at(i).Ceiling = v; }
    bool GetDoShow(int16_t i) const { return at(i).DoShow; }
    void SetDoShow(int16_t i, bool v) { at(i).DoShow = v; }
    void SetStopDepth(int16_t i, float v) { at(i).StopDepth = v; }
    float getStopDepth(int16_t i) const { return at(i).StopDepth; }
    void SetStopTime(int16_t i, float v) { at(i).StopTime = v; }
    float getStopTime(int16_t i) const { return at(i).StopTime; }
    float GetPPO2(int16_t i) const { return at(i).PPO2; }
    void SetPPO2(int16_t i, float v) { at(i).PPO2 = v; }
    float getCNS(int16_t i) const { return at(i).CNS; }
    void setCNS(int16_t i, float v) { at(i).CNS = v; }
    float getOTU(int16_t i) const { return at(i).OTU; }
    void SetOTU(int16_t i, float v) { at(i).OTU = v; }
    float getTotalCNS(int16_t i) const { return at(i).TotalCNS; }
    void setTotalCNS(int16_t i, float v) { at(i).TotalCNS = v; }
    float getTotalOTU(int16_t i) const { return at(i).TotalOTU; }
    void SetTotalOTU(int16_t i, float v) { at(i).TotalOTU = v; }
    // The 16-value fields copy elements 1 to 16 to or from the caller's array.
    void SetPercentCompartments(int16_t i, const Comp16 &a) { copy16(a, at(i).PercentCompartments); }
    void GetPercentCompartments(int16_t i, Comp16 &a) const { copy16(at(i).PercentCompartments, a); }
    void SetHeCompartments(int16_t i, const Comp16 &a) { copy16(a, at(i).HeCompartments); }
    void GetHeCompartments(int16_t i, Comp16 &a) const { copy16(at(i).HeCompartments, a); }
    void GetN2Compartments(int16_t i, Comp16 &a) const { copy16(at(i).N2Compartments, a); }
    void SetN2Compartments(int16_t i, const Comp16 &a) { copy16(a, at(i).N2Compartments); }
    int16_t GetStatus(int16_t i) const { return at(i).Status; }
    void SetStatus(int16_t i, int16_t v) { at(i).Status = v; }
    int16_t getmixnumber(int16_t i) const { return at(i).MixNumber; }
    void SetMixNumber(int16_t i, int16_t v) { at(i).MixNumber = v; }

    // Replaces this profile by waypoints 0 to UntilPoint of A, without the ceilings.
    void CopyUntil(const ClassProfile &A, int16_t UntilPoint);
    // Replaces this profile by all waypoints of A, ceilings included.
    void Copy(const ClassProfile &A);

    // Whole-record access for readers that walk many fields at once.
    const WayPoint &point(int16_t i) const { return at(i); }
    // The same for the engine, which fills a new result waypoint field by field.
    WayPoint &mutablePoint(int16_t i) { return at(i); }

private:
    WayPoint &at(int16_t i);
    const WayPoint &at(int16_t i) const;
    static void copy16(const Comp16 &from, Comp16 &to);
    void copyFrom(const ClassProfile &A, int16_t last, bool withCeiling);

    std::vector<WayPoint> points_;
};
