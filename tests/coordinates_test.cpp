// Conversion of stored positions into rectangular coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

#include "coordinates.h"

using namespace vldr;

namespace {

constexpr double kTolerance = 1e-9;

PositionRecord position(int raHr, int raMin, double raSec, int decDeg, int decMin, double decSec, double distance)
{
    PositionRecord p;
    p.hasRA = p.hasDec = p.hasDistance = true;
    p.RA_hr = static_cast<unsigned char>(raHr);
    p.RA_min = static_cast<unsigned char>(raMin);
    p.RA_sec = static_cast<float>(raSec);
    p.Dec_deg = static_cast<short>(decDeg);
    p.Dec_arcmin = static_cast<unsigned char>(decMin);
    p.Dec_arcsec = static_cast<float>(decSec);
    p.Distance = distance;
    return p;
}

TEST(PositionToXYZ, OriginOfRightAscensionOnTheEquator)
{
    double x = 0, y = 0, z = 0;
    const PositionRecord p = position(0, 0, 0, 0, 0, 0, 10);
    ASSERT_TRUE(positionToXYZ(p, x, y, z, false));
    EXPECT_NEAR(x, 10, kTolerance) << std::setprecision(17) << x;
    EXPECT_NEAR(y, 0, kTolerance);
    EXPECT_NEAR(z, 0, kTolerance);
    ASSERT_TRUE(positionToXYZ(p, x, y, z, true));
    EXPECT_NEAR(x, -0.672, kTolerance) << std::setprecision(17) << x;
    EXPECT_NEAR(y, 4.927, kTolerance) << std::setprecision(17) << y;
    EXPECT_NEAR(z, -8.676, kTolerance) << std::setprecision(17) << z;
}

TEST(PositionToXYZ, NorthPoleAndSixHours)
{
    double x = 0, y = 0, z = 0;
    ASSERT_TRUE(positionToXYZ(position(6, 0, 0, 0, 0, 0, 2), x, y, z, false));
    EXPECT_NEAR(x, 0, kTolerance);
    EXPECT_NEAR(y, 2, kTolerance);
    ASSERT_TRUE(positionToXYZ(position(0, 0, 0, 90, 0, 0, 3), x, y, z, false));
    EXPECT_NEAR(z, 3, kTolerance);
}

TEST(PositionToXYZ, DistanceZeroIsTheOriginWhateverTheAngles)
{
    PositionRecord p;
    p.hasDistance = true;
    double x = 1, y = 1, z = 1;
    ASSERT_TRUE(positionToXYZ(p, x, y, z, true));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);
}

TEST(PositionToXYZ, MissingValuesDeclineWithoutWriting)
{
    double x = 7, y = 7, z = 7;
    PositionRecord p = position(1, 0, 0, 10, 0, 0, 5);
    p.hasDec = false;
    EXPECT_FALSE(positionToXYZ(p, x, y, z, false));
    p = position(1, 0, 0, 10, 0, 0, 5);
    p.hasDistance = false;
    EXPECT_FALSE(positionToXYZ(p, x, y, z, false));
    EXPECT_EQ(x, 7);
}

TEST(Declination, MinutesAndSecondsTakeTheSignOfTheDegrees)
{
    EXPECT_NEAR(declinationDegrees(position(0, 0, 0, -5, 30, 0, 1)), -5.5, kTolerance);
    EXPECT_NEAR(declinationDegrees(position(0, 0, 0, 0, 30, 0, 1)), 0.5, kTolerance);
    EXPECT_NEAR(rightAscensionHours(position(1, 30, 36, 0, 0, 0, 1)), 1.51, kTolerance);
}

}  // namespace
