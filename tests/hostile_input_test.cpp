// Hostile query strings against both programs and every parameter: quotes,
// NUL bytes, escapes, ODBC escape braces, SQL comment and terminator
// sequences, LIKE wildcards, bytes 0x80-0xFF, signs, exponents, nan and inf
// texts, huge digit strings and values of a megabyte. Every answer must be
// one complete response with its own exit status, print no number as nan
// or inf, and leave the database folder exactly as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folder_snapshot.h"
#include "query_string.h"
#include "response_check.h"
#include "test_database.h"

using namespace vldr::test;

namespace {

// One hostile value: its class, the text sent in the query string, and the
// text the programs decode it to (what a page repeats).
struct HostileValue {
    const char* kind;
    std::string raw;
    std::string decoded;
    bool validId = false;       // read as ID it names system 100
    bool matchesNames = false;  // as a name search it matches the names of several systems
};

// The longest value the environment can carry to a CGI program: the kernel
// refuses to start a program with one variable of 128 KiB or more, so a web
// server cannot pass a megabyte either.
constexpr std::size_t kLongestEnvironmentValue = 130000;

const std::vector<HostileValue>& hostileValues()
{
    static const std::vector<HostileValue> values = {
        {"quote", "'", "''"},
        {"quote", "%27", "''"},
        {"quote", "x'y''z", "x''y''''z"},
        {"quote", "%22qq%22", "\"qq\""},
        {"quote", "'+OR+'1'='1", "'' OR ''1''=''1"},
        {"NUL byte", "%00", ""},
        {"NUL byte", "zq%00Sol", "zq"},
        {"NUL byte", "%00%27", ""},
        {"escape", "%4", "\x04"},
        {"escape", "%zz", "%zz"},
        {"escape", "%2B%2A%25zq", "+*%zq"},
        {"escape", "%F", "\x0F"},
        {"escape", "zq%5Cx", "zq\\x"},
        {"ODBC brace", "{fn+USER()}", "{fn USER()}"},
        {"ODBC brace", "{d+'2001-01-01'}", "{d ''2001-01-01''}"},
        {"ODBC brace", "{oj+Systems}", "{oj Systems}"},
        {"ODBC brace", "{call+zq}", "{call zq}"},
        {"ODBC brace", "%7Bescape+'%5C'%7D", "{escape ''\\''}"},
        {"ODBC brace", "}", "}"},
        {"SQL comment", "--", "--"},
        {"SQL comment", "zq/*", "zq/\xB0"},
        {"SQL comment", "zq%2F%2A", "zq/*"},
        {"SQL comment", "%2A%2F", "*/"},
        {"SQL terminator", ";", ";"},
        {"SQL terminator", "zq';DROP+TABLE+Systems;--", "zq'';DROP TABLE Systems;--"},
        {"SQL terminator", "zq%3B+DELETE+FROM+Systems", "zq; DELETE FROM Systems"},
        {"LIKE wildcard", "%25", "%", false, true},
        {"LIKE wildcard", "_", "_", false, true},
        {"LIKE wildcard", "%", "%", false, true},
        {"LIKE wildcard", "zq%5F", "zq_"},
        {"LIKE wildcard", "[a-z]", "[a-z]"},
        {"high byte", "\x80\xFF\xE9", "\x80\xFF\xE9"},
        {"high byte", "%80%FF%E9%A0", "\x80\xFF\xE9\xA0"},
        {"high byte", "%C3%A9t%C3%A9", "\xC3\xA9t\xC3\xA9"},
        {"sign", "-", "-"},
        {"sign", "-100", "-100"},
        {"sign", "%2B100", "+100", true},
        {"sign", "+100", " 100", true},
        {"sign", "+-100", " -100"},
        {"sign", "--100", "--100"},
        {"exponent", "1e2", "1e2"},
        {"exponent", "1E%2B2", "1E+2"},
        {"exponent", "1e999", "1e999"},
        {"exponent", "-1e-999", "-1e-999"},
        {"exponent", "0x64", "0x64"},
        {"non-finite text", "nan", "nan"},
        {"non-finite text", "NaN", "NaN"},
        {"non-finite text", "inf", "inf"},
        {"non-finite text", "-inf", "-inf"},
        {"non-finite text", "%2Binfinity", "+infinity"},
        {"non-finite text", "nan(0x1)", "nan(0x1)"},
        {"huge digits", std::string(300, '9'), std::string(300, '9')},
        {"huge digits", "-" + std::string(300, '9'), "-" + std::string(300, '9')},
        {"huge digits", "1" + std::string(300, '0'), "1" + std::string(300, '0')},
        {"huge digits", std::string(300, '0') + "100", std::string(300, '0') + "100", true},
        {"long value", std::string(511, 'q'), std::string(511, 'q')},
        {"long value", std::string(511, '\''), std::string(1022, '\'')},
        {"long value", std::string(512, 'q'), ""},
        {"128 KiB value", std::string(kLongestEnvironmentValue, 'q'), ""},
        {"128 KiB value", std::string(kLongestEnvironmentValue, '\''), ""},
        {"128 KiB value", std::string(kLongestEnvironmentValue / 3, '%') + "27", ""},
    };
    return values;
}

// True when the raw value is too long to be read: the pair is dropped and
// parsing ends, as if the parameter were not there.
bool isDropped(const HostileValue& value)
{
    return value.raw.size() > 511;
}

class HostileInput : public SharedDatabaseSuite<HostileInput> {
public:
    static constexpr const char* kFixture = "hostile.sql";

protected:
    // Runs program with query and checks what holds for every answer:
    // complete, with its own exit status, no nan or inf outside the echoed
    // value, and the folder of the database unchanged. Returns the result.
    static ProgramResult check(const std::string& program, const std::string& query, const HostileValue& value)
    {
        const FolderSnapshot before = snapshotFolder(db_->directory());
        const ProgramResult r = db_->run(program, query.c_str());
        const std::string where = program + " " + value.kind + " " + query.substr(0, 200);
        EXPECT_EQ(responseFault(program, r), "") << where << "\n" << r.output.substr(0, 2000);
        EXPECT_EQ(nonFiniteText(r.output, {htmlEscaped(value.decoded), value.decoded}), "") << where;
        EXPECT_EQ(describeChanges(before, snapshotFolder(db_->directory())), "") << where;
        return r;
    }
};

const std::string kInvalidQuery = std::string(kPlainTextHeader) +
                                  "Invalid query string.  Must contain one of the following sets of clauses:\n"
                                  "\"ID=\"\n\"Name=\"\n\"Catalog=\" and \"CatNo=\"\n";

std::string noMatchPage(const std::string& decoded)
{
    return htmlHead("<TITLE>VLDR search results</TITLE>") + "No star name matching \"" + htmlEscaped(decoded) +
           "\" found.\n</BODY>\n</HTML>\n";
}

TEST_F(HostileInput, SysviewIdIsAValidIdOrTheInvalidIdMessage)
{
    const std::string invalid =
        std::string(kPlainTextHeader) + "Invalid \"ID=\" clause.  ID must be a positive multiple of 100.\n";
    for (const HostileValue& value : hostileValues()) {
        const ProgramResult r = check("sysview", "ID=" + value.raw, value);
        if (isDropped(value)) EXPECT_EQ(r.output, kInvalidQuery) << value.kind;
        else if (value.validId) EXPECT_EQ(classifyResponse(r.output), ResponseKind::ReportPage) << value.raw;
        else EXPECT_EQ(r.output, invalid) << value.kind << " " << value.raw.substr(0, 100);
    }
}

TEST_F(HostileInput, SysviewNameMatchesOnlyWhatItSaysAndIsRepeatedEscaped)
{
    for (const HostileValue& value : hostileValues()) {
        const ProgramResult r = check("sysview", "Name=" + value.raw, value);
        const std::string where = std::string(value.kind) + " " + value.raw.substr(0, 100);
        if (isDropped(value)) EXPECT_EQ(r.output, kInvalidQuery) << where;
        else if (value.decoded.empty())
            EXPECT_EQ(r.output, std::string(kPlainTextHeader) + "Please enter one or more search criteria.\n") << where;
        else if (value.matchesNames) EXPECT_EQ(classifyResponse(r.output), ResponseKind::MatchList) << where;
        else if (value.decoded == "''")
            // A quote alone matches the one name that holds a quote.
            EXPECT_EQ(classifyResponse(r.output), ResponseKind::ReportPage) << where;
        else EXPECT_EQ(r.output, noMatchPage(value.decoded)) << where;
    }
}

TEST_F(HostileInput, SysviewCatalogueDesignationMatchesNothingHostile)
{
    for (const HostileValue& value : hostileValues()) {
        for (const std::string& query : {"Catalog=" + value.raw + "&CatNo=699", "Catalog=GJ&CatNo=" + value.raw}) {
            const ProgramResult r = check("sysview", query, value);
            const std::string where = std::string(value.kind) + " " + query.substr(0, 100);
            if (isDropped(value)) EXPECT_EQ(r.output, kInvalidQuery) << where;
            else EXPECT_EQ(classifyResponse(r.output), ResponseKind::NoMatchPage) << where << "\n" << r.output;
        }
    }
}

TEST_F(HostileInput, ProxlistIdIsAValidIdOrTheInvalidIdMessage)
{
    const std::string invalid = std::string(kPlainTextHeader) +
                                "Invalid \"ID=###\" clause.  Must be a multiple of 100 greater than 0.\n";
    for (const HostileValue& value : hostileValues()) {
        const ProgramResult r = check("proxlist", "ID=" + value.raw, value);
        const std::string where = std::string(value.kind) + " " + value.raw.substr(0, 100);
        // An empty or dropped ID leaves the search around the point (0, 0, 0).
        if (value.validId || value.decoded.empty()) EXPECT_EQ(classifyResponse(r.output), ResponseKind::NeighbourPage) << where;
        else EXPECT_EQ(r.output, invalid) << where;
    }
}

// The parameters of proxlist other than ID, each with the clauses that make
// the program read it (Y only after X, Z only after Y).
struct ProxlistParameter {
    const char* name;
    const char* before;
};
const ProxlistParameter kProxlistParameters[] = {
    {"X", ""},          {"Y", "X=1&"},        {"Z", "X=1&Y=1&"},    {"ly", ""},
    {"minLY", ""},      {"minRAHour", ""},    {"minRAMin", ""},     {"minRASec", ""},
    {"maxRAHour", ""},  {"maxRAMin", ""},     {"maxRASec", ""},     {"minDecDeg", ""},
    {"minDecMin", ""},  {"minDecSec", ""},    {"maxDecDeg", ""},    {"maxDecMin", ""},
    {"maxDecSec", ""},
};

// The values that read differently as numbers: every value of the numeric
// classes, and the first of each other class (all others read as 0 alike).
std::vector<HostileValue> numericValues()
{
    std::vector<HostileValue> chosen;
    const std::string numeric = "sign exponent non-finite text huge digits 128 KiB value";
    for (const HostileValue& value : hostileValues()) {
        const bool firstOfKind = chosen.empty() || std::string(chosen.back().kind) != value.kind;
        if (numeric.find(value.kind) != std::string::npos || firstOfKind) chosen.push_back(value);
    }
    return chosen;
}

TEST_F(HostileInput, ProxlistNumbersGiveAPageOrAValidationMessage)
{
    const std::vector<HostileValue> values = numericValues();
    for (const ProxlistParameter& parameter : kProxlistParameters) {
        for (const HostileValue& value : values) {
            const std::string query = std::string(parameter.before) + parameter.name + "=" + value.raw;
            const ProgramResult r = check("proxlist", query, value);
            const ResponseKind kind = classifyResponse(r.output);
            const std::string where = std::string(parameter.name) + " " + value.kind + " " + value.raw.substr(0, 100);
            // Coordinates are never refused; the rest are either accepted or refused with a message.
            if (parameter.name[0] == 'X' || parameter.name[0] == 'Y' || parameter.name[0] == 'Z' || isDropped(value))
                EXPECT_EQ(kind, ResponseKind::NeighbourPage) << where;
            else EXPECT_TRUE(kind == ResponseKind::NeighbourPage || kind == ResponseKind::PlainText) << where;
        }
    }
}

TEST_F(HostileInput, ProxlistDefaultsHoldForTheWholeMatrixAtOnce)
{
    // Every parameter hostile in one request: the first faulty one decides.
    for (const HostileValue& value : hostileValues()) {
        if (isDropped(value)) continue;
        std::string query;
        for (const ProxlistParameter& parameter : kProxlistParameters)
            query += std::string(parameter.name) + "=" + value.raw + "&";
        check("proxlist", query, value);
    }
}

TEST(HostileQueryText, MegabyteValuesEndTheParseWithoutAPair)
{
    // A megabyte cannot reach a CGI program through its environment; the
    // parser must still stop at such a value, whatever it holds.
    for (const char fill : {'q', '\'', '%', '+'}) {
        const std::string text = "ID=100&Name=" + std::string(1 << 20, fill) + "&CatNo=1";
        const vldr::QueryString query = vldr::parseQueryString(text);
        EXPECT_EQ(query.pairs.size(), 1u) << fill;
        EXPECT_STREQ(vldr::getQueryValue(query, "ID"), "100");
        EXPECT_EQ(vldr::getQueryValue(query, "Name"), nullptr);
        EXPECT_EQ(vldr::getQueryValue(query, "CatNo"), nullptr);
    }
}

// Injection through the search text that Catalog and CatNo are cut into.
class Injection : public HostileInput {};

TEST_F(Injection, CatalogueCutThatSplitsADoubledQuoteMatchesNothing)
{
    // Regression: a cut that split a doubled quote let CatNo run as SQL and list every system.
    const HostileValue value{"injection", "", ""};
    EXPECT_EQ(classifyResponse(check("sysview", "Catalog=123456789'&CatNo=OR+1--", value).output),
              ResponseKind::NoMatchPage);
}

TEST_F(Injection, InjectedUnionGivesACompleteNoMatchPage)
{
    // Regression: an injected UNION that named no valid system gave an empty response.
    const HostileValue value{"injection", "", ""};
    EXPECT_EQ(classifyResponse(check("sysview", "Catalog=xxxxxxxxx'&CatNo=UNION+VALUES(1,1)--", value).output),
              ResponseKind::NoMatchPage);
}

TEST_F(Injection, InjectedExpensiveExpressionIsNeverRun)
{
    // Regression: CatNo=OR+randomblob(1e8)-- ran as SQL and took half a minute.
    const HostileValue value{"injection", "", ""};
    for (const char* query : {"Catalog=123456789'&CatNo=OR+randomblob(1e8)--",
                              "Catalog=xxxxxxxxx'&CatNo=OR+randomblob(1e8)--"}) {
        const ProgramResult r = check("sysview", query, value);
        EXPECT_FALSE(r.killed) << query;
        EXPECT_EQ(classifyResponse(r.output), ResponseKind::NoMatchPage) << query;
    }
}

TEST_F(Injection, AQuoteAtEveryCutPositionMatchesNothing)
{
    // Whatever the place of a quote relative to the cuts (10 characters of
    // Catalog, 20 of CatNo), the text after it is never SQL.
    const HostileValue value{"injection", "", ""};
    for (std::size_t at = 0; at <= 12; ++at) {
        const std::string catalog = std::string(at, 'x') + "'";
        const ProgramResult r = check("sysview", "Catalog=" + catalog + "&CatNo=OR+1=1--", value);
        EXPECT_EQ(classifyResponse(r.output), ResponseKind::NoMatchPage) << catalog;
    }
    for (std::size_t at = 0; at <= 22; ++at) {
        const std::string number = std::string(at, 'x') + "'+OR+1=1--";
        const ProgramResult r = check("sysview", "Catalog=GJ&CatNo=" + number, value);
        EXPECT_EQ(classifyResponse(r.output), ResponseKind::NoMatchPage) << number;
    }
    for (const char* name : {"'+OR+1=1--", "%27)+OR+1=1--", "x'+UNION+SELECT+ID,'y'+FROM+Systems--"}) {
        const ProgramResult r = check("sysview", std::string("Name=") + name, value);
        EXPECT_EQ(classifyResponse(r.output), ResponseKind::NoMatchPage) << name;
    }
}

}  // namespace
