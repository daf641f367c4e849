// The orbit section of the report page, through the real program and ODBC
// stack: nested pairs, takes, axes in arcseconds and astronomical units,
// periods, the pair's combined light, the comfort zone around both, the
// view from each body, and orbit data that name themselves.
#include <gtest/gtest.h>

#include "field_limits.h"
#include "response_check.h"
#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kFieldsLine = "<P><A HREF=\"/fields.html\">What do all these fields mean?</A><BR>\n";
const std::string kIndent = "<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

class OrbitSection : public SharedDatabaseSuite<OrbitSection> {
public:
    static constexpr const char* kFixture = "report_orbits.sql";

protected:
    static std::string page(int id)
    {
        const ProgramResult r = db_->run("sysview", ("ID=" + std::to_string(id)).c_str());
        EXPECT_EQ(r.status, 0) << r.output;
        return r.output;
    }
    // The orbit lines of system id's page: after the fields link, up to the
    // first component heading.
    static std::string section(int id)
    {
        const std::string output = page(id);
        const std::size_t start = output.find(kFieldsLine) + kFieldsLine.size();
        std::size_t end = output.find("<P><BR><B><U>Component ", start);
        if (end == std::string::npos) end = output.find("<BR>\n", start);
        return output.substr(start, end - start);
    }
};

TEST_F(OrbitSection, NestedPairsTakesAndAnObservedSeparation)
{
    EXPECT_EQ(section(1000),
              // 2 arcseconds at 10 parsecs: 20 AU, periastron 10, apastron 30.
              // C has no luminosity, so the pair's combined magnitude is shown and used.
              "<P><B><U>Data for B and C's orbit around one other:</U></B>\n"
              "<BR><B>Combined spectrum:</B> K1 V\n"
              "<BR><B>Combined apparent visual magnitude:</B> +5.00\n"
              "<BR><B>Combined absolute visual magnitude:</B> +5.00\n"
              "<BR><B>Combined visual luminosity:</B> 0.870958 x Sol\n"
              "<BR><B>Period:</B> 182.625 days\n"
              "<BR><B>Semimajor Axis:</B> 20 A.U.s\n"
              "<BR><B>Eccentricity:</B> 0.5\n"
              "<BR><B>Periastron distance:</B> 10 A.U.s\n"
              "<BR><B>Apastron distance:</B> 30 A.U.s\n"
              "<BR><B>Year in which periastron occurs:</B> 1984.5\n"
              "<BR><B>Source for orbit data:</B> Henry Draper Catalogue\n"
              "<BR><B>As seen from C:</B>\n" +
                  kIndent + "At periastron, B would appear as magnitude -21.72\n" + kIndent +
                  "At apastron, B would appear as magnitude -19.34\n"
                  // A-(B-C): the pair's light is the sum of A's and (B-C)'s.
                  "<P><B><U>Data for A and (B-C)'s orbit around one other:</U></B>\n"
                  "<BR><B>Combined spectrum:</B> G2\n"
                  "<BR><B>Combined absolute visual magnitude:</B> +3.53\n"
                  "<BR><B>Combined visual luminosity:</B> 3.38296 x Sol\n"
                  "<BR><B>Period:</B> 8.766000 hours\n"
                  "<BR><B>Semimajor Axis:</B> 100 A.U.s\n"
                  "<BR><B>As seen from A:</B>\n" +
                  kIndent + "(B-C) would appear as magnitude -16.57\n" +
                  "<BR><B>As seen from (B-C):</B>\n" + kIndent + "A would appear as magnitude -17.72\n" +
                  // A second take has no pair data.
                  "<P><B><U>Data for B and C's orbit, take 2:</U></B>\n"
                  "<BR><B>Period:</B> 2.00 years\n"
                  "<BR><B>Standard Error in period:</B> 2%\n"
                  "<BR><B>Eccentricity:</B> 0.1\n"
                  // C around B is a first take of its own; a separation shows no eccentricity.
                  "<P><B><U>Data for C and B's orbit around one other:</U></B>\n"
                  "<BR><B>Combined luminosity class:</B> IV\n"
                  "<BR><B>Observed Separation:</B> 10 A.U.s\n"
                  "<BR><B>Year of separation observation:</B> 1990\n"
                  "<BR><B>Source for orbit data:</B> XX\n"
                  "<BR><B>As seen from C:</B>\n" +
                  kIndent + "B would appear as magnitude -21.72\n");
}

