// The position and kinematics lines of the report page, through the real
// program and ODBC stack: sky position labels, distance with and without
// error, coordinates, proper motion, radial velocity, sources and U,V,W.
#include <gtest/gtest.h>

#include <cmath>

#include "coordinates.h"
#include "records.h"
#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kFieldsLink = "<P><A HREF=\"/fields.html\">";

class PositionSection : public SharedDatabaseSuite<PositionSection> {
public:
    static constexpr const char* kFixture = "report_position.sql";

protected:
    // The position and kinematics lines of system id's page (after its arity line).
    static std::string section(int id)
    {
        const ProgramResult r = db_->run("sysview", ("ID=" + std::to_string(id)).c_str());
        EXPECT_EQ(r.status, 0) << r.output;
        const std::size_t arity = r.output.find("<BR><B>Arity:</B>");
        const std::size_t start = r.output.find('\n', arity) + 1;
        return r.output.substr(start, r.output.find(kFieldsLink) - start);
    }
};

TEST_F(PositionSection, WorkedExampleGivesItsSpaceVelocity)
{
    EXPECT_EQ(section(100),
              "<BR><B>Right Ascension and Declination:</B> 14h39m36.5s, -60&deg;50'2\" (epoch 2000.0)\n"
              "<BR><B>Distance from Sol:</B> 4.37 light-years (1.33982 parsecs)\n"
              "<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> -1.63377, -1.36615, -3.81593\n"
              "<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> 3.14703, -3.03061, -0.0812459\n"
              "<BR><B>Proper motion:</B> 3.71 arcsec/yr (281.5&deg; from north)\n"
              "<BR><B>Radial Velocity:</B> -21.6 km/sec\n"
              "<BR><B>Source for proper motion and radial velocity:</B> Hipparcos Catalogue\n"
              "<BR><B>Galactic (U,V,W) velocity components in km/s:</B> -28.6178, 1.04239, 14.1952\n");
}

TEST_F(PositionSection, RightAscensionOnlyAndSourcesDifferingInCase)
{
    // No declination: no coordinates; no angle or radial velocity: no U,V,W.
    EXPECT_EQ(section(200),
              "<BR><B>Right Ascension:</B> 1h2m3.5s (epoch 0.0)\n"
              "<BR><B>Distance from Sol:</B> 10 light-years (3.06595 parsecs)\n"
              "<BR><B>Source for distance:</B> XYZ\n"
              "<BR><B>Proper motion:</B> 0.5 arcsec/yr\n"
              "<BR><B>Source for proper motion:</B> Hipparcos Catalogue\n"
              "<BR><B>Source for radial velocity:</B> hip\n");
}

TEST_F(PositionSection, SourcesKeepTheirStoredBytes)
{
    // Sources print without their values; two equal sources with a
    // windows-1252 letter are one source.
    EXPECT_EQ(section(1000), "<BR><B>Source for distance:</B> Astronomy & Astrophysics\n"
                             "<BR><B>Source for proper motion and radial velocity:</B> Sch\xF6nfeld\n");
}

TEST_F(PositionSection, DistanceErrorSetsThePrecisionOfEveryNumber)
{
    EXPECT_EQ(section(300),
              "<BR><B>Right Ascension and Declination:</B> 6h45m9s, +0&deg;30'0\" (epoch 1991.2)\n"
              "<BR><B>Distance from Sol:</B> 20.0 light-years (6.13 parsecs)\n"
              "<BR><B>Standard error in distance:</B> 5%\n"
              "<BR><B>Source for distance:</B> Hipparcos Catalogue\n"
              "<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> -3.91, 19.6, 0.17\n"
              "<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> -16.9, -10.6, -0.22\n"
              "<BR><B>Proper motion:</B> 0.25 arcsec/yr (45.0&deg; from north)\n"
              "<BR><B>Radial Velocity:</B> 12 km/sec\n"
              "<BR><B>Source for radial velocity:</B> Hipparcos Catalogue\n"
              "<BR><B>Galactic (U,V,W) velocity components in km/s:</B> -11.4, -4.56, 6.80\n");
}

TEST_F(PositionSection, SunAtDistanceZeroAndLinesWithoutADistance)
{
    EXPECT_EQ(section(400),
              "<BR><B>Distance from Sol:</B> 0 light-years (0 parsecs)\n"
              "<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> 0, 0, 0\n"
              "<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> 0, 0, 0\n"
              "<BR><B>Galactic (U,V,W) velocity components in km/s:</B> 0, 0, 0\n");
    EXPECT_EQ(section(500),
              "<BR><B>Standard error in distance:</B> 20%\n"
              "<BR><B>Source for distance:</B> Hipparcos Catalogue\n");
    EXPECT_EQ(section(600), "<BR><B>Declination:</B> -5&deg;30'0\" (epoch 2000.0)\n");
}

