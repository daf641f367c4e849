// Absolute magnitude, luminosity and comfort zone derived from a
// component's apparent magnitude and distance, with their sentinels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "photometry.h"
#include "report.h"

using namespace vldr;

namespace {

// Derives the photometry of one component of apparent magnitude v (none
// when v is NaN) at distance ly (light-years; none when NaN), with an
// optional increase at maximum.
ComponentPhotometry derive(double v, double ly, double increase = std::nan(""), bool distanceKnown = true)
{
    Report r;
    r.ComponentCount = 1;
    ComponentRecord& c = r.Components[0];
    c.hasMagnitudes = true;
    c.Magnitudes.hasApparentVMag = !std::isnan(v);
    c.Magnitudes.ApparentVMag = v;
    c.Magnitudes.hasVMagIncrease = !std::isnan(increase);
    c.Magnitudes.VMagIncrease = increase;
    r.ComponentPositions[0].hasDistance = distanceKnown;
    r.ComponentPositions[0].Distance = ly;
    derivePhotometry(r);
    return r.Photometry[0];
}

void expectSentinels(const ComponentPhotometry& p)
{
    EXPECT_EQ(p.AbsoluteVMag, -9999.0);
    EXPECT_EQ(p.AbsoluteVMagAtMax, -9999.0);
    EXPECT_EQ(p.Luminosity, -1.0);
    EXPECT_EQ(p.ComfortZone, -1.0);
    EXPECT_EQ(p.LuminosityAtMax, -1.0);
}

TEST(Photometry, AtTenParsecsAbsoluteEqualsApparent)
{
    const ComponentPhotometry p = derive(3.5, 32.61633);
    EXPECT_NEAR(p.AbsoluteVMag, 3.5, 1e-6);
    EXPECT_EQ(p.AbsoluteVMagAtMax, p.AbsoluteVMag);
    EXPECT_EQ(p.LuminosityAtMax, p.Luminosity);
    EXPECT_NEAR(p.Luminosity, std::pow(2.512, 4.85 - 3.5), 1e-6);
    EXPECT_DOUBLE_EQ(p.ComfortZone, std::sqrt(p.Luminosity));
}

TEST(Photometry, TheSunAtDistanceZeroWhateverItsApparentMagnitude)
{
    const ComponentPhotometry p = derive(-26.7, 0);
    EXPECT_EQ(p.AbsoluteVMag, 4.85);
    EXPECT_EQ(p.Luminosity, 1.0);
    EXPECT_EQ(p.ComfortZone, 1.0);
}

TEST(Photometry, IncreaseAtMaximumAppliedAsStored)
{
    ComponentPhotometry p = derive(5, 32.61633, 1.0);
    EXPECT_NEAR(p.AbsoluteVMagAtMax, p.AbsoluteVMag - 1.0, 1e-12);
    EXPECT_NEAR(p.LuminosityAtMax / p.Luminosity, 2.512, 1e-12);
    p = derive(5, 32.61633, -0.5);  // a fainter maximum
    EXPECT_NEAR(p.AbsoluteVMagAtMax, p.AbsoluteVMag + 0.5, 1e-12);
}

TEST(Photometry, SentinelsWhenNotComputable)
{
    expectSentinels(derive(std::nan(""), 10));                           // NULL apparent magnitude
    expectSentinels(derive(5, 10, std::nan(""), false));                 // no distance
    expectSentinels(derive(5, -10));                                     // negative distance
    expectSentinels(derive(5, std::nan("")));                            // distance not a number
    expectSentinels(derive(5, std::numeric_limits<double>::infinity())); // infinite distance
    expectSentinels(derive(-2000, 10));  // a luminosity beyond the double range
    Report r;
    r.ComponentCount = 1;
    r.ComponentPositions[0].hasDistance = true;
    r.ComponentPositions[0].Distance = 10;
    derivePhotometry(r);  // no Magnitudes row at all
    expectSentinels(r.Photometry[0]);
}

}  // namespace
