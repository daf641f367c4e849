// proxlist's request: the checks and their order, the messages, the
// resetting rule of the limits, the centre, the headings, and the session.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kNoNeighbours = "<BR>No neighboring stars were found in the Valdora.\n";

std::string plainText(const std::string& message)
{
    return std::string(kPlainTextHeader) + message + "\n";
}

// The page of a search around a point in a database without positions.
std::string emptyPointPage(const std::string& heading)
{
    return htmlHead("<TITLE>VLDR near-coordinate search results</TITLE>") + "<CENTER><H3>" + heading +
           ":</H3></CENTER>\n" + kNoNeighbours + "</BODY>\n</HTML>\n";
}

// Heading texts around the Sun with the default radius, and the limit clauses.
const std::string kAroundSun = "Stars within 15 light-years of (0, 0, 0)";
std::string raClause(const std::string& from, const std::string& to)
{
    return ", with Right Ascensions between " + from + " and " + to;
}
std::string decClause(const std::string& joiner, const std::string& from, const std::string& to)
{
    return ", " + joiner + " Declinations between " + from + " and " + to;
}
const std::string kNorthmost = "+89&deg;59'59.999\"";

class ProxlistRequest : public SharedDatabaseSuite<ProxlistRequest> {
public:
    static constexpr const char* kFixture = "";

protected:
    static ProgramResult run(const char* query) { return db_->run("proxlist", query); }

    // Expects the plain-text message for each query, with status -1.
    static void expectRejected(const std::vector<std::pair<const char*, std::string>>& cases)
    {
        for (const auto& [query, message] : cases) {
            const ProgramResult r = run(query);
            EXPECT_EQ(r.output, plainText(message)) << query;
            EXPECT_EQ(r.status, 255) << query;
        }
    }

    // Expects a search page around a point with the given heading, with status 0.
    static void expectHeading(const char* query, const std::string& heading)
    {
        const ProgramResult r = run(query);
        EXPECT_EQ(r.output, emptyPointPage(heading)) << query;
        EXPECT_EQ(r.status, 0) << query;
    }

};