TEST_F(OrbitSection, WithoutADistanceAxesStayInArcseconds)
{
    EXPECT_EQ(section(1100),
              "<P><B><U>Data for A and B's orbit around one other:</U></B>\n"
              "<BR><B>Combined apparent visual magnitude:</B> +4.50\n"
              "<BR><B>Period:</B> 8.766000 hours\n"
              "<BR><B>Standard Error in period:</B> 0.000500%\n"
              "<BR><B>Semimajor Axis:</B> 2 arcseconds\n"
              "<BR><B>Eccentricity:</B> 0.5\n"
              "<BR><B>Periastron distance:</B> 1.000000 arcseconds\n"
              "<BR><B>Apastron distance:</B> 3.000000 arcseconds\n"
              "<P><B><U>Data for A and B's orbit, take 2:</U></B>\n"
              "<BR><B>Period:</B> 183 days\n"
              "<BR><B>Standard Error in period:</B> 5%\n"
              "<BR><B>Semimajor Axis:</B> 0.000500 arcseconds\n"
              "<P><B><U>Data for A and B's orbit, take 3:</U></B>\n"
              "<BR><B>Period:</B> 30 years\n"
              "<BR><B>Standard Error in period:</B> 30%\n");
}

TEST_F(OrbitSection, KnownLuminositiesComfortZoneAroundBothAndTheReversedPair)
{
    // Both stars have luminosities: no combined apparent magnitude although
    // the pair has one. Comfort zone 30.1 AU: not around an axis of 20, but
    // around 15. B around A is a first take of its own.
    EXPECT_EQ(section(1200),
              "<P><B><U>Data for A and B's orbit around one other:</U></B>\n"
              "<BR><B>Combined absolute visual magnitude:</B> -2.54\n"
              "<BR><B>Combined visual luminosity:</B> 906 x Sol\n"
              "<BR><B>Semimajor Axis:</B> 20 A.U.s\n"
              "<BR><B>As seen from A:</B>\n" +
                  kIndent + "B would appear as magnitude -24.07\n" + "<BR><B>As seen from B:</B>\n" + kIndent +
                  "A would appear as magnitude -27.57\n"
                  "<P><B><U>Data for B and A's orbit around one other:</U></B>\n"
                  "<BR><B>Combined absolute visual magnitude:</B> -2.54\n"
                  "<BR><B>Combined visual luminosity:</B> 906 x Sol\n"
                  "<BR><B>Semimajor Axis:</B> 15 A.U.s\n"
                  "<BR><B>Comfort Zone (visual) around both:</B> 30.1 A.U.s\n"
                  "<BR><B>As seen from B:</B>\n" +
                  kIndent + "A would appear as magnitude -28.19\n" + "<BR><B>As seen from A:</B>\n" + kIndent +
                  "B would appear as magnitude -24.69\n"
                  // Arcseconds at a distance with a 2 % error: AU to three digits.
                  "<P><B><U>Data for A and B's orbit, take 2:</U></B>\n"
                  "<BR><B>Semimajor Axis:</B> 5.00 A.U.s\n"
                  "<BR><B>Eccentricity:</B> 0.2\n"
                  "<BR><B>Periastron distance:</B> 4.00 A.U.s\n"
                  "<BR><B>Apastron distance:</B> 6.00 A.U.s\n"
                  "<BR><B>As seen from A:</B>\n" +
                  kIndent + "At periastron, B would appear as magnitude -27.56\n" + kIndent +
                  "At apastron, B would appear as magnitude -26.68\n" + "<BR><B>As seen from B:</B>\n" + kIndent +
                  "At periastron, A would appear as magnitude -31.06\n" + kIndent +
                  "At apastron, A would appear as magnitude -30.18\n");
}

