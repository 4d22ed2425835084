// Surface pressure at altitude and back, against p = 1.01325 bar x e^(-0.000116 / m x h)
// worked in double.

#include "engine/AltitudeModule.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double barAt(double metres)
{
    return 1.01325 * std::exp(-0.000116 * metres);
}

TEST(Altitude, PressureFromAltitudeAndBack)
{
    EXPECT_FLOAT_EQ(AltitudeToPressure(0, true), 1.01325f);
    EXPECT_FLOAT_EQ(AltitudeToPressure(0, false), 1.0f);
    EXPECT_NEAR(AltitudeToPressure(1000, true), 0.902, 0.0005);
    for (int16_t m : {-400, 300, 1000, 2500, 4500}) {
        SCOPED_TRACE(m);
        EXPECT_NEAR(AltitudeToPressure(m, true), barAt(m), 1e-6);
        EXPECT_EQ(PressureToAltitude(AltitudeToPressure(m, true), true), m);
    }
    for (int16_t ft : {3281, 10000, 20000}) { // feet as metres x 3.2808, atm = bar / 1.01325
        SCOPED_TRACE(ft);
        EXPECT_NEAR(AltitudeToPressure(ft, false), barAt(ft / 3.2808) / 1.01325, 1e-6);
        EXPECT_EQ(PressureToAltitude(AltitudeToPressure(ft, false), false), ft);
    }
}

TEST(Altitude, AltitudeIsRoundedToTheNearestWholeUnit)
{
    // Rounded, not truncated: 999.7 m -> 1000, 1000.4 m -> 1000, -0.7 m -> -1, 2.6 ft -> 3.
    EXPECT_EQ(PressureToAltitude(float(barAt(999.7)), true), 1000);
    EXPECT_EQ(PressureToAltitude(float(barAt(1000.4)), true), 1000);
    EXPECT_EQ(PressureToAltitude(float(barAt(-0.7)), true), -1);
    EXPECT_EQ(PressureToAltitude(float(barAt(2.6 * 0.3048) / 1.01325), false), 3);
    // No altitude for 0 bar (error 5); 0.01 bar lies beyond a 16-bit altitude (error 6).
    for (const auto &[pressure, error] : {std::pair{0.0f, ErrInvalidCall}, {0.01f, ErrOverflow}}) {
        try {
            PressureToAltitude(pressure, true);
            ADD_FAILURE() << pressure;
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), error);
        }
    }
}

} // namespace