TEST_F(ProxlistRequest, MissingQueryStringIsAThreeLinePlainTextMessage)
{
    const ProgramResult r = run(nullptr);
    EXPECT_EQ(r.output, std::string(kPlainTextHeader) +
                            "This CGI program must be passed a query string containing either an \"ID=###00\" clause,\n"
                            "or \"X=###\", \"Y=###\", and \"Z=###\" clauses,\n"
                            "or clauses for min. and max. RA and Dec components.\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(ProxlistRequest, EmptyQueryStringSearchesAroundTheSunWithDefaults)
{
    expectHeading("", kAroundSun);
    // Every parameter at its default gives no clause either.
    expectHeading("minRAHour=0&minRAMin=0&minRASec=0&maxRAHour=23&maxRAMin=59&maxRASec=59.999"
                  "&minDecDeg=-89&minDecMin=59&minDecSec=59.999&maxDecDeg=89&maxDecMin=59&maxDecSec=59.999",
                  kAroundSun);
}

TEST_F(ProxlistRequest, EveryCheckHasItsMessage)
{
    const std::string invalidId = "Invalid \"ID=###\" clause.  Must be a multiple of 100 greater than 0.";
    expectRejected({
        {"ID=0", invalidId},
        {"ID=-100", invalidId},
        {"ID=150", invalidId},
        {"ID=abc", invalidId},
        {"ID=4294967396", invalidId},  // beyond 32 bits: never wraps round to a valid ID
        {"ly=", "Search radius must be at least 2 light-years."},
        {"ly=1.99", "Search radius must be at least 2 light-years."},
        {"minLY=15.5", "Minimum search radius cannot be greater than maximum search radius."},
        {"minRAHour=24", "Minimum right ascension hours must be between 0 and 23 inclusive."},
        {"minRAHour=-1", "Minimum right ascension hours must be between 0 and 23 inclusive."},
        {"minRAMin=60", "Minimum right ascension minutes must be between 0 and 59 inclusive."},
        {"minRASec=60", "Minimum right ascension seconds must be >= 0 and < 60."},
        {"maxRAHour=24", "Maximum right ascension hours must be between 0 and 23 inclusive."},
        {"maxRAMin=-1", "Maximum right ascension minutes must be between 0 and 59 inclusive."},
        {"maxRASec=-0.5", "Maximum right ascension seconds must be >= 0 and < 60."},
        {"minRAHour=6&maxRAHour=5", "Minimum right ascension cannot be greater than maximum right ascension."},
        {"minDecDeg=90", "Minimum declination degrees must be between -89 and +89 inclusive."},
        {"minDecMin=60", "Minimum declination minutes must be between 0 and 59 inclusive."},
        {"minDecSec=60", "Minimum declination seconds must be >= 0 and < 60"},
        {"maxDecDeg=90", "Maxmimum declination degrees must be between -89 and +89 inclusive."},
        {"maxDecMin=60", "Maximum declination minutes must be between 0 and 59 inclusive."},
        {"maxDecSec=60", "Maximum declination seconds must be >= 0 and < 60"},
        {"minDecDeg=10&maxDecDeg=-10", "Minimum declination cannot be greater than maximum declination."},
    });
}

TEST_F(ProxlistRequest, OfTwoFaultsTheFirstInCheckingOrderIsReported)
{
    // The order of the checks decides, not the order of the query.
    expectRejected({
        {"ly=1&ID=150", "Invalid \"ID=###\" clause.  Must be a multiple of 100 greater than 0."},
        {"minRAHour=30&ly=1", "Search radius must be at least 2 light-years."},
        {"minRASec=60&minRAMin=70", "Minimum right ascension minutes must be between 0 and 59 inclusive."},
        {"minDecDeg=95&minRAHour=6&maxRAHour=5",
         "Minimum right ascension cannot be greater than maximum right ascension."},
        {"maxDecSec=70&minDecSec=70", "Minimum declination seconds must be >= 0 and < 60"},
    });
}

TEST_F(ProxlistRequest, NumbersBeyondTheMachineRangeAreOutOfRangeAndWordsAreNotNumbers)
{
    expectRejected({
        {"minRAHour=99999999999", "Minimum right ascension hours must be between 0 and 23 inclusive."},
        {"maxDecDeg=-99999999999", "Maxmimum declination degrees must be between -89 and +89 inclusive."},
        {"minRAMin=4294967306", "Minimum right ascension minutes must be between 0 and 59 inclusive."},
        {"maxRASec=1e999", "Maximum right ascension seconds must be >= 0 and < 60."},
        {"ly=inf", "Search radius must be at least 2 light-years."},
    });
    expectHeading("ly=1e999", "Stars within 1.79769e+308 light-years of (0, 0, 0)");
    expectHeading("X=nan&Y=2", "Stars within 15 light-years of (0, 2, 0)");
}

TEST_F(ProxlistRequest, CentreRadiiAndNumberReading)
{
    for (const auto& [query, heading] : std::vector<std::pair<const char*, std::string>>{
             // X, Y and Z are read only in sequence; an empty ID counts as none.
             {"X=1&Z=3", "Stars within 15 light-years of (1, 0, 0)"},
             {"X=1&Y=2&Z=3", "Stars within 15 light-years of (1, 2, 3)"},
             {"Y=2&Z=3", kAroundSun},
             {"ID=&X=2", "Stars within 15 light-years of (2, 0, 0)"},
             // Numbers end at the first character that does not fit.
             {"X=-1.5e1ly&Y=.5&Z=2.", "Stars within 15 light-years of (-15, 0.5, 2)"},
             {"maxRAHour=+5h&maxRAMin=%2030.9", kAroundSun + raClause("0h0m0s", "5h30m0s")},
             // Radius and inner radius.
             {"ly=2", "Stars within 2 light-years of (0, 0, 0)"},
             {"minLY=15", "Stars between 15 and 15 light-years from (0, 0, 0)"},
             {"minLY=-3", kAroundSun},
             {"ly=20.5&minLY=7.25", "Stars between 7.25 and 20.5 light-years from (0, 0, 0)"},
         })
        expectHeading(query, heading);
}

TEST_F(ProxlistRequest, LongestCoordinatesAreWrittenWholeInTheHeading)
{
    // Guards against a point text cut short by the storage it is composed in.
    expectHeading("X=-1.7976931348623157e308&Y=-1.7976931348623157e308&Z=-1.7976931348623157e308&ly=1e999",
                  "Stars within 1.79769e+308 light-years of (-1.79769e+308, -1.79769e+308, -1.79769e+308)");
}

TEST_F(ProxlistRequest, WholePartResetsTheRestOfItsLimitAndClausesJoinWithWithOrAnd)
{
    for (const auto& [query, heading] : std::vector<std::pair<const char*, std::string>>{
             {"maxRAHour=5", kAroundSun + raClause("0h0m0s", "5h0m0s")},
             {"maxRAMin=30", kAroundSun + raClause("0h0m0s", "23h30m0s")},
             // A later component in the checking order overrides the reset, wherever it stands in the query.
             {"maxRASec=30&maxRAHour=5", kAroundSun + raClause("0h0m0s", "5h0m30s")},
             {"minRAHour=5&minRAMin=5&minRAHour=7", kAroundSun + raClause("5h5m0s", "23h59m59.999s")},
             {"minDecDeg=10", kAroundSun + decClause("with", "+10&deg;0'0\"", kNorthmost)},
             {"minDecDeg=0&minDecMin=30", kAroundSun + decClause("with", "+0&deg;30'0\"", kNorthmost)},
             {"maxDecDeg=-5&maxDecMin=30", kAroundSun + decClause("with", "-89&deg;59'59.999\"", "-5&deg;30'0\"")},
             {"minRAHour=5&maxRAHour=5&minDecDeg=-10&minDecSec=2.5",
              kAroundSun + raClause("5h0m0s", "5h0m0s") + decClause("and", "-10&deg;0'2.5\"", kNorthmost)},
         })
        expectHeading(query, heading);
}

TEST_F(ProxlistRequest, ValidIdSelectsTheSystemSearchAndIgnoresTheCoordinates)
{
    const ProgramResult r = run("ID=100&X=5");
    EXPECT_EQ(r.output, htmlHead("<TITLE>VLDR search results</TITLE>") +
                            "No star name matching ID 100 found.\n</BODY>\n</HTML>\n");
    EXPECT_EQ(r.status, 255);
}

TEST(ProxlistSession, FailedConnectionIsAPlainTextErrorWithFailureStatus)
{
    // Regression: a failed connection ended with status 0, reported as success.
    const ProgramResult r =
        runProgram("proxlist", "ly=20", {"ODBCSYSINI=/nonexistent", "ODBCINI=/nonexistent/odbc.ini"});
    EXPECT_TRUE(r.output.starts_with(std::string(kPlainTextHeader) + "SQLConnect() failed!!\n"
                                                                      "SQLSTATE = 'IM002'\nError message = '"))
        << r.output;
    EXPECT_EQ(r.status, 255);

    const TestDatabase db({""});
    db.removeDatabaseFile();
    const ProgramResult missingFile = db.run("proxlist", "ID=100");
    EXPECT_TRUE(missingFile.output.starts_with(std::string(kPlainTextHeader) + "SQLConnect() failed!!\n"))
        << missingFile.output;
    EXPECT_EQ(missingFile.status, 255);
}

TEST(ProxlistSession, FaultyRequestIsAnsweredWithoutTheDatabase)
{
    const ProgramResult r =
        runProgram("proxlist", "ly=1", {"ODBCSYSINI=/nonexistent", "ODBCINI=/nonexistent/odbc.ini"});
    EXPECT_EQ(r.output, plainText("Search radius must be at least 2 light-years."));
    EXPECT_EQ(r.status, 255);
}

}  // namespace