TEST_F(OrbitSection, ViewFromOneAUAndOrbitsWhoseMagnitudesHaveNoValue)
{
    // Regression: an eccentricity of 1 or more, or an axis of 0 AU, printed
    // "nan" or "inf" as a magnitude; a view whose logarithm has no value is
    // left out. Regression: an eccentricity of 1 or more also lost the
    // periastron and apastron lines, which are numbers like any other (0 or
    // below for the periastron).
    const std::string seenFromBoth = "<BR><B>As seen from Sun:</B>\n" + kIndent +
                                     "Twin would appear as magnitude -26.72\n" + "<BR><B>As seen from Twin:</B>\n" +
                                     kIndent + "Sun would appear as magnitude -26.72\n";
    // Only the apastron (2 AU, then 2.5 AU) can be seen from.
    const auto seenAtApastron = [](const std::string& magnitude) {
        return "<BR><B>As seen from Sun:</B>\n" + kIndent + "At apastron, Twin would appear as magnitude " +
               magnitude + "\n" + "<BR><B>As seen from Twin:</B>\n" + kIndent +
               "At apastron, Sun would appear as magnitude " + magnitude + "\n";
    };
    EXPECT_EQ(section(1300), "<P><B><U>Data for Sun and Twin's orbit around one other:</U></B>\n"
                             "<BR><B>Combined absolute visual magnitude:</B> +4.10\n"
                             "<BR><B>Combined visual luminosity:</B> 2 x Sol\n"
                             "<BR><B>Semimajor Axis:</B> 1 A.U.s\n" +
                                 seenFromBoth +
                                 "<P><B><U>Data for Sun and Twin's orbit, take 2:</U></B>\n"
                                 "<BR><B>Semimajor Axis:</B> 1 A.U.s\n"
                                 "<BR><B>Eccentricity:</B> 1\n"
                                 "<BR><B>Periastron distance:</B> 0.000000 A.U.s\n"
                                 "<BR><B>Apastron distance:</B> 2 A.U.s\n" +
                                 seenAtApastron("-25.22") +
                                 "<P><B><U>Data for Sun and Twin's orbit, take 3:</U></B>\n"
                                 "<BR><B>Semimajor Axis:</B> 1 A.U.s\n"
                                 "<BR><B>Eccentricity:</B> 1.5\n"
                                 "<BR><B>Periastron distance:</B> -0.500000 A.U.s\n"
                                 "<BR><B>Apastron distance:</B> 2.5 A.U.s\n" +
                                 seenAtApastron("-24.73") +
                                 "<P><B><U>Data for Sun and Twin's orbit, take 4:</U></B>\n"
                                 "<BR><B>Semimajor Axis:</B> 0.000000 A.U.s\n"
                                 "<BR><B>Eccentricity:</B> 0.5\n"
                                 "<BR><B>Periastron distance:</B> 0.000000 A.U.s\n"
                                 "<BR><B>Apastron distance:</B> 0.000000 A.U.s\n"
                                 // 2 arcseconds at distance 0.
                                 "<P><B><U>Data for Sun and Twin's orbit, take 5:</U></B>\n"
                                 "<BR><B>Semimajor Axis:</B> 0.000000 A.U.s\n"
                                 "<BR><B>Eccentricity:</B> 0.5\n"
                                 "<BR><B>Periastron distance:</B> 0.000000 A.U.s\n"
                                 "<BR><B>Apastron distance:</B> 0.000000 A.U.s\n");
    const std::string output = page(1300);
    EXPECT_EQ(output.find("nan"), std::string::npos);
    EXPECT_EQ(output.find("inf"), std::string::npos);
}

TEST_F(OrbitSection, APairsCombinedMagnitudeAtDistanceZeroGivesAKnownLuminosityOfZero)
{
    // Regression: at a system distance of 0 the pair (B-C) counted as having
    // no luminosity, so A-(B-C) showed its own combined apparent magnitude
    // and no combined luminosity. The magnitude gives a luminosity of 0,
    // which is known: A-(B-C) sums 1 and 0.
    EXPECT_EQ(section(1600), "<P><B><U>Data for B and C's orbit around one other:</U></B>\n"
                             "<BR><B>Combined apparent visual magnitude:</B> +5.00\n"
                             "<BR><B>Period:</B> 1 years\n"
                             "<P><B><U>Data for A and (B-C)'s orbit around one other:</U></B>\n"
                             "<BR><B>Combined absolute visual magnitude:</B> +4.85\n"
                             "<BR><B>Combined visual luminosity:</B> 1 x Sol\n"
                             "<BR><B>Semimajor Axis:</B> 1 A.U.s\n"
                             "<BR><B>As seen from (B-C):</B>\n" +
                                 kIndent + "A would appear as magnitude -26.72\n");
}

TEST_F(OrbitSection, OrbitsThatContainThemselvesAreNamedWithErrorAndShown)
{
    // Regression: naming a pair that is a member of itself recursed without end.
    EXPECT_EQ(section(1400), "<P><B><U>Data for ((<ERROR>-A)-B) and A's orbit around one other:</U></B>\n"
                             "<BR><B>Period:</B> 10 years\n"
                             "<P><B><U>Data for ((<ERROR>-B)-A) and B's orbit around one other:</U></B>\n"
                             "<BR><B>Period:</B> 20 years\n"
                             "<P><B><U>Data for (<ERROR>-A) and A's orbit around one other:</U></B>\n"
                             "<BR><B>Period:</B> 30 years\n");
}

