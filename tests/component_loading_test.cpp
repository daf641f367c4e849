// Loading components, positions and velocities through the real ODBC stack
// in this process: attached rows, dates, inheritance from the system, and
// what a component then shows of its own position and motion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "database_session.h"
#include "component_loading.h"
#include "photometry.h"
#include "position_section.h"
#include "test_database.h"

using namespace vldr;
using vldr::test::SharedDatabaseSuite;
using vldr::test::TestDatabase;

namespace {

bool sameDate(const DATE_STRUCT& date, int year, int month, int day)
{
    return date.year == year && date.month == month && date.day == day;
}

class ComponentLoading : public SharedDatabaseSuite<ComponentLoading> {
public:
    static constexpr const char* kFixture = "report_component_loading.sql";

protected:
    void SetUp() override
    {
        setenv("ODBCSYSINI", db_->configDirectory().c_str(), 1);
        setenv("ODBCINI", (db_->configDirectory() + "/odbc.ini").c_str(), 1);
        ASSERT_EQ(session_.open(), SessionFailure::None);
    }

    // Loads system id as the report driver does, into a fresh report.
    Report& load(long id)
    {
        Report& r = report_;
        r = Report{};
        r.NewestUpdate = DATE_STRUCT{1900, 1, 1};
        loadComponents(r, session_.connection(), session_.statement(), id);
        loadComponentPositions(r, session_.statement(), id);
        derivePhotometry(r);
        loadComponentVelocities(r, session_.statement(), id);
        return r;
    }

    DatabaseSession session_;
    Report report_;
};

TEST_F(ComponentLoading, ComponentsCarryTheirRowsAndTheNewestDates)
{
    const Report& r = load(100);
    ASSERT_EQ(r.ComponentCount, 3);
    const ComponentRecord& a = r.Components[0];
    EXPECT_EQ(a.ID, 101);
    EXPECT_STREQ(a.Name, "A");
    EXPECT_TRUE(a.IsCloseBinary);
    EXPECT_TRUE(a.hasMass && a.hasMassSource && !a.hasDiameter);
    EXPECT_STREQ(a.MassSource, "MS");
    EXPECT_TRUE(a.hasSpectrum && a.Spectrum.hasSpectralClass && !a.Spectrum.hasLuminosityClass);
    EXPECT_TRUE(a.hasMagnitudes && a.Magnitudes.hasApparentVMag && a.Magnitudes.hasVMagIncrease);
    EXPECT_TRUE(sameDate(a.LastUpdated, 2003, 3, 3));  // the Spectra date, latest of its three
    EXPECT_TRUE(r.Components[1].hasMagnitudes && !r.Components[1].Magnitudes.hasApparentVMag);
    // NULL Name, IsCloseBinary and LastUpdated read as empty, false and no date,
    // not as what the row before left in the buffers.
    const ComponentRecord& c = r.Components[2];
    EXPECT_STREQ(c.Name, "");
    EXPECT_FALSE(c.IsCloseBinary || c.hasSpectrum || c.hasMagnitudes);
    EXPECT_TRUE(sameDate(c.LastUpdated, 0, 0, 0));
    EXPECT_TRUE(sameDate(r.NewestUpdate, 2005, 5, 5));  // component 101's Velocities row
}

TEST_F(ComponentLoading, PositionsTakeOverWhatTheComponentLacks)
{
    // What each component then shows is below; here what it does not show.
    const Report& r = load(100);
    EXPECT_FALSE(r.ComponentPositions[0].hasDistanceError);  // own distance: not the system's error
    EXPECT_TRUE(r.ComponentPositions[1].hasDistanceError);   // no row: the system's, whole
    EXPECT_STREQ(r.ComponentPositions[2].DistanceSource, "SYS");  // inherited with its distance
    // Photometry from the own 10-parsec distance; sentinels without a magnitude.
    EXPECT_NEAR(r.Photometry[0].AbsoluteVMag, 5.0, 1e-6);
    EXPECT_NEAR(r.Photometry[0].AbsoluteVMagAtMax, 4.0, 1e-6);
    EXPECT_EQ(r.Photometry[1].Luminosity, -1.0);
    EXPECT_EQ(r.Photometry[2].AbsoluteVMag, -9999.0);
}

TEST_F(ComponentLoading, VelocityInheritsRadialVelocityWithItsSource)
{
    const Report& r = load(100);
    const VelocityRecord& own = r.ComponentVelocities[0];
    EXPECT_TRUE(own.hasOwnRow);
    EXPECT_EQ(own.ProperMotion, 2);
    EXPECT_STREQ(own.PMSource, "CP");
    EXPECT_TRUE(own.hasPMAngle && own.hasRadialVelocity && own.hasRVSource);
    EXPECT_EQ(own.RadialVelocity, 5);
    EXPECT_STREQ(own.RVSource, "SR");
    EXPECT_FALSE(r.ComponentVelocities[1].hasOwnRow);
    EXPECT_EQ(r.ComponentVelocities[1].ProperMotion, 1);
}

TEST_F(ComponentLoading, WhatAComponentShowsOfItsOwnPositionAndMotion)
{
    const Report& r = load(100);
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < r.ComponentCount; ++i) {
        printPosition(r.ComponentPositions[i], true, r.Catalogs);
        printSpatialCoordinates(r.ComponentPositions[i]);
    }
    printMotion(r.ComponentVelocities[0], r.Catalogs);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              // 101: own distance only, coordinates from the system's angles
              "<BR><B>Distance from Sol:</B> 32.6163 light-years (10 parsecs)\n"
              "<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> 29.605, 7.93263, 11.1554\n"
              "<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> -14.3059, 19.3187, -22.046\n"
              // 102: nothing of its own, yet coordinates (the component section asks for own values first)
              "<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> 9.08, 2.43, 3.42\n"
              "<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> -4.39, 5.92, -6.76\n"
              // 103: own angles, the system's distance
              "<BR><B>Right Ascension and Declination:</B> 5h6m7s, -8&deg;9'10\" (epoch 0.0)\n"
              "<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> 2.31, 9.63, -1.42\n"
              "<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> -7.87, -4.26, -4.47\n"
              "<BR><B>Proper motion:</B> 2 arcsec/yr (90.0&deg; from north)\n"
              "<BR><B>Radial Velocity:</B> 5 km/sec\n"
              "<BR><B>Source for proper motion:</B> CP\n"
              "<BR><B>Source for radial velocity:</B> SR\n");
}

