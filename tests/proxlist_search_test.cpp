// proxlist's search and result pages: which systems are kept (ring, limits,
// component rows, the centre system), their order and the 100-entry cut,
// the result lines, and the pages for a system that cannot be searched around.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kPointHead = htmlHead("<TITLE>VLDR near-coordinate search results</TITLE>");
const std::string kSystemHead = htmlHead("<TITLE>VLDR neighbor search results</TITLE>");
const std::string kClose = "</BODY>\n</HTML>\n";
const std::string kNoNeighbours = "<BR>No neighboring stars were found in the Valdora.\n";

// One result line.
std::string entry(int id, const std::string& name, const std::string& distance, const std::string& classText = "")
{
    return "<BR><A HREF=\"sysview.exe?ID=" + std::to_string(id) + "\">" + name + "</A>: " + distance +
           " light-years" + classText + "\n";
}

// The page of a search around a point: heading text between "<H3>" and ":</H3>", then the body.
std::string pointPage(const std::string& heading, const std::string& body)
{
    return kPointHead + "<CENTER><H3>" + heading + ":</H3></CENTER>\n" + body + kClose;
}

std::string systemPage(const std::string& heading, const std::string& body)
{
    return kSystemHead + "<CENTER><H3>" + heading + ":</H3></CENTER>\n" + body + kClose;
}

std::string notFoundPage(int id)
{
    return htmlHead("<TITLE>VLDR search results</TITLE>") + "No star name matching ID " + std::to_string(id) +
           " found.\n" + kClose;
}

// The systems of proxlist_search.sql, each at the given distance from the centre.
std::string sol(const std::string& d) { return entry(100, "Sol", d, ", class G2 V"); }
std::string gliese(const std::string& d) { return entry(200, "Gliese 200", d, ", class M5.5 "); }
std::string tertia(const std::string& d) { return entry(300, "Tertia", d); }
std::string quarta(const std::string& d) { return entry(400, "Quarta", d); }
std::string unnamed(const std::string& d) { return entry(500, "System 500", d); }

class ProxlistSearch : public SharedDatabaseSuite<ProxlistSearch> {
public:
    static constexpr const char* kFixture = "proxlist_search.sql";

protected:
    static ProgramResult run(const char* query) { return db_->run("proxlist", query); }
};

TEST_F(ProxlistSearch, PointSearchListsSystemRowsInScanOrderWithTheirClasses)
{
    // All five systems lie at the Sun, 5 light-years from (3, 4, 0): equal
    // distances keep the order of the scan. The component row 501 and the
    // rows without a usable position (700, 800) are not listed.
    const ProgramResult r = run("X=3&Y=4");
    EXPECT_EQ(r.output, pointPage("Stars within 15 light-years of (3, 4, 0)",
                                  sol("5") + gliese("5") + tertia("5") + quarta("5") + unnamed("5")));
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProxlistSearch, SystemAtThePointSearchedAroundIsListedAtDistanceZero)
{
    const ProgramResult r = run("");
    EXPECT_EQ(r.output, pointPage("Stars within 15 light-years of (0, 0, 0)",
                                  sol("0") + gliese("0") + tertia("0") + quarta("0") + unnamed("0")));
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProxlistSearch, RingBoundariesAreInclusive)
{
    const std::string all = sol("5") + gliese("5") + tertia("5") + quarta("5") + unnamed("5");
    EXPECT_EQ(run("X=3&Y=4&ly=5").output, pointPage("Stars within 5 light-years of (3, 4, 0)", all));
    EXPECT_EQ(run("X=3&Y=4&ly=4.999").output, pointPage("Stars within 4.999 light-years of (3, 4, 0)", kNoNeighbours));
    EXPECT_EQ(run("X=3&Y=4&minLY=5").output, pointPage("Stars between 5 and 15 light-years from (3, 4, 0)", all));
    EXPECT_EQ(run("X=3&Y=4&minLY=5.001").output,
              pointPage("Stars between 5.001 and 15 light-years from (3, 4, 0)", kNoNeighbours));
}

TEST_F(ProxlistSearch, RightAscensionLimitsAreInclusiveAndAbsentRaCountsAsZero)
{
    EXPECT_EQ(run("maxRAHour=5&maxRAMin=30").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Right Ascensions between 0h0m0s and 5h30m0s",
                        sol("0") + gliese("0") + unnamed("0")));
    EXPECT_EQ(run("maxRAHour=5&maxRAMin=29&maxRASec=59.999").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Right Ascensions between 0h0m0s and "
                        "5h29m59.999s",
                        sol("0") + unnamed("0")));
    EXPECT_EQ(run("minRAHour=5&minRAMin=30").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Right Ascensions between 5h30m0s and "
                        "23h59m59.999s",
                        gliese("0") + tertia("0") + quarta("0")));
}

