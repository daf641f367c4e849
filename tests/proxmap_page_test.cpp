// proxmap's pages: the whole map around a system, the escaping of stored
// names, an empty and a single-system map, the ring and box forms, the
// 100-system cut, and the answers it shares with proxlist.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "test_database.h"

using namespace vldr::test;

namespace {

// The IDs the map's dots link to, in the page's order.
std::vector<std::string> starLinks(const std::string& page)
{
    static const std::regex kStar("<a class=\"star\" href=\"sysview\\.exe\\?ID=(\\d+)\">");
    std::vector<std::string> ids;
    for (std::sregex_iterator it(page.begin(), page.end(), kStar), end; it != end; ++it) ids.push_back((*it)[1]);
    return ids;
}

// The IDs of proxlist's result lines, in order.
std::vector<std::string> listLinks(const std::string& page)
{
    static const std::regex kLine("<BR><A HREF=\"sysview\\.exe\\?ID=(\\d+)\">");
    std::vector<std::string> ids;
    for (std::sregex_iterator it(page.begin(), page.end(), kLine), end; it != end; ++it) ids.push_back((*it)[1]);
    return ids;
}

// The heading line of a neighbour page.
std::string heading(const std::string& page)
{
    const std::size_t start = page.find("<CENTER><H3>");
    return page.substr(start, page.find('\n', start) - start);
}

std::string readFixture(const std::string& name)
{
    std::ifstream in(fixturePath(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ProxmapPage : public SharedDatabaseSuite<ProxmapPage> {
public:
    static constexpr const char* kFixture = "proxmap.sql";

protected:
    static ProgramResult map(const char* query) { return db_->run("proxmap", query); }
    static ProgramResult list(const char* query) { return db_->run("proxlist", query); }
};

TEST_F(ProxmapPage, WholeMapAroundASystem)
{
    // Rings at 5, 10 and 15 ly; Sol marked as the centre; 200 red and of the
    // smallest size, 300 white of the size for an unknown magnitude, 400
    // grey and larger; the view links keep the search.
    const ProgramResult r = map("ID=100&Turn=45&Tilt=20");
    EXPECT_EQ(r.output, readFixture("proxmap_sol.html"));
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProxmapPage, StoredNamesAreEscapedInLabelsTooltipsAndHeading)
{
    const std::string page = map("ID=300").output;
    const std::string escaped = "A &amp; &lt;B&gt; &quot;C&quot; &#39;D&#39; \xC9toile";
    EXPECT_NE(page.find("<title>" + escaped + ", 9.43431 light-years, class M4 V</title>"), std::string::npos);
    EXPECT_NE(page.find(">" + escaped + "</text>"), std::string::npos);
    EXPECT_EQ(page.find("<B>"), std::string::npos);
    EXPECT_EQ(heading(map("ID=200").output), "<CENTER><H3>Stars within 15 light-years of " + escaped + ":</H3></CENTER>");
}

TEST_F(ProxmapPage, EmptyAndSingleSystemMaps)
{
    ProgramResult r = map("ID=100&ly=4");
    EXPECT_TRUE(starLinks(r.output).empty());
    EXPECT_NE(r.output.find("<P>No neighboring stars were found in the Valdora.</P>\n<DIV CLASS=\"map\">"),
              std::string::npos);
    EXPECT_EQ(r.status, 0);

    r = map("ID=100&ly=5");
    EXPECT_EQ(starLinks(r.output), std::vector<std::string>{"200"});
    EXPECT_EQ(r.output.find("No neighboring"), std::string::npos);
}

TEST_F(ProxmapPage, RingAndBoxFormsDrawWhatTheListLists)
{
    for (const char* query : {"ID=100&minLY=6&ly=12", "minRAHour=5&maxRAHour=13", "X=1&Y=1&Z=1&minDecDeg=0",
                              "ID=400&ly=30&minLY=1&maxRAHour=12&maxDecDeg=50&maxDecMin=1"}) {
        const ProgramResult drawn = map(query), listed = list(query);
        EXPECT_EQ(starLinks(drawn.output), listLinks(listed.output)) << query;
        EXPECT_EQ(heading(drawn.output), heading(listed.output)) << query;
        EXPECT_FALSE(starLinks(drawn.output).empty()) << query;
    }
}

TEST_F(ProxmapPage, RefusalsAndTheNotFoundPageAreProxlistsOwn)
{
    for (const char* query : {"ID=150", "ID=abc", "ly=1.99", "ly=", "minLY=15.5", "minRAHour=24", "minRASec=60",
                              "minRAHour=6&maxRAHour=5", "maxDecDeg=90", "minDecSec=60", "minDecDeg=10&maxDecDeg=5",
                              "ID=600", "ID=700", "ID=150&Turn=999"}) {
        const ProgramResult drawn = map(query), listed = list(query);
        EXPECT_EQ(drawn.output, listed.output) << query;
        EXPECT_EQ(drawn.status, listed.status) << query;
    }
    const ProgramResult missing = map(nullptr);
    EXPECT_EQ(missing.output, list(nullptr).output);
    EXPECT_EQ(missing.status, 255);
}

TEST_F(ProxmapPage, BadViewsGetPlainTextMessages)
{
    const struct {
        const char* query;
        const char* message;
    } cases[] = {{"Turn=400", "Turn must be a number of degrees between -360 and 360.\n"},
                 {"ID=100&Tilt=91", "Tilt must be a number of degrees between 0 and 90.\n"},
                 {"Tilt=<b>", "Tilt must be a number of degrees between 0 and 90.\n"}};
    for (const auto& c : cases) {
        const ProgramResult r = map(c.query);
        EXPECT_EQ(r.output, std::string(kPlainTextHeader) + c.message) << c.query;
        EXPECT_EQ(r.status, 255) << c.query;
    }
}

TEST_F(ProxmapPage, ViewLinksRepeatTheSearchEscaped)
{
    const std::string page = map("ID=100&ly=15&Name=%3Cx%3E+%22&Tilt=90").output;
    EXPECT_NE(page.find("<A HREF=\"proxmap.exe?ID=100&amp;ly=15&amp;Name=%3Cx%3E+%22&amp;Turn=0&amp;Tilt=90\">"),
              std::string::npos);
    EXPECT_NE(page.find("<A HREF=\"proxlist.exe?ID=100&amp;ly=15&amp;Name=%3Cx%3E+%22\">"), std::string::npos);
    EXPECT_EQ(page.find("Tilt up"), std::string::npos);  // already seen from galactic north
    EXPECT_NE(page.find("Tilt=60\">Tilt down</A>"), std::string::npos);
}

// Systems 100 * k at k light-years (k = 1 .. count) at 0h +0, in a scrambled order.
std::string systemsOnALine(int count)
{
    constexpr int kPrime = 251;
    std::string sql;
    for (int step = 1; step < kPrime; ++step) {
        const int k = step * 97 % kPrime;
        if (k <= count)
            sql += "INSERT INTO Positions (OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance) "
                   "VALUES (" + std::to_string(k * 100) + ", 0, 0, 0, 0, 0, 0, " + std::to_string(k) + ");\n";
    }
    return sql;
}

TEST(ProxmapCap, OfMoreThanAHundredTheNearestHundredAreDrawnInTheListsOrder)
{
    const TestDatabase db({systemsOnALine(250)});
    const ProgramResult drawn = db.run("proxmap", "ly=300"), listed = db.run("proxlist", "ly=300");
    EXPECT_NE(drawn.output.find("<P>250 stars were found.&nbsp; Only the nearest 100 are drawn.</P>"),
              std::string::npos);
    const std::vector<std::string> ids = starLinks(drawn.output);
    ASSERT_EQ(ids.size(), 100u);
    EXPECT_EQ(ids.front(), "100");
    EXPECT_EQ(ids.back(), "10000");
    EXPECT_EQ(ids, listLinks(listed.output));
    EXPECT_EQ(drawn.status, 0);
}

}  // namespace