TEST_F(OrbitSection, DeeplyNestedLongNamesPrintWhole)
{
    // Regression: composed names were kept in 60 characters and ran past them.
    const std::string first = "First planet with a name of exactly fifty letters.";
    const std::string second = "Second planet with a name of exactly fifty letters";
    const std::string third = "Third planet with a name of exactly fifty letters.";
    const std::string fourth = "Fourth planet with a name of exactly fifty letters";
    const std::string inner = "(" + first + "-" + second + ")";
    const std::string outer = "(" + third + "-" + fourth + ")";
    EXPECT_EQ(section(1500), "<P><B><U>Data for " + inner + " and " + outer + "'s orbit around one other:</U></B>\n" +
                                 "<BR><B>Period:</B> 1 years\n" + "<P><B><U>Data for (" + inner + "-" + outer +
                                 ") and A's orbit around one other:</U></B>\n" + "<BR><B>Period:</B> 2 years\n");
}

TEST_F(OrbitSection, ComposedNamesKeepStoredAmpersandsAndWindows1252Letters)
{
    // The pair is named from the stored names of its members; the
    // planet adds its name and no light, so the pair shines as B&C alone.
    const std::string pair = "(B&C-Dulcin\xE9" "e)";
    EXPECT_EQ(section(1700), "<P><B><U>Data for A and " + pair + "'s orbit around one other:</U></B>\n" +
                                 "<BR><B>Combined absolute visual magnitude:</B> +4.10\n"
                                 "<BR><B>Combined visual luminosity:</B> 2 x Sol\n"
                                 "<BR><B>Semimajor Axis:</B> 40 A.U.s\n"
                                 "<BR><B>Source for orbit data:</B> Docobo & Ling\n"
                                 "<BR><B>As seen from A:</B>\n" +
                                 kIndent + pair + " would appear as magnitude -18.71\n" + "<BR><B>As seen from " +
                                 pair + ":</B>\n" + kIndent + "A would appear as magnitude -18.71\n");
}

TEST(OrbitLoading, NewestDateCountsThePairsSpectraAndThePlanets)
{
    const TestDatabase db({
        "INSERT INTO Systems (ID, LastUpdated) VALUES (100, '2001-01-01'), (200, '2001-01-01'), (300, NULL);",
        // An orbit's date, then its pair's spectrum dated later.
        "INSERT INTO Orbits (ID, PrimaryID, SecondaryID, LastUpdated) VALUES (111, 101, 102, '2002-02-02');",
        "INSERT INTO Spectra (OwnerID, SpectralClass, LastUpdated) VALUES (111, 'G', '2003-03-03');",
        // A planet's date, and a magnitude row of an orbit dated earlier.
        "INSERT INTO Planets (ID, Name, LastUpdated) VALUES (251, 'b', '2004-04-04');",
        "INSERT INTO Orbits (ID, PrimaryID, SecondaryID, LastUpdated) VALUES (211, 201, 251, '2002-02-02');",
        "INSERT INTO Magnitudes (OwnerID, ApparentVMag, LastUpdated) VALUES (211, 1, '1999-09-09');",
        // Undated rows leave the page's date as it starts.
        "INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (311, 301, 302);",
        "INSERT INTO Planets (ID, Name) VALUES (351, 'c');",
    });
    const auto dateLine = [&db](const char* query) {
        const std::string output = db.run("sysview", query).output;
        const std::size_t at = output.find("most recently updated on ");
        return output.substr(at, output.find('\n', at) - at);
    };
    EXPECT_EQ(dateLine("ID=100"), "most recently updated on 3-March-2003.");
    EXPECT_EQ(dateLine("ID=200"), "most recently updated on 4-April-2004.");
    EXPECT_EQ(dateLine("ID=300"), "most recently updated on 1-January-1900.");
}

}  // namespace