TEST_F(ComponentLoading, WithoutASystemPositionNoComponentHasOne)
{
    const Report& r = load(200);
    ASSERT_EQ(r.ComponentCount, 2);
    const PositionRecord& p = r.ComponentPositions[0];  // has a row of its own
    EXPECT_FALSE(p.hasRA || p.hasDec || p.hasDistance || p.ownRA || p.ownDec || p.ownDistance);
    EXPECT_EQ(r.Photometry[0].AbsoluteVMag, -9999.0);
    // Without a system velocity, the own row stays and the other is cleared.
    EXPECT_TRUE(r.ComponentVelocities[0].hasOwnRow && r.ComponentVelocities[0].hasProperMotion);
    EXPECT_FALSE(r.ComponentVelocities[1].hasOwnRow || r.ComponentVelocities[1].hasProperMotion);
    // The component's own Positions row is not read, so its date plays no part.
    EXPECT_TRUE(sameDate(r.NewestUpdate, 1900, 1, 1));
}

TEST_F(ComponentLoading, ComponentWithoutAPositionRowTakesTheSystemsWhole)
{
    const Report& r = load(300);
    ASSERT_EQ(r.ComponentCount, 2);
    const PositionRecord& p = r.ComponentPositions[0];
    EXPECT_TRUE(p.hasRA && p.hasDec && p.hasDistance);
    EXPECT_FALSE(p.ownRA || p.ownDec || p.ownDistance);
    EXPECT_EQ(p.Distance, 20);
    EXPECT_EQ(p.Epoch, 2000);
    // Its photometry comes from the system's distance.
    const double absolute = (5.0 + 5) - 5 * std::log10(20 * 0.30659488667179907);
    EXPECT_EQ(r.Photometry[0].AbsoluteVMag, absolute);
    EXPECT_EQ(r.Photometry[0].Luminosity, std::pow(2.512, 4.85 - absolute));
    // A component's own Positions row is read when the system has one, and its date counts.
    EXPECT_TRUE(r.ComponentPositions[1].ownDistance && !r.ComponentPositions[1].ownRA);
    EXPECT_EQ(r.ComponentPositions[1].Epoch, 2001);  // never the system's
    EXPECT_TRUE(sameDate(r.NewestUpdate, 2011, 7, 8));
}

}  // namespace
