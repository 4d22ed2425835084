#include "engine/ClassRGBMMultiDay.h"

#include "engine/ClassProfile.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/VBConversions.h"

namespace {

constexpr float kTwoDays = 2880; // minutes

} // namespace

// A surface interval is a waypoint at or above the surface whose segment lasts at least
// half a minute (rounded halves to even, so 0.5 does not count). Waypoint 0, the start
// point, is not looked at.
void ClassRGBMMultiDay::checkNeed(const ClassProfile &inp)
{
    float cumulativeSurface = 0;
    float previousSurface = kTwoDays;
    float maxSinceSurface = 0;
    float maxBeforeSurface = 0;
    for (int16_t i = 1; i <= inp.GetLength(); ++i) {
        const float d = inp.getDepth(i);
        maxSinceSurface = MaxSingle(maxSinceSurface, d);
        const float t = inp.GetSegmentTime(i);
        if (d <= 0 && CLng(t) != 0) {
            cumulativeSurface += t;
            previousSurface = t;
            maxBeforeSurface = maxSinceSurface;
            maxSinceSurface = 0;
        }
    }
    if (previousSurface < kTwoDays && maxSinceSurface != 0) {
        const std::string text = "Cum. Surf. Time = " + FormatFixed(cumulativeSurface, 0) + "\r\n" +
                                 "Previous Surf. Time = " + FormatFixed(previousSurface, 0) + "\r\n" +
                                 "MAXDEPTH = " + FormatFixed(maxBeforeSurface, 0) + "\r\n" +
                                 "CURDEPTH = " + FormatFixed(maxSinceSurface, 0) + "\r\n";
        Host().MsgBox(text, vbOKOnly, "RGBMinfo");
    }
}