// Regression: a pair written "<ERROR>" because of a naming cycle made the
// pair's luminosity unknown, dropping the combined magnitude lines and the
// view from the other body.
TEST(OrbitNamingCycle, ThePairInTheCycleLeavesTheLightOfTheOtherBodiesAlone)
{
    const TestDatabase db({
        "INSERT INTO Systems (ID) VALUES (100);"
        "INSERT INTO Positions (OwnerID, Distance) VALUES (100, 32.61633);"
        "INSERT INTO Components (ID, Name) VALUES (101, 'A'), (102, 'B');"
        "INSERT INTO Magnitudes (OwnerID, ApparentVMag) VALUES (101, 4.85), (102, 4.85);"
        "INSERT INTO Orbits (ID, PrimaryID, SecondaryID, SemimajorAxis, IsAxisAU)"
        "    VALUES (111, 112, 101, 10, 1), (112, 111, 102, 20, 1);",
    });
    const ProgramResult r = db.run("sysview", "ID=100");
    EXPECT_EQ(r.status, 0);
    const std::string& page = r.output;
    const std::size_t start = page.find("<P><B><U>Data for ((<ERROR>-A)-B) and A's orbit around one other:</U></B>\n");
    ASSERT_NE(start, std::string::npos) << page;
    const std::string first = page.substr(start, page.find("<P><B><U>", start + 1) - start);
    EXPECT_NE(first.find("<BR><B>Combined absolute visual magnitude:</B> +3.66\n"), std::string::npos) << first;
    EXPECT_NE(first.find("<BR><B>Combined visual luminosity:</B> 3 x Sol\n"), std::string::npos) << first;
    EXPECT_NE(first.find("<BR><B>As seen from ((<ERROR>-A)-B):</B>\n"), std::string::npos) << first;
    EXPECT_NE(first.find("<BR><B>As seen from A:</B>\n"), std::string::npos) << first;
}

// Regression: orbits that took an earlier pair as a member twice (orbit
// S+i pairing S+i-1 and S+i-2) made composed names, and the page, grow
// about 1.6 times per orbit.
namespace {

// System 100 with stars A and B and orbits 111 to 110 + count: 111 is
// (A-B), 112 is (111-B), and each later orbit pairs the two before it.
std::string pairsOfTheTwoOrbitsBefore(int count)
{
    std::string sql =
        "INSERT INTO Systems (ID) VALUES (100);"
        "INSERT INTO Components (ID, Name) VALUES (101, 'A'), (102, 'B');"
        "INSERT INTO Orbits (ID, PrimaryID, SecondaryID, Period) VALUES (111, 101, 102, 1), (112, 111, 102, 2)";
    for (int id = 113; id <= 110 + count; ++id)
        sql += ", (" + std::to_string(id) + ", " + std::to_string(id - 1) + ", " + std::to_string(id - 2) + ", " +
               std::to_string(id - 110) + ")";
    return sql + ";";
}

}  // namespace

TEST(OrbitMembership, APairIsAMemberOfOnePairAndASecondMembershipIsAnError)
{
    const TestDatabase db({pairsOfTheTwoOrbitsBefore(4)});
    const ProgramResult r = db.run("sysview", "ID=100");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              htmlHead("<TITLE>VLDR search results</TITLE>") + reportRadiusForm(100) + "<BR><B>Arity:</B> binary\n" +
                  kFieldsLine +
                  "<P><B><U>Data for A and B's orbit around one other:</U></B>\n"
                  "<BR><B>Period:</B> 1 years\n"
                  "<P><B><U>Data for (A-B) and B's orbit around one other:</U></B>\n"
                  "<BR><B>Period:</B> 2 years\n"
                  // (A-B) belongs to 112: as 113's member it is an error.
                  "<P><B><U>Data for ((A-B)-B) and <ERROR>'s orbit around one other:</U></B>\n"
                  "<BR><B>Period:</B> 3 years\n"
                  "<P><B><U>Data for (((A-B)-B)-<ERROR>) and <ERROR>'s orbit around one other:</U></B>\n"
                  "<BR><B>Period:</B> 4 years\n"
                  "<P><BR><B><U>Component A:</U></B>\n"
                  "<P><BR><B><U>Component B:</U></B>\n" +
                  reportFoot(100, "1-January-1900"));
}

TEST(OrbitMembership, TheMostOrbitsASystemCanHaveGiveAPageOfBoundedSize)
{
    const TestDatabase db({pairsOfTheTwoOrbitsBefore(vldr::kMaxOrbits)});
    const ProgramResult r = db.run("sysview", "ID=100");
    EXPECT_EQ(responseFault("sysview", r), "");
    // Each orbit writes at most eight composed names (its heading's two and
    // the views from each member); 64 KiB more hold the rest of the page.
    const std::size_t bound = 64 * 1024 + vldr::kMaxOrbits * 8 * vldr::kMaxComposedNameLength;
    EXPECT_LT(r.output.size(), bound);
    EXPECT_NE(r.output.find("<P><B><U>Data for ((((((((((((((((((((((((((((((((((((((A-B)-B)-<ERROR>)"),
              std::string::npos);
}
