// The standard-atmosphere pressure against the published table and its range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "altitude.h"

namespace {

struct AltitudeCase {
    double Z;    // m
    double kPa;  // ASHRAE Handbook - Fundamentals, ch. 1, table 1 (standard atmosphere)
};

class AltitudeTable : public testing::TestWithParam<AltitudeCase> {};

TEST_P(AltitudeTable, MatchesTheStandardAtmosphereTable)
{
    // The table gives kPa to three decimals.
    EXPECT_NEAR(PressureAtAltitude(GetParam().Z) / 1000, GetParam().kPa, 0.0011) << GetParam().Z;
}

INSTANTIATE_TEST_SUITE_P(Troposphere, AltitudeTable,
                         testing::Values(AltitudeCase{-500, 107.478}, AltitudeCase{0, 101.325},
                                         AltitudeCase{500, 95.461}, AltitudeCase{1000, 89.875},
                                         AltitudeCase{1500, 84.556}, AltitudeCase{2000, 79.495},
                                         AltitudeCase{3000, 70.108}, AltitudeCase{5000, 54.020},
                                         AltitudeCase{10000, 26.436}));

TEST(Altitude, SeaLevelIsExactlyTheStandardPressure)
{
    EXPECT_EQ(PressureAtAltitude(0), 101325.0);
}

TEST(Altitude, RangeHoldsItsEndsAndRejectsEverythingElse)
{
    EXPECT_TRUE(AltitudeInRange(-500));
    EXPECT_TRUE(AltitudeInRange(11000));
    EXPECT_FALSE(AltitudeInRange(-500.001));
    EXPECT_FALSE(AltitudeInRange(11000.001));
    EXPECT_FALSE(AltitudeInRange(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(AltitudeInRange(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(AltitudeInRange(-std::numeric_limits<double>::infinity()));
}

}  // namespace
