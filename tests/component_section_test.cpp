// The component section of the report page, through the real program and
// ODBC stack: names, photometry, variability, colour, mass, diameters, the
// comfort zone and the lines inside it, and the detected companions with
// their orbits; and the whole page of a system without any data.
#include <gtest/gtest.h>

#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kFieldsLine = "<P><A HREF=\"/fields.html\">What do all these fields mean?</A><BR>\n";
const std::string kFormStart = "<FORM ACTION=\"/Scripts/proxlist.exe\" METHOD=\"GET\">\n";
const std::string kIndent = "<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

class ComponentSection : public SharedDatabaseSuite<ComponentSection> {
public:
    static constexpr const char* kFixture = "report_components.sql";

protected:
    static std::string page(int id)
    {
        const ProgramResult r = db_->run("sysview", ("ID=" + std::to_string(id)).c_str());
        EXPECT_EQ(r.status, 0) << r.output;
        return r.output;
    }
    // From the first component heading (or from the fields link when
    // fromFieldsLink) up to the search forms at the foot of the page.
    static std::string section(int id, bool fromFieldsLink = false)
    {
        const std::string output = page(id);
        std::size_t start = output.find(kFieldsLine) + kFieldsLine.size();
        if (!fromFieldsLink) start = output.find("<P><BR><B><U>Component ", start);
        return output.substr(start, output.find(kFormStart, start) - start);
    }
};

TEST_F(ComponentSection, VariabilityColourMassDiameterAndTheComfortZone)
{
    // At distance 0 every star has luminosity 1 and a comfort zone of 1 AU.
    EXPECT_EQ(section(2000),
              "<P><BR><B><U>Component A:</U></B>\n"
              "<BR>NOTE: This star is actually a close-orbiting binary pair.  The data below are for both "
              "sub-components of the pair combined.\n"
              "<BR><B>Proper names:</B> Alpha Prime, Alpha Major\n"
              "<BR><B>Catalog numbers:</B>\n" +
                  kIndent + "Henry Draper Catalogue (HD) 1234, XX 77" +
                  "<BR><B>Spectral class:</B> G2\n"
                  "<BR><B>Luminosity Class:</B> V\n"
                  "<BR><B>Apparent visual magnitude:</B> -26.70 (increasing to -27.70)\n"
                  "<BR><B>Absolute visual magnitude:</B> +4.85 (increasing to +3.85)\n"
                  "<BR><B>Visual luminosity:</B> 1 x Sol (increasing to  2.512 x Sol)\n"
                  "<BR><B>Variable type:</B> UV Ceti <a href=\"/flare.html\">flare star</a> (eruptive variable)\n"
                  "<BR><B>Period of variability:</B> 12 hours\n\n"
                  "<BR><B>Color indices:</B> B-V= +0.65, U-B= +0.10, R-I= -0.35\n"
                  "<BR><B>Mass:</B> 1 x Sol\n"
                  "<BR><B>Source for mass:</B> Henry Draper Catalogue\n"
                  "<BR><B>Diameter:</B> 695.99 kilometers\n"
                  "<BR><B>Source for diameter:</B> XX\n"
                  "<BR><B>Comfort Zone (visual):</B> 1 A.U.s\n"
                  "<BR><B>Orbital period in CZ:</B> 1 years\n"
                  "<BR><B>Tidal index in CZ:</B> 1\n"
                  "<BR><B>Angular size of star in sky in CZ:</B> 0.000267 degrees\n"
                  "<P><BR><B><U>Component B:</U></B>\n"
                  "<BR><B>Luminosity Class:</B> III\n"
                  "<BR><B>Apparent visual magnitude:</B> -26.70\n"
                  "<BR><B>Absolute visual magnitude:</B> +4.85\n"
                  "<BR><B>Visual luminosity:</B> 1 x Sol\n"
                  "<BR><B>Variable type:</B> XYZ\n"
                  "<BR><B>Period of variability:</B> 1 days\n\n"
                  "<BR><B>Color indices:</B> U-B= -0.20, R-I= +0.44\n"
                  "<BR><B>Mass:</B> 8 x Sol\n"
                  "<BR><B>Diameter:</B> 1 x Sol\n"
                  "<BR><B>Comfort Zone (visual):</B> 1 A.U.s\n"
                  "<BR><B>Orbital period in CZ:</B> 129.135 days\n"
                  "<BR><B>Tidal index in CZ:</B> 8\n"
                  "<BR><B>Angular size of star in sky in CZ:</B> 0.533111 degrees\n"
                  "<P><BR><B><U>Component C:</U></B>\n"
                  "<BR><B>Apparent visual magnitude:</B> -26.70\n"
                  "<BR><B>Absolute visual magnitude:</B> +4.85\n"
                  "<BR><B>Visual luminosity:</B> 1 x Sol\n"
                  "<BR><B>Variable type:</B> Algol (eclipsing binary)\n"
                  "<BR><B>Period of variability:</B> 14.4 minutes\n\n"
                  "<BR><B>Mass:</B> 1e+06 x Sol\n"
                  "<BR><B>Diameter:</B> 0.001 x Sol\n"
                  "<BR><B>Comfort Zone (visual):</B> 1 A.U.s\n"
                  "<BR><B>Orbital period in CZ:</B> 8.766 hours\n"
                  "<BR><B>Tidal index in CZ:</B> 1e+06\n"
                  "<BR><B>Angular size of star in sky in CZ:</B> 0.000533 degrees\n"
                  "<P><BR><B><U>Component D:</U></B>\n"
                  "<BR><B>Apparent visual magnitude:</B> -26.70\n"
                  "<BR><B>Absolute visual magnitude:</B> +4.85\n"
                  "<BR><B>Visual luminosity:</B> 1 x Sol\n"
                  "<BR><B>Variable type:</B> irregular ( eruptive variable)\n"
                  "<BR><B>Period of variability:</B> 43.2 seconds\n\n"
                  "<BR><B>Mass:</B> 0.05 x Sol\n"
                  "<BR><B>Comfort Zone (visual):</B> 1 A.U.s\n"
                  "<BR><B>Orbital period in CZ:</B> 4.47214 years\n"
                  "<BR><B>Tidal index in CZ:</B> 0.050000\n"
                  // A mass of 0: no period or tidal index; an increase of 0: no maximum.
                  "<P><BR><B><U>Component E:</U></B>\n"
                  "<BR><B>Apparent visual magnitude:</B> -26.70\n"
                  "<BR><B>Absolute visual magnitude:</B> +4.85\n"
                  "<BR><B>Visual luminosity:</B> 1 x Sol\n"
                  "<BR><B>Mass:</B> 0 x Sol\n"
                  "<BR><B>Comfort Zone (visual):</B> 1 A.U.s\n");
}

