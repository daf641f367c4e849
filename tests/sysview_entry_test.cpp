// sysview's answers before the report: request validation, the session,
// resolution by ID, by name and by catalogue designation, and the match list.
#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kSearchHead = htmlHead("<TITLE>VLDR search results</TITLE>");

// True when output is a report page of system id.
bool isReportOf(const ProgramResult& result, int id)
{
    return result.status == 0 && result.output.rfind(kSearchHead, 0) == 0 &&
           result.output.find("<INPUT TYPE=\"Hidden\" NAME=\"ID\" VALUE=\"" + std::to_string(id) + "\">") !=
               std::string::npos &&
           result.output.ends_with("</BODY>\n</HTML>\n");
}

class SysviewEntry : public SharedDatabaseSuite<SysviewEntry> {
public:
    static constexpr const char* kFixture = "sysview_entry.sql";

protected:
    static ProgramResult run(const char* query) { return db_->run("sysview", query); }
};

TEST_F(SysviewEntry, MissingQueryStringIsAPlainTextError)
{
    const ProgramResult r = run(nullptr);
    EXPECT_EQ(r.output, std::string(kPlainTextHeader) + "This CGI program requires a query string.  None was found.\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(SysviewEntry, InvalidIdsAreRejectedBeforeAnyOtherClause)
{
    const std::string message =
        std::string(kPlainTextHeader) + "Invalid \"ID=\" clause.  ID must be a positive multiple of 100.\n";
    for (const char* query : {"ID=0", "ID=-100", "ID=150", "ID=", "ID=abc", "ID=150&Name=Alpha",
                              // digits beyond the 32-bit range must not wrap around to a valid ID
                              "ID=4294967396", "ID=99999999999999999999900"}) {
        const ProgramResult r = run(query);
        EXPECT_EQ(r.output, message) << query;
        EXPECT_EQ(r.status, 255) << query;
    }
}

TEST_F(SysviewEntry, EmptyNameAndMissingClausesAreReported)
{
    ProgramResult r = run("Name=");
    EXPECT_EQ(r.output, std::string(kPlainTextHeader) + "Please enter one or more search criteria.\n");
    EXPECT_EQ(r.status, 255);

    const std::string invalid = std::string(kPlainTextHeader) +
                                "Invalid query string.  Must contain one of the following sets of clauses:\n"
                                "\"ID=\"\n\"Name=\"\n\"Catalog=\" and \"CatNo=\"\n";
    for (const char* query : {"", "Catalog=HD", "CatNo=10", "id=100", "Foo=bar"}) {
        r = run(query);
        EXPECT_EQ(r.output, invalid) << query;
        EXPECT_EQ(r.status, 255) << query;
    }
}

TEST_F(SysviewEntry, UnknownIdGivesTheNoSuchIdPage)
{
    const ProgramResult r = run("ID=9900");
    EXPECT_EQ(r.output, htmlHead("<TITLE>VLDR system ID lookup search results</TITLE>") +
                            "No star system with an ID of 9900 exists in the database.\n</BODY>\n</HTML>\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(SysviewEntry, IdFollowedByLettersIsAcceptedAsItsDigits)
{
    EXPECT_TRUE(isReportOf(run("ID=100abc"), 100));
    EXPECT_TRUE(isReportOf(run("ID=100&ID=200"), 100));
}

TEST_F(SysviewEntry, NoMatchPageEscapesTheSearchTextAndKeepsDoubledQuotes)
{
    const ProgramResult r = run("Name=%3Cb%3E%26%22O'Neil");
    EXPECT_EQ(r.output, kSearchHead + "No star name matching \"&lt;b&gt;&amp;&quot;O''Neil\" found.\n</BODY>\n</HTML>\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(SysviewEntry, NameWithoutSpaceThatMatchesNothingMakesNoCatalogueQuery)
{
    const ProgramResult r = run("Name=HD");
    EXPECT_EQ(r.output, kSearchHead + "No star name matching \"HD\" found.\n</BODY>\n</HTML>\n");
}

TEST_F(SysviewEntry, MatchListShowsDisplayNamesWhereTheyDiffer)
{
    const ProgramResult r = run("Name=Cen");
    EXPECT_EQ(r.output, kSearchHead +
                            "<CENTER><H3>2 stars found with a name matching &quot;Cen&quot;:</H3></CENTER>\n"
                            "<BR><A HREF=\"sysview.exe?ID=100\">Alpha Centauri</A>\n"
                            "<BR><A HREF=\"sysview.exe?ID=300\">Proxima Centauri (Henry Draper Catalogue 12345)</A>\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(SysviewEntry, TwoComponentNamesOfOneSystemResolveToThatSystem)
{
    const ProgramResult r = run("Name=Rigil");
    EXPECT_TRUE(isReportOf(r, 100)) << r.output;
}

TEST_F(SysviewEntry, SingleMatchGivesTheReportFrame)
{
    const ProgramResult r = run("Name=Sol");
    EXPECT_TRUE(isReportOf(r, 200)) << r.output;
    EXPECT_TRUE(r.output.ends_with(reportFoot(200, "7-March-2004"))) << r.output;
}

TEST_F(SysviewEntry, CatalogueDesignationFallsBackToCatalogNumbers)
{
    EXPECT_TRUE(isReportOf(run("Catalog=HD&CatNo=12345"), 300));
    EXPECT_TRUE(isReportOf(run("Name=HD+12345"), 300));
    // The name decides over Catalog and CatNo.
    EXPECT_TRUE(isReportOf(run("Name=Sol&Catalog=HD&CatNo=12345"), 200));
    // The abbreviation is cut to 10 characters and the number to 20.
    EXPECT_TRUE(isReportOf(run("Catalog=LongCatalogXY&CatNo=123456789012345678901234"), 400));
}

TEST_F(SysviewEntry, ReportOfASystemWithoutDataIsStillComplete)
{
    const ProgramResult r = run("ID=500");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.output.ends_with(reportFoot(500, "1-January-1900"))) << r.output;
    EXPECT_NE(r.output.find("<P><A HREF=\"/fields.html\">What do all these fields mean?</A><BR>\n"), std::string::npos);
}

TEST_F(SysviewEntry, CatalogueCutNeverLeavesALoneQuoteThatLetsCatNoRunAsSql)
{
    // Cutting "123456789''" to 10 characters split the doubled quote, and the
    // CatNo text then ran as SQL: "OR 1--" listed every system.
    ProgramResult r = run("Catalog=123456789'&CatNo=OR+1--");
    EXPECT_EQ(r.output, kSearchHead + "No star name matching \"123456789 OR 1--\" found.\n</BODY>\n</HTML>\n");
    EXPECT_EQ(r.status, 255);
    r = run("Catalog=xxxxxxxxx%27&CatNo=UNION+VALUES(1,1)--");
    EXPECT_EQ(r.output,
              kSearchHead + "No star name matching \"xxxxxxxxx UNION VALUES(1,1)--\" found.\n</BODY>\n</HTML>\n");
    r = run("Catalog=HD&CatNo=1234567890123456789'+OR+randomblob(1e8)--");
    EXPECT_EQ(r.output, kSearchHead + "No star name matching \"HD 1234567890123456789\" found.\n</BODY>\n</HTML>\n");
    // A doubled quote that fits whole is kept whole.
    r = run("Catalog=12345678'&CatNo=x");
    EXPECT_EQ(r.output, kSearchHead + "No star name matching \"12345678'' x\" found.\n</BODY>\n</HTML>\n");
}

// Names with windows-1252 letters, quotes and "&" (systems 600 to 800): the
// search text reaches the data source byte for byte, and stored names reach
// the page as they are stored.

// True when result is the report page of system id with the given title heading.
bool isTitledReportOf(const ProgramResult& result, int id, const std::string& title)
{
    return isReportOf(result, id) &&
           result.output.starts_with(kSearchHead + "<CENTER><H1>" + title + "</H1></CENTER>\n");
}

TEST_F(SysviewEntry, NameWithAQuoteFindsTheNamesThatHoldOne)
{
    // The quote is doubled in the statement, so it matches the stored apostrophe;
    // "Barnard" alone matches two names of one system.
    for (const char* query : {"Name=Barnard's", "Name=Barnard%27s+Star", "Name=Barnard"})
        EXPECT_TRUE(isTitledReportOf(run(query), 600, "Barnard's Star")) << query;
    // The heading repeats the search text as decoded, its quote doubled.
    const ProgramResult r = run("Name='s+Star");
    EXPECT_EQ(r.output, kSearchHead +
                            "<CENTER><H3>2 stars found with a name matching &quot;''s Star&quot;:</H3></CENTER>\n"
                            "<BR><A HREF=\"sysview.exe?ID=600\">Barnard's Star</A>\n"
                            "<BR><A HREF=\"sysview.exe?ID=700\">Kapteyn's Star (Gliese & Jahrei\xDF 191)</A>\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(SysviewEntry, Windows1252LetterEscapedOrRawFindsTheNamesThatHoldIt)
{
    // The display names differ from the matched names, so both are shown;
    // the catalogue's long name keeps its "&" and its byte DF as stored.
    const std::string list = kSearchHead +
                             "<CENTER><H3>2 stars found with a name matching &quot;\xC9toile&quot;:</H3></CENTER>\n"
                             "<BR><A HREF=\"sysview.exe?ID=600\">\xC9toile de Barnard (Barnard's Star)</A>\n"
                             "<BR><A HREF=\"sysview.exe?ID=700\">\xC9toile de Kapteyn (Gliese & Jahrei\xDF 191)</A>\n";
    for (const char* query : {"Name=%C9toile", "Name=%c9toile", "Name=\xC9toile"}) {
        const ProgramResult r = run(query);
        EXPECT_EQ(r.output, list) << query;
        EXPECT_EQ(r.status, 255) << query;
    }
    EXPECT_TRUE(isTitledReportOf(run("Name=%C9toile+de+K"), 700, "Gliese & Jahrei\xDF 191"));
}

TEST_F(SysviewEntry, NoMatchPageRepeatsWindows1252BytesAsTheyCameAndEscapesMarkup)
{
    const ProgramResult r = run("Name=%C9toile+d%27Or+%26+%AB%3Ci%3E%BB");
    EXPECT_EQ(r.output, kSearchHead + "No star name matching \"\xC9toile d''Or &amp; \xAB&lt;i&gt;\xBB\" found.\n"
                                      "</BODY>\n</HTML>\n");
    EXPECT_EQ(r.status, 255);
}

TEST_F(SysviewEntry, AsteriskForTheDegreeSignFindsADurchmusterungNumber)
{
    // A plus sign in a number is sent escaped (%2B): a plain one is a blank.
    const std::string title = "Bonner Durchmusterung +05\xB0" "1668";
    for (const char* query : {"Catalog=BD&CatNo=%2B05*1668", "Catalog=BD&CatNo=%2B05%B01668", "Name=BD+%2B05*1668"})
        EXPECT_TRUE(isTitledReportOf(run(query), 800, title)) << query;
}

// Fault: SQLite's own LIKE reads text as UTF-8, so every windows-1252 letter
// matched every other one ("\xF6" found "\xC9toile").
TEST_F(SysviewEntry, Windows1252LetterFindsOnlyNamesThatHoldThatLetter)
{
    const std::pair<const char*, const char*> letters[] = {{"%F6", "\xF6"}, {"%E4", "\xE4"}, {"%FC", "\xFC"}};
    for (const auto& [escaped, letter] : letters) {
        const ProgramResult r = run((std::string("Name=") + escaped).c_str());
        EXPECT_EQ(r.output, kSearchHead + "No star name matching \"" + letter + "\" found.\n</BODY>\n</HTML>\n")
            << escaped;
    }
}

TEST_F(SysviewEntry, NameSearchIgnoresTheCaseOfWindows1252LettersAsOfPlainOnes)
{
    // "\xE9" is the small letter of "\xC9"; "_" stands for one byte, that is one letter.
    EXPECT_TRUE(isTitledReportOf(run("Name=%E9TOILE+DE+k"), 700, "Gliese & Jahrei\xDF 191"));
    EXPECT_TRUE(isTitledReportOf(run("Name=_toile+de+K"), 700, "Gliese & Jahrei\xDF 191"));
}

TEST(SysviewForeignDatabase, NameRowsOfNoSystemAreNoMatchInsteadOfAnEmptyResponse)
{
    // A database not built by our schema: names and designations whose OwnerID
    // is below 100 or NULL. One such match used to resolve to "system 0" and
    // end the request with nothing written.
    const TestDatabase db({"DROP TABLE ProperNames; DROP TABLE CatalogNumbers;\n"
                           "CREATE TABLE ProperNames (OwnerID INTEGER, Name TEXT, IsSystemName INTEGER, Yes INTEGER);\n"
                           "CREATE TABLE CatalogNumbers (OwnerID INTEGER, CatAbbrev TEXT, Value TEXT, "
                           "IsSystemName INTEGER, Yes INTEGER);\n"
                           "INSERT INTO ProperNames VALUES (42, 'Nowhere', 1, 1), (NULL, 'Nothing', 1, 1);\n"
                           "INSERT INTO CatalogNumbers VALUES (7, 'GJ', '1', 1, 1);\n"});
    for (const char* query : {"Name=Nowhere", "Name=Nothing", "Name=GJ+1", "Catalog=GJ&CatNo=1"}) {
        const ProgramResult r = db.run("sysview", query);
        EXPECT_TRUE(r.output.starts_with(kSearchHead + "No star name matching \"")) << query << "\n" << r.output;
        EXPECT_TRUE(r.output.ends_with("\" found.\n</BODY>\n</HTML>\n")) << query << "\n" << r.output;
        EXPECT_EQ(r.status, 255) << query;
    }
}

TEST(SysviewMatchList, CountsDistinctSystemsAndShowsTheFirstFifty)
{
    // 60 systems named "Star N", and each of the first 55 has a second,
    // component-level "Star" name: rows of systems already counted must not count again.
    std::string sql;
    for (int i = 1; i <= 60; ++i) {
        sql += "INSERT INTO Systems (ID) VALUES (" + std::to_string(i * 100) + ");\n";
        sql += "INSERT INTO ProperNames (OwnerID, Name, IsSystemName) VALUES (" + std::to_string(i * 100) +
               ", 'Star " + std::to_string(i) + "', 1);\n";
    }
    for (int i = 1; i <= 55; ++i)
        sql += "INSERT INTO ProperNames (OwnerID, Name) VALUES (" + std::to_string(i * 100 + 1) + ", 'Star " +
               std::to_string(i) + " A');\n";
    const TestDatabase db({sql});
    const ProgramResult r = db.run("sysview", "Name=Star");
    EXPECT_EQ(r.status, 255);
    const std::string expectedTop = kSearchHead +
                                    "<CENTER><H3>60 stars found with a name matching &quot;Star&quot;:</H3></CENTER>\n"
                                    "<BR>Only the first 50 matches will be shown.\n<BR>"
                                    "<BR><A HREF=\"sysview.exe?ID=100\">Star 1</A>\n";
    EXPECT_EQ(r.output.substr(0, expectedTop.size()), expectedTop);
    EXPECT_TRUE(r.output.ends_with("<BR><A HREF=\"sysview.exe?ID=5000\">Star 50</A>\n")) << r.output;
    std::size_t links = 0;
    for (std::size_t at = r.output.find("<A HREF"); at != std::string::npos; at = r.output.find("<A HREF", at + 1))
        ++links;
    EXPECT_EQ(links, 50u);
}

TEST(SysviewSession, MissingDataSourceIsAPlainTextError)
{
    const ProgramResult r =
        runProgram("sysview", "ID=100", {"ODBCSYSINI=/nonexistent", "ODBCINI=/nonexistent/odbc.ini"});
    EXPECT_EQ(r.status, 255);
    EXPECT_TRUE(r.output.starts_with(std::string(kPlainTextHeader) + "Internal error: SQLConnect() failed!!\n"
                                                                      "SQLSTATE = 'IM002'\nError message = '"))
        << r.output;
}

TEST(SysviewSession, MissingDatabaseFileIsAFailedConnectionNotANewDatabase)
{
    const TestDatabase db({""});
    db.removeDatabaseFile();
    const ProgramResult r = db.run("sysview", "ID=100");
    EXPECT_EQ(r.status, 255);
    EXPECT_TRUE(r.output.starts_with(std::string(kPlainTextHeader) + "Internal error: SQLConnect() failed!!\n"))
        << r.output;
    EXPECT_FALSE(std::ifstream(db.databasePath()).good());
}

}  // namespace

// Regression: a stored proper name of empty text gave "System <ID>" (and an
// empty title on the report) instead of the system's catalogue designation.
TEST(EmptyProperName, CountsAsNoNameSoTheDesignationIsUsed)
{
    const TestDatabase db({
        "INSERT INTO CatalogNames (Abbreviation, LongName) VALUES ('GJ', 'Gliese');"
        "INSERT INTO Systems (ID) VALUES (100), (200), (300);"
        "INSERT INTO Positions (OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance)"
        "    VALUES (100, 0, 0, 0, 0, 0, 0, 5), (200, 0, 0, 0, 0, 0, 0, 10), (300, 0, 0, 0, 0, 0, 0, 7);"
        "INSERT INTO ProperNames (OwnerID, Name, IsSystemName) VALUES (100, '', 1), (200, '', 1);"
        "INSERT INTO CatalogNumbers (OwnerID, CatAbbrev, Value, IsSystemName) VALUES (100, 'GJ', '1', 1);",
    });
    const ProgramResult report = db.run("sysview", "ID=100");
    EXPECT_NE(report.output.find("<CENTER><H1>Gliese 1</H1></CENTER>\n"), std::string::npos) << report.output;
    const ProgramResult unnamed = db.run("sysview", "ID=200");
    EXPECT_EQ(unnamed.output.find("<H1>"), std::string::npos) << unnamed.output;
    const ProgramResult list = db.run("proxlist", "ID=300&ly=20");
    EXPECT_NE(list.output.find("<BR><A HREF=\"sysview.exe?ID=100\">Gliese 1</A>: 2 light-years\n"), std::string::npos)
        << list.output;
    EXPECT_NE(list.output.find("<BR><A HREF=\"sysview.exe?ID=200\">System 200</A>: 3 light-years\n"),
              std::string::npos)
        << list.output;
}
