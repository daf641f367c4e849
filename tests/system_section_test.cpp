// The top of the report page through the real program and ODBC stack:
// title, short search form, proper names, catalogue numbers, age, heavy
// elements, arity, points of interest, and the newest date at the foot.
#include <gtest/gtest.h>

#include "test_database.h"

using namespace vldr::test;

namespace {

const std::string kFieldsLink = "<P><A HREF=\"/fields.html\">";

// The page's lines from "<BODY>\n" up to the fields link.
std::string top(const ProgramResult& r)
{
    const std::size_t start = r.output.find("<BODY>\n") + 7;
    return r.output.substr(start, r.output.find(kFieldsLink) - start);
}

// The date line at the foot of a report page.
std::string dateLine(const std::string& date)
{
    return "Data for this star system were most recently updated on " + date + ".\n";
}

class SystemSection : public SharedDatabaseSuite<SystemSection> {
public:
    static constexpr const char* kFixture = "report_system.sql";

protected:
    static ProgramResult run(int id) { return db_->run("sysview", ("ID=" + std::to_string(id)).c_str()); }
};

TEST_F(SystemSection, FullSystemRoundsAbundanceAndTruncatesTheRest)
{
    const ProgramResult r = run(100);
    EXPECT_EQ(top(r), "<CENTER><H1>Alpha Centauri</H1></CENTER>\n" + reportRadiusForm(100) +
                          "<B>Proper names:</B> Alpha Centauri, Rigil Kentaurus, Toliman\n"
                          "<BR><B>Catalog numbers:</B>\n"
                          "<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;Henry Draper Catalogue (HD) 128620, ZZ X-1, GJ 559\n"
                          "<BR><B>Age:</B> 4600 million years &mdash; from <I>models</I>\n"
                          "<BR><B>Standard error in age:</B> 15%\n"
                          "<BR><B>Source for age:</B> Henry Draper Catalogue\n"
                          "<BR><B>Heavy element abundance:</B> 76% of Sol (approx.)\n"
                          "<BR><B>Standard error in heavy element abundance:</B> 9%\n"
                          "<BR><B>Source for heavy element abundance:</B> GJ\n"
                          "<BR><B>Arity:</B> trinary\n"
                          "<BR><B>Points of interest:</B>\n"
                          "<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;Closest <B>star</B>\n<BR>\n");
    // The newest date is a component's Magnitudes row, not the Systems row.
    EXPECT_NE(r.output.find(dateLine("12-November-2010")), std::string::npos);
}

TEST_F(SystemSection, EmptySystemHasNoTitleAndAnEmptyArity)
{
    const ProgramResult r = run(200);
    EXPECT_EQ(top(r), reportRadiusForm(200) + "<BR><B>Arity:</B> \n");
    // The NULL LastUpdated of the Systems row takes no part.
    EXPECT_NE(r.output.find(dateLine("1-January-1900")), std::string::npos);
}

TEST_F(SystemSection, CommentsStandAloneAndArityCommentReplacesTheWord)
{
    EXPECT_EQ(top(run(300)), reportRadiusForm(300) +
                                 "<BR><B>Age:</B> unknown\n"
                                 "<BR><B>Heavy element abundance:</B> metal-poor\n"
                                 "<BR><B>Arity:</B> a <I>wide</I> pair\n");
}

TEST_F(SystemSection, NumbersBeyondTheIntRangeAreLeftOutNotConverted)
{
    // Regression: an age or percentage too large for an int must not be cast (undefined behaviour).
    EXPECT_EQ(top(run(400)), reportRadiusForm(400) + "<BR><B>Arity:</B> \n");
}

TEST_F(SystemSection, StoredTextIsWrittenAsStoredWindows1252BytesMarkupAndAll)
{
    // Database text is the page's own markup: "&", "<" and quotes reach the
    // page unescaped, and windows-1252 bytes unchanged.
    const ProgramResult r = run(500);
    EXPECT_EQ(top(r), "<CENTER><H1>Van Maanen's Star</H1></CENTER>\n" + reportRadiusForm(500) +
                          "<B>Proper names:</B> Van Maanen's Star, \xC9toile de Van Maanen, Van Maanens stj\xE4rna\n"
                          "<BR><B>Catalog numbers:</B>\n"
                          "<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;Catalogue of Nearby Stars < 25 pc (Gliese & Jahrei\xDF) "
                          "(CNS3) 35, Bonner Durchmusterung (BD) +04\xB0" "123\n"
                          "<BR><B>Age:</B> 3000 million years &mdash; cooling age \xB1 500 Myr\n"
                          "<BR><B>Source for age:</B> Astronomy & Astrophysics\n"
                          "<BR><B>Heavy element abundance:</B> 50% of Sol (\xB1" "0.2 dex)\n"
                          "<BR><B>Source for heavy element abundance:</B> A&AS\n"
                          "<BR><B>Arity:</B> a \"degenerate\" single star\n"
                          "<BR><B>Points of interest:</B>\n"
                          "<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;The nearest lone white dwarf: <I>van Maanen\x92s</I> "
                          "metals are < 1% of Sol's\n<BR>\n");
    EXPECT_EQ(r.status, 0);
}

TEST(SystemSectionArity, WordForEachComponentCount)
{
    const char* words[] = {"singular",    "binary",       "trinary",      "quarternary (!)", "quinary (!)",
                           "hexary (!!)", "heptary (!!)", "octary (!!!)", "nonary (!!!)"};
    std::string sql;
    for (int n = 1; n <= 9; ++n) {
        sql += "INSERT INTO Systems (ID) VALUES (" + std::to_string(n * 100) + ");\n";
        for (int c = 1; c <= n; ++c)
            sql += "INSERT INTO Components (ID, Name) VALUES (" + std::to_string(n * 100 + c) + ", 'X');\n";
    }
    const TestDatabase db({sql});
    for (int n = 1; n <= 9; ++n) {
        const ProgramResult r = db.run("sysview", ("ID=" + std::to_string(n * 100)).c_str());
        EXPECT_EQ(top(r), reportRadiusForm(n * 100) + "<BR><B>Arity:</B> " + words[n - 1] + "\n") << n;
    }
}

}  // namespace