TEST_F(ComponentSection, LuminositiesAndAngularDiametersWithAndWithoutADistanceError)
{
    EXPECT_EQ(section(2100),
              "<P><BR><B><U>Component A:</U></B>\n"
              "<BR><B>Apparent visual magnitude:</B> +5.50\n"
              "<BR><B>Absolute visual magnitude:</B> +8.07\n"
              "<BR><B>Visual luminosity:</B> 0.051650 x Sol\n"
              "<BR><B>Diameter:</B> 3.29511 x Sol\n"
              "<BR><B>Comfort Zone (visual):</B> 0.227265 A.U.s\n"
              "<BR><B>Angular size of star in sky in CZ:</B> 7.729557 degrees\n"
              "<P><BR><B><U>Component B:</U></B>\n"
              "<BR><B>Distance from Sol:</B> 20.0 light-years (6.13 parsecs)\n"
              "<BR><B>Standard error in distance:</B> 5%\n"
              "<BR><B>Apparent visual magnitude:</B> +5.00\n"
              "<BR><B>Absolute visual magnitude:</B> +6.06\n"
              "<BR><B>Visual luminosity:</B> 0.33 x Sol\n"
              "<BR><B>Diameter:</B> 917 kilometers\n"
              "<BR><B>Comfort Zone (visual):</B> 0.57 A.U.s\n"
              "<BR><B>Angular size of star in sky in CZ:</B> 0.000614 degrees\n"
              "<P><BR><B><U>Component C:</U></B>\n"
              "<BR><B>Distance from Sol:</B> 20.0 light-years (6.13 parsecs)\n"
              "<BR><B>Standard error in distance:</B> 5%\n"
              "<BR><B>Apparent visual magnitude:</B> +9.00 (increasing to +7.50)\n"
              "<BR><B>Absolute visual magnitude:</B> +10.06 (increasing to +8.56)\n"
              "<BR><B>Visual luminosity:</B> 0.0082 x Sol (increasing to  0.033 x Sol)\n"
              "<BR><B>Diameter:</B> 0.0066 x Sol\n"
              "<BR><B>Comfort Zone (visual):</B> 0.091 A.U.s\n"
              "<BR><B>Angular size of star in sky in CZ:</B> 0.038741 degrees\n");
}

