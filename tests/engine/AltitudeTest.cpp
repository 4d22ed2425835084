// Surface pressure at altitude and back, against the barometric formula
// p = 1.01325 bar x e^(-0.000116 / m x altitude) worked in double.

#include "engine/AltitudeModule.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double barAt(double metres)
{
    return 1.01325 * std::exp(-0.000116 * metres);
}

int32_t errorOf(float pressure, bool metric)
{
    try {
        PressureToAltitude(pressure, metric);
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

TEST(Altitude, PressureFromAltitude)
{
    EXPECT_FLOAT_EQ(AltitudeToPressure(0, true), 1.01325f);
    EXPECT_FLOAT_EQ(AltitudeToPressure(0, false), 1.0f);
    EXPECT_NEAR(AltitudeToPressure(1000, true), 0.902, 0.0005);
    for (float metres : {-400.0f, 500.0f, 1000.0f, 2500.0f, 4500.0f}) {
        SCOPED_TRACE(metres);
        EXPECT_NEAR(AltitudeToPressure(metres, true), barAt(metres), 1e-6);
    }
    // Imperial: feet taken as metres x 3.2808, atm = bar / 1.01325.
    for (float feet : {3281.0f, 10000.0f, 15000.0f}) {
        SCOPED_TRACE(feet);
        EXPECT_NEAR(AltitudeToPressure(feet, false), barAt(feet / 3.2808) / 1.01325, 1e-6);
    }
}

TEST(Altitude, AltitudeFromPressureRoundTrips)
{
    EXPECT_EQ(PressureToAltitude(1.01325f, true), 0);
    EXPECT_EQ(PressureToAltitude(1.0f, false), 0);
    for (int16_t metres : {-400, 300, 1000, 2000, 3000, 4500}) {
        SCOPED_TRACE(metres);
        EXPECT_EQ(PressureToAltitude(AltitudeToPressure(metres, true), true), metres);
    }
    for (int16_t feet : {1000, 3281, 10000, 20000}) {
        SCOPED_TRACE(feet);
        EXPECT_EQ(PressureToAltitude(AltitudeToPressure(feet, false), false), feet);
    }
}

TEST(Altitude, AltitudeIsRoundedToTheNearestWholeMetre)
{
    // Rounding, not truncation: 999.7 m gives 1000, 1000.4 m gives 1000, -0.7 m gives -1.
    EXPECT_EQ(PressureToAltitude(static_cast<float>(barAt(999.7)), true), 1000);
    EXPECT_EQ(PressureToAltitude(static_cast<float>(barAt(1000.4)), true), 1000);
    EXPECT_EQ(PressureToAltitude(static_cast<float>(barAt(-0.7)), true), -1);
    EXPECT_EQ(PressureToAltitude(static_cast<float>(barAt(2.6 * 0.3048) / 1.01325), false), 3);
}

TEST(Altitude, PressuresWithoutAnAltitudeAreRefused)
{
    EXPECT_EQ(errorOf(0, true), ErrInvalidCall);
    EXPECT_EQ(errorOf(-1, false), ErrInvalidCall);
    // 0.01 bar lies near 40 km: beyond a 16-bit altitude.
    EXPECT_EQ(errorOf(0.01f, true), ErrOverflow);
}

} // namespace