TEST_F(ProxlistSearch, DeclinationLimitsAreInclusiveAndMinutesTakeTheSignOfTheDegrees)
{
    EXPECT_EQ(run("minDecDeg=10&minDecMin=30").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Declinations between +10&deg;30'0\" and "
                        "+89&deg;59'59.999\"",
                        gliese("0") + quarta("0")));
    EXPECT_EQ(run("minDecDeg=-20&minDecMin=15&maxDecDeg=-20&maxDecMin=15").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Declinations between -20&deg;15'0\" and "
                        "-20&deg;15'0\"",
                        tertia("0")));
    EXPECT_EQ(run("maxRAHour=11&maxDecDeg=10&maxDecMin=29").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Right Ascensions between 0h0m0s and 11h0m0s, "
                        "and Declinations between -89&deg;59'59.999\" and +10&deg;29'0\"",
                        sol("0") + unnamed("0")));
}

TEST_F(ProxlistSearch, SystemSearchLeavesOutTheCentreSystem)
{
    const ProgramResult r = run("ID=100");
    EXPECT_EQ(r.output, systemPage("Stars within 15 light-years of Sol",
                                   gliese("0") + tertia("0") + quarta("0") + unnamed("0")));
    EXPECT_EQ(r.status, 0);

    EXPECT_EQ(run("ID=200&minLY=1&ly=20&minRAHour=1").output,
              systemPage("Stars between 1 and 20 light-years from Gliese 200, with Right Ascensions between 1h0m0s "
                         "and 23h59m59.999s",
                         kNoNeighbours));
}

TEST_F(ProxlistSearch, SystemWithoutDisplayNameIsShownByItsId)
{
    const ProgramResult r = run("ID=500&maxRAHour=6");
    EXPECT_EQ(r.output,
              systemPage("Stars within 15 light-years of System 500, with Right Ascensions between 0h0m0s and 6h0m0s",
                         sol("0") + gliese("0")));
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProxlistSearch, SystemWithoutUsablePositionGivesTheNotFoundPage)
{
    // 600: no position row; 700: no distance; 800: a distance but no RA or Dec.
    for (int id : {600, 700, 800}) {
        const std::string query = "ID=" + std::to_string(id);
        const ProgramResult r = run(query.c_str());
        EXPECT_EQ(r.output, notFoundPage(id)) << query;
        EXPECT_EQ(r.status, 255) << query;
    }
}

TEST_F(ProxlistSearch, HeadingsAndResultLinesWriteStoredNamesAsStored)
{
    // Display names and classes keep their "&", apostrophes and windows-1252 bytes.
    const std::string gliese = entry(900, "Gliese & Jahrei\xDF 191", "0");
    const std::string barnard = entry(1000, "Barnard's Star", "0", ", class K0 IV\x96V");
    const std::string maanen = entry(1100, "\xC9toile de Van Maanen", "0", ", class M4 V");
    EXPECT_EQ(run("ID=900").output, systemPage("Stars within 15 light-years of Gliese & Jahrei\xDF 191", barnard + maanen));
    EXPECT_EQ(run("ID=1100&minLY=0.5").output,
              systemPage("Stars between 0.5 and 15 light-years from \xC9toile de Van Maanen", kNoNeighbours));
    const ProgramResult r = run("ID=1100");
    EXPECT_EQ(r.output, systemPage("Stars within 15 light-years of \xC9toile de Van Maanen", gliese + barnard));
    EXPECT_EQ(r.status, 0);
}

std::string positionAtRaZero(int id, double distance)
{
    return "INSERT INTO Positions (OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance) VALUES (" +
           std::to_string(id) + ", 0, 0, 0, 0, 0, 0, " + std::to_string(distance) + ");\n";
}

// Systems 100 * k at k light-years (k = 1 .. count), inserted in a scrambled
// order so that insertion has to shift entries and fill the spare slot.
std::string systemsOnALine(int count)
{
    constexpr int kPrime = 251;  // larger than any count here: k * 97 mod 251 visits 1..250 once
    std::string sql;
    for (int step = 1; step < kPrime; ++step) {
        const int k = step * 97 % kPrime;
        if (k <= count) sql += positionAtRaZero(k * 100, k);
    }
    return sql;
}