TEST_F(ComponentSection, OneStarWithAnAngularDiameterAndNoDistance)
{
    // One component: "<BR>" instead of a heading; no diameter, but its source.
    EXPECT_EQ(section(2200, true), "<BR>\n"
                                   "<BR><B>Apparent visual magnitude:</B> +7.00\n"
                                   "<BR><B>Source for diameter:</B> Henry Draper Catalogue\n");
}

TEST_F(ComponentSection, CompanionsThroughTheOrbitHierarchyWithTheirOrbits)
{
    // "AB b" orbits the pair A-B: listed under A and under B, with both takes
    // of its orbit. "C b" orbits C only. "B b" orbits B, and C orbits the
    // pair (B-B b), so it is listed under C too. The orbit naming 2359, which
    // has no Planets row, lists nothing.
    const std::string circumbinary = "<BR><B><U>Companion AB b:</U></B>\n" + kIndent +
                                     "<B>Mass:</B> 2.5 x Jupiter, minimum\n" + kIndent +
                                     "<B>Standard error in mass:</B> 10%\n" + kIndent +
                                     "<B>Source for mass:</B> Henry Draper Catalogue\n" + kIndent +
                                     "<B>Diameter:</B> 0.000500 x Jupiter\n" + kIndent +
                                     "<B>Standard error in diameter:</B> 20%\n" + kIndent +
                                     "<B>Source for diameter:</B> XX\n" + kIndent + "<B>Combined spectrum:</B> K0 V\n" +
                                     kIndent + "<B>Period:</B> 1.5 years\n" + kIndent +
                                     "<B>Semimajor Axis:</B> 2 A.U.s\n" + kIndent + "<B>Eccentricity:</B> 0.1\n" +
                                     kIndent + "<B>Periastron distance:</B> 1.8 A.U.s\n" + kIndent +
                                     "<B>Apastron distance:</B> 2.2 A.U.s\n" + "<BR>&mdash; OR &mdash;\n" + kIndent +
                                     "<B>Period:</B> 1.60 years\n" + kIndent + "<B>Standard Error in period:</B> 5%\n";
    const std::string aroundB = "<BR><B><U>Companion B b:</U></B>\n" + kIndent + "<B>Diameter:</B> 1.2 x Jupiter\n" +
                                kIndent + "<B>Semimajor Axis:</B> 0.05 A.U.s\n";
    EXPECT_EQ(section(2300, true),
              // Orbits with a planet as a member stay out of the system listing.
              "<P><B><U>Data for A and B's orbit around one other:</U></B>\n"
              "<BR><B>Combined spectrum:</B> K0\n"
              "<BR><B>Period:</B> 80 years\n"
              "<P><B><U>Data for (B-B b) and C's orbit around one other:</U></B>\n"
              "<BR><B>Period:</B> 400 years\n"
              "<P><BR><B><U>Component A:</U></B>\n"
              "<BR><B>Detected companions:</B> 1\n" +
                  circumbinary +
                  "<P><BR><B><U>Component B:</U></B>\n"
                  "<BR><B>Detected companions:</B> 2\n" +
                  circumbinary + aroundB +
                  "<P><BR><B><U>Component C:</U></B>\n"
                  "<BR><B>Detected companions:</B> 2\n"
                  "<BR><B><U>Companion C b:</U></B>\n" +
                  kIndent + "<B>Mass:</B> 0.000500 x Jupiter\n" + kIndent + "<B>Period:</B> 3.6525 days\n" + aroundB);
    // The pair's spectrum row (2010) is the newest date of the page.
    EXPECT_NE(page(2300).find("most recently updated on 3-February-2010.\n"), std::string::npos);
}