TEST_F(PositionSection, NoNanOrInfinityReachesThePage)
{
    for (int id : {700, 800}) {
        const ProgramResult r = db_->run("sysview", ("ID=" + std::to_string(id)).c_str());
        EXPECT_EQ(r.output.find("nan"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("inf"), std::string::npos) << r.output;
    }
    // A negative distance is shown as stored; an infinite one leaves out
    // the distance, coordinate and U,V,W lines.
    EXPECT_NE(section(700).find("<BR><B>Distance from Sol:</B> -5.00 light-years (-1.53 parsecs)\n"),
              std::string::npos);
    EXPECT_EQ(section(800),
              "<BR><B>Right Ascension and Declination:</B> 3h0m0s, +10&deg;0'0\" (epoch 2000.0)\n"
              "<BR><B>Standard error in distance:</B> 10%\n"
              "<BR><B>Proper motion:</B> 1 arcsec/yr (90.0&deg; from north)\n"
              "<BR><B>Radial Velocity:</B> 10 km/sec\n");
}

TEST_F(PositionSection, SpaceVelocitySumsItsAnglesInTheOrderOfItsFormula)
{
    // Shown to 13 and 14 digits: summing the minutes and seconds of the
    // angles in another order changes the last digit of V (...344).
    EXPECT_NE(section(900).find("<BR><B>Galactic (U,V,W) velocity components in km/s:</B> "
                                "-93.912106745618, -0.01487831927346, -15.665821348829\n"),
              std::string::npos)
        << section(900);
}

// The space velocity, evaluated exactly as its formula is written.
void expectedUVW(const vldr::PositionRecord& p, const vldr::VelocityRecord& m, double out[3])
{
    const double alpha = (p.RA_hr + p.RA_min / 60.0 + static_cast<double>(p.RA_sec) / 3600.0) * 0.26179938779914913;
    const double s = p.Dec_deg < 0 ? -1.0 : 1.0;
    const double d = p.Dec_deg + s * p.Dec_arcmin / 60.0 + s * static_cast<double>(p.Dec_arcsec) / 3600.0;
    const double theta = (90 - d) * 0.017453292519943278;
    const double delta = 1.570796326794895 - theta;
    const double phi = m.PMAngle * 0.017453292519943278;
    const double vt = std::tan(m.ProperMotion * 4.848136811095356e-06) * p.Distance * 299792.458;
    const double rv = m.RadialVelocity;
    const double vx = rv * std::cos(alpha) * std::cos(delta) - vt * std::sin(alpha) * std::sin(phi) -
                      vt * std::cos(alpha) * std::sin(delta) * std::cos(phi);
    const double vy = rv * std::sin(alpha) * std::cos(delta) + vt * std::cos(alpha) * std::sin(phi) -
                      vt * std::sin(alpha) * std::sin(delta) * std::cos(phi);
    const double vz = rv * std::sin(delta) + vt * std::cos(delta) * std::cos(phi);
    out[0] = -0.0672 * vx - 0.8727 * vy - 0.4835 * vz;
    out[1] = 0.4927 * vx - 0.4504 * vy + 0.7445 * vz;
    out[2] = -0.8676 * vx - 0.1884 * vy + 0.4602 * vz;
}

TEST(SpaceVelocity, EveryBitAsTheFormulaGivesIt)
{
    unsigned seed = 12345;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int i = 0; i < 20000; ++i) {
        vldr::PositionRecord p;
        p.hasRA = p.hasDec = p.hasDistance = true;
        p.RA_hr = static_cast<unsigned char>(next(24));
        p.RA_min = static_cast<unsigned char>(next(60));
        p.RA_sec = static_cast<float>(next(6000)) / 100.0f;
        p.Dec_deg = static_cast<short>(static_cast<int>(next(181)) - 90);
        p.Dec_arcmin = static_cast<unsigned char>(next(60));
        p.Dec_arcsec = static_cast<float>(next(6000)) / 100.0f;
        p.Distance = 0.5 + next(100000) / 1000.0;
        vldr::VelocityRecord m;
        m.hasProperMotion = m.hasPMAngle = m.hasRadialVelocity = true;
        m.ProperMotion = next(10000) / 1000.0;
        m.PMAngle = next(3600) / 10.0;
        m.RadialVelocity = (static_cast<int>(next(4000)) - 2000) / 10.0;
        double expected[3];
        expectedUVW(p, m, expected);
        double u = 0, v = 0, w = 0;
        ASSERT_TRUE(vldr::velocityToUVW(p, m, u, v, w));
        ASSERT_EQ(u, expected[0]) << i;
        ASSERT_EQ(v, expected[1]) << i;
        ASSERT_EQ(w, expected[2]) << i;
    }
}

}  // namespace