// How the search prints a distance of k light-years at 0h, +0 degrees: the
// turn into galactic coordinates leaves some lengths a few parts in ten
// million short, which shows in %g's sixth digit.
std::string printedDistance(int k)
{
    switch (k) {
    case 1: return "0.999999";
    case 10: return "9.99999";
    case 91: return "90.9999";
    case 92: return "91.9999";
    case 93: return "92.9999";
    case 94: return "93.9999";
    case 95: return "94.9999";
    case 96: return "95.9999";
    case 97: return "96.9999";
    case 98: return "97.9999";
    case 99: return "98.9999";
    case 100: return "99.9999";
    default: return std::to_string(k);
    }
}

// The lines of systems 100, 200, ... at 1, 2, ... light-years from the Sun.
std::string linesUpTo(int last)
{
    std::string lines;
    for (int k = 1; k <= last; ++k) lines += entry(k * 100, "System " + std::to_string(k * 100), printedDistance(k));
    return lines;
}

TEST(ProxlistCap, MoreThanAHundredFoundListsTheNearestHundred)
{
    const TestDatabase db({systemsOnALine(250)});
    const ProgramResult r = db.run("proxlist", "ly=300");
    EXPECT_EQ(r.output, pointPage("Stars within 300 light-years of (0, 0, 0)",
                                  "<BR>250 stars were found.&nbsp; Only the nearest 100 will be displayed.\n<BR>\n" +
                                      linesUpTo(100)));
    EXPECT_EQ(r.status, 0);
}

TEST(ProxlistCap, ExactlyAHundredFoundHasNoCountLine)
{
    const TestDatabase db({systemsOnALine(100)});
    const ProgramResult r = db.run("proxlist", "ly=300");
    EXPECT_EQ(r.output, pointPage("Stars within 300 light-years of (0, 0, 0)", linesUpTo(100)));
}

TEST(ProxlistCap, AtTheCutTheSystemReadFirstOfEqualDistancesIsKept)
{
    // 99 systems nearer, then three at one place 100 light-years away, read 30000, 20000, 40000.
    const TestDatabase db({systemsOnALine(99) + positionAtRaZero(30000, 100) + positionAtRaZero(20000, 100) +
                           positionAtRaZero(40000, 100)});
    const ProgramResult r = db.run("proxlist", "ly=300");
    EXPECT_EQ(r.output, pointPage("Stars within 300 light-years of (0, 0, 0)",
                                  "<BR>102 stars were found.&nbsp; Only the nearest 100 will be displayed.\n<BR>\n" +
                                      linesUpTo(99) + entry(30000, "System 30000", printedDistance(100))));
}

TEST(ProxlistScan, MissingMinutesOfARowCountAsZeroNotAsThePreviousRowsMinutes)
{
    // A NULL column leaves bound storage to the driver; the scan clears each row first.
    const TestDatabase db({"INSERT INTO Positions (OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Distance) "
                           "VALUES (100, 23, 59, 0, 0, 0);\n"
                           "INSERT INTO Positions (OwnerID, RA_hr, Dec_deg, Distance) VALUES (200, 5, 0, 0);"});
    EXPECT_EQ(db.run("proxlist", "maxRAHour=5").output,
              pointPage("Stars within 15 light-years of (0, 0, 0), with Right Ascensions between 0h0m0s and 5h0m0s",
                        entry(200, "System 200", "0")));
}

TEST(ProxlistScan, FailedPositionQueryIsReportedOnAClosedPage)
{
    // Every position's hours made a value longer than a reader takes, after
    // the build (which files every position in the position grid): the
    // query fails on its first row while the database, all its columns
    // there, is still one the data source accepts.
    const TestDatabase db({positionAtRaZero(100, 1)});
    const std::string replace = "PRAGMA ignore_check_constraints = 1; UPDATE Positions SET RA_hr = zeroblob(100000);";
    ASSERT_EQ(std::system(("sqlite3 '" + db.databasePath() + "' '" + replace + "'").c_str()), 0);
    ProgramResult r = db.run("proxlist", "X=1&Y=2&Z=3");
    EXPECT_EQ(r.output,
              pointPage("Stars within 15 light-years of (1, 2, 3)", "<BR>Internal error: Database query failed.\n"));
    EXPECT_EQ(r.status, 0);

    r = db.run("proxlist", "ID=100");
    EXPECT_EQ(r.output, notFoundPage(100));
    EXPECT_EQ(r.status, 255);
}

}  // namespace