TEST_F(ComponentSection, StoredTextIsWrittenAsStoredWindows1252BytesMarkupAndAll)
{
    // Names, labels and sources reach the page unescaped and byte for byte;
    // a proper name longer than 50 characters arrives cut to its first 50.
    const std::string aegir = "<BR><B><U>Companion \xC6gir:</U></B>\n" + kIndent +
                              "<B>Mass:</B> 0.65 x Jupiter\n" + kIndent + "<B>Standard error in mass:</B> 10%\n" +
                              kIndent + "<B>Source for mass:</B> Astronomy & Astrophysics\n" + kIndent +
                              "<B>Diameter:</B> 1.1 x Jupiter\n" + kIndent + "<B>Source for diameter:</B> A&AS\n" +
                              kIndent + "<B>Period:</B> 7.37 years\n" + kIndent + "<B>Semimajor Axis:</B> 3.5 A.U.s\n" +
                              kIndent + "<B>Eccentricity:</B> 0.07\n" + kIndent +
                              "<B>Periastron distance:</B> 3.255 A.U.s\n" + kIndent +
                              "<B>Apastron distance:</B> 3.745 A.U.s\n" + kIndent +
                              "<B>Source for orbit data:</B> Astronomy & Astrophysics\n";
    EXPECT_EQ(section(2500, true),
              "<P><B><U>Data for A and B&C's orbit around one other:</U></B>\n"
              "<BR><B>Semimajor Axis:</B> 12 A.U.s\n"
              "<BR><B>Source for orbit data:</B> S\xF6" "d1999\n"
              "<P><BR><B><U>Component A:</U></B>\n"
              "<BR><B>Proper names:</B> Ran, R\xE1n\n"
              "<BR><B>Catalog numbers:</B>\n" +
                  kIndent + "Henry Draper Catalogue (HD) 22049, BD -09\xB0" "697" +
                  "<BR><B>Mass:</B> 0.82 x Sol\n"
                  "<BR><B>Source for mass:</B> Astronomy & Astrophysics\n"
                  "<BR><B>Diameter:</B> 0.735 x Sol\n"
                  "<BR><B>Source for diameter:</B> RECONS (d < 10 pc)\n"
                  "<BR><B>Detected companions:</B> 1\n" +
                  aegir +
                  "<P><BR><B><U>Component B&C:</U></B>\n"
                  "<BR>NOTE: This star is actually a close-orbiting binary pair.  The data below are for both "
                  "sub-components of the pair combined.\n"
                  "<BR><B>Proper names:</B> The \x93Twins\x94, Les \xABJumeaux\xBB : deux naines rouges tr\xE8s "
                  "proches l\x92\n"
                  "<BR><B>Mass:</B> 0.3 x Sol\n"
                  "<BR><B>Source for mass:</B> A&AS\n");
}

TEST_F(ComponentSection, SystemWithoutAnyDataGivesTheWholePage)
{
    EXPECT_EQ(page(2400), htmlHead("<TITLE>VLDR search results</TITLE>") + reportRadiusForm(2400) +
                              "<BR><B>Arity:</B> \n" + kFieldsLine + reportFoot(2400, "1-January-1900"));
}

}  // namespace

// Regression: a Magnitudes row holding infinities (SQLite stores 9e999 as
// infinity) printed "inf" as the star's and the pair's magnitudes.
TEST(NonFiniteNumbers, AStoredInfinityCountsAsAbsentOnTheReportPage)
{
    const TestDatabase db({
        "INSERT INTO Systems (ID) VALUES (100);"
        "INSERT INTO Positions (OwnerID, Distance) VALUES (100, 10);"
        "INSERT INTO Components (ID, Name) VALUES (101, 'A'), (102, 'B');"
        "INSERT INTO Magnitudes (OwnerID, ApparentVMag, VMagIncrease) VALUES (101, 9e999, 9e999), (111, 9e999, NULL);"
        "INSERT INTO Orbits (ID, PrimaryID, SecondaryID, SemimajorAxis, IsAxisAU) VALUES (111, 101, 102, 10, 1);",
    });
    const ProgramResult r = db.run("sysview", "ID=100");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output.find("inf"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("nan"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("magnitude"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("<P><BR><B><U>Component A:</U></B>\n"), std::string::npos) << r.output;
}
