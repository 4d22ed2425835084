#include "engine/AltitudeModule.h"

#include "engine/RuntimeError.h"
#include "engine/Units.h"
#include "engine/VBConversions.h"

#include <cmath>

namespace {

constexpr double kDecay = -0.000116; // per metre
constexpr double kSeaLevelPa = 101325;

} // namespace

float AltitudeToPressure(float Altitude, bool Metric)
{
    if (Metric)
        return static_cast<float>(std::exp(kDecay * Altitude) * kSeaLevelPa / 100000);
    return static_cast<float>(std::exp(kDecay * Altitude / kFeetPerMetre) * kSeaLevelPa / kSeaLevelPa);
}

// The inverse takes feet as metres / kMetresPerFoot where the forward formula takes metres
// as feet / kFeetPerMetre, so a round trip in feet can land one foot off at great altitudes.
int16_t PressureToAltitude(float Pressure, bool Metric)
{
    if (!(Pressure > 0))
        throw RuntimeError(ErrInvalidCall, "PressureToAltitude", "Invalid procedure call or argument");
    if (Metric)
        return CInt(std::log(Pressure * 100000.0 / kSeaLevelPa) / kDecay);
    return CInt(std::log(Pressure * kBarPerAtm * 100000 / kSeaLevelPa) / kDecay / kMetresPerFoot);
}
