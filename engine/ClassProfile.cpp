#include "engine/ClassProfile.h"

#include "engine/RuntimeError.h"

ClassProfile::ClassProfile()
{
    WayPoint start;
    start.GasMixName = "Air";
    start.GasMixO2 = 21;
    start.GasMixN2 = 79;
    start.GasMixHe = 0;
    start.GF = 1.0f;
    points_.push_back(start);
}

WayPoint &ClassProfile::at(int16_t i)
{
    if (i < 0 || i >= static_cast<int>(points_.size()))
        throwSubscript("ClassProfile");
    return points_[static_cast<size_t>(i)];
}

const WayPoint &ClassProfile::at(int16_t i) const
{
    if (i < 0 || i >= static_cast<int>(points_.size()))
        throwSubscript("ClassProfile");
    return points_[static_cast<size_t>(i)];
}

void ClassProfile::copy16(const Comp16 &from, Comp16 &to)
{
    for (int k = 1; k <= kCompartments; ++k)
        to[k] = from[k];
}

void ClassProfile::NewWayPoint()
{
    // The count is a 16-bit Integer: one waypoint more than it can hold is an overflow,
    // not a silently wrapped index.
    if (points_.size() >= 32767)
        throwOverflow("ClassProfile.NewWayPoint");
    WayPoint &w = points_.emplace_back();
    w.DoShow = true;
    w.GF = 1.0f;
}

void ClassProfile::clear()
{
    points_.resize(1);
}

float ClassProfile::DeleteLast()
{
    const int16_t n = GetLength();
    if (n < 1)
        return 0;
    points_.resize(static_cast<size_t>(n));
    return points_.back().RunTime;
}

void ClassProfile::copyFrom(const ClassProfile &A, int16_t last, bool withCeiling)
{
    // The start point keeps its own tension arrays (and, without ceilings, its own
    // ceiling); every later waypoint starts from a new record.
    WayPoint start = points_.front();
    std::vector<WayPoint> out;
    out.reserve(static_cast<size_t>(last) + 1);
    for (int16_t i = 0; i <= last; ++i) {
        const WayPoint &s = A.points_[static_cast<size_t>(i)];
        WayPoint d = (i == 0) ? start : WayPoint{};
        d.SegmentNumber = s.SegmentNumber;
        d.SegmentTime = s.SegmentTime;
        d.Depth = s.Depth;
        d.Rate = s.Rate;
        d.RunTime = s.RunTime;
        d.MixNumber = s.MixNumber;
        d.GasMixName = s.GasMixName;
        d.GasMixO2 = s.GasMixO2;
        d.GasMixN2 = s.GasMixN2;
        d.GasMixHe = s.GasMixHe;
        d.GasUsed = s.GasUsed;
        d.StopDepth = s.StopDepth;
        d.StopTime = s.StopTime;
        d.Status = s.Status;
        d.PPO2 = s.PPO2;
        if (withCeiling)
            d.Ceiling = s.Ceiling;
        d.CNS = s.CNS;
        d.OTU = s.OTU;
        d.TotalCNS = s.TotalCNS;
        d.TotalOTU = s.TotalOTU;
        d.END = s.END;
        d.MaxMValue = s.MaxMValue;
        d.GF = s.GF;
        d.ModelControl = s.ModelControl;
        d.DoShow = s.DoShow;
        d.EndUserProfile = s.EndUserProfile;
        d.PercentCompartments = s.PercentCompartments;
        // He and N2 tensions are deliberately not copied.
        out.push_back(std::move(d));
    }
    points_ = std::move(out);
}

void ClassProfile::Copy(const ClassProfile &A)
{
    if (&A == this)
        return;
    copyFrom(A, A.GetLength(), true);
}

void ClassProfile::CopyUntil(const ClassProfile &A, int16_t UntilPoint)
{
    // An index outside the source is refused before anything changes, so a bad call
    // can never leave a half-copied profile with a wrong count.
    if (UntilPoint < 0 || UntilPoint > A.GetLength())
        throwSubscript("ClassProfile.CopyUntil");
    if (&A == this) {
        points_.resize(static_cast<size_t>(UntilPoint) + 1);
        for (size_t i = 1; i < points_.size(); ++i) {
            points_[i].Ceiling = 0;
            points_[i].HeCompartments = Comp16{};
            points_[i].N2Compartments = Comp16{};
        }
        return;
    }
    copyFrom(A, UntilPoint, false);
}
