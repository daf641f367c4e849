// The isql sessions README.md shows, run through unixODBC's isql against
// the VLDR driver: every "SQL>" query there must answer with its rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "test_database.h"

using namespace vldr::test;

namespace {

// The systems, orbits and planets the README's queries look for.
const char* kReadmeData =
    "INSERT INTO Systems (ID) VALUES (7145700), (7066700);"
    "INSERT INTO Components (ID, Name) VALUES (7145701, 'A'), (7145702, 'B'), (7066701, NULL);"
    "INSERT INTO ProperNames (OwnerID, Name, IsSystemName) VALUES (7145700, 'Alpha Centauri', 1),"
    " (7066700, 'Proxima Centauri', 1), (7066701, 'Proxima', 0);"
    "INSERT INTO Orbits (ID, PrimaryID, SecondaryID, Period, SemimajorAxis, Eccentricity)"
    " VALUES (7145711, 7145701, 7145702, 79.91, 17.57, 0.5179);"
    "INSERT INTO Planets (ID, Name, Mass, IsMassAMinimum) VALUES (7066751, 'Proxima b', 0.0034, 1),"
    " (7066752, 'Proxima d', 0.00082, 1);";

// What isql -b -d'|' prints for each README query against kReadmeData.
const std::map<std::string, std::string> kExpectedRows = {
    {"SELECT OwnerID, Name FROM ProperNames WHERE Name LIKE '%Centauri%'",
     "7145700|Alpha Centauri\n7066700|Proxima Centauri\n"},
    {"SELECT ID, PrimaryID, SecondaryID, Period, SemimajorAxis, Eccentricity FROM Orbits WHERE INT(ID/100) = 71457",
     "7145711|7145701|7145702|79.91|17.57|0.5179\n"},
    {"SELECT Name, Mass, IsMassAMinimum FROM Planets WHERE Name LIKE 'Proxima%'",
     "Proxima b|0.0034|1\nProxima d|0.00082|1\n"},
};

// The queries of the README's isql session (the lines "    SQL> ...").
std::vector<std::string> readmeQueries()
{
    std::ifstream readme(std::string(VLDR_SOURCE_DIR) + "/README.md");
    std::vector<std::string> queries;
    const std::string prompt = "    SQL> ";
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind(prompt, 0) == 0) queries.push_back(line.substr(prompt.size()));
    }
    return queries;
}

// Runs isql on the test data source with text on its standard input;
// what it printed (standard error included) and its exit status.
ProgramResult runIsql(const TestDatabase& db, const std::string& text)
{
    const std::string input = db.configDirectory() + "/input.sql";
    std::ofstream(input) << text << "\n";
    const std::string command = std::string(VLDR_ISQL_ENVIRONMENT) + " ODBCSYSINI='" + db.configDirectory() +
                                "' ODBCINI='" + db.configDirectory() + "/odbc.ini' isql VLDR -b -v '-d|' < '" + input +
                                "' 2>&1";
    ProgramResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        result.output = "popen failed";
        result.status = -1;
        return result;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    result.status = pclose(pipe);
    return result;
}

TEST(IsqlReadme, EveryQueryOfTheReadmeAnswersWithItsRows)
{
    const std::vector<std::string> queries = readmeQueries();
    ASSERT_FALSE(queries.empty());
    const TestDatabase db({kReadmeData});
    for (const std::string& query : queries) {
        const ProgramResult r = runIsql(db, query);
        EXPECT_EQ(r.status, 0) << query << "\n" << r.output;
        const auto expected = kExpectedRows.find(query);
        if (expected != kExpectedRows.end()) {
            EXPECT_EQ(r.output, expected->second) << query;
        } else {
            EXPECT_FALSE(r.output.empty()) << query << ": no rows";
            EXPECT_EQ(r.output.find("ERROR"), std::string::npos) << query << "\n" << r.output;
        }
    }
}

TEST(IsqlReadme, HelpListsTheTablesAndAWriteIsRefused)
{
    const TestDatabase db({kReadmeData});
    const ProgramResult help = runIsql(db, "help");
    EXPECT_NE(help.output.find("|Positions|TABLE|"), std::string::npos) << help.output;
    const ProgramResult write = runIsql(db, "DELETE FROM Planets");
    EXPECT_NE(write.output.find("the data source only reads"), std::string::npos) << write.output;
    EXPECT_EQ(runIsql(db, "SELECT count(*) FROM Planets").output, "2\n");
}

}  // namespace
