// A fixture database for running the real programs through the real ODBC
// stack: built from the schema plus SQL, with its own data-source
// configuration, in a temporary folder that goes away with the object.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace vldr::test {

// What a program run wrote to standard output and standard error and the
// status it exited with.
struct ProgramResult {
    std::string output;
    int status = 0;  // exit status 0..255 (-1 is 255); 1000 + signal when killed
    std::string errors;   // standard error (the web server's error log)
    bool killed = false;  // still running after kRunTimeLimitSeconds, so killed
};

// How long a program run may take before it is killed and reported as
// killed (seconds): a bound that turns a hang into a failure, not a timing
// check. Generous, since sanitized builds on a shared machine are slow.
inline constexpr int kRunTimeLimitSeconds = 10;

// The ODBC driver the test data sources use: VLDR_TEST_DRIVER ("vldr",
// the default, or "sqlite3odbc"), as db/write-dsn --driver names it.
std::string testDriver();

// Path of a fixture file in tests/fixtures.
std::string fixturePath(const std::string& name);

class TestDatabase {
public:
    // Builds a database from the schema and the given SQL texts, in order.
    // A text that names a file in tests/fixtures (ending in ".sql") is read from there.
    explicit TestDatabase(std::initializer_list<std::string> sql);
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;
    ~TestDatabase();

    // Runs build/bin/<program> with QUERY_STRING set to query (unset when
    // query is null) and the data source "VLDR" pointing at this database.
    ProgramResult run(const std::string& program, const char* query) const;

    const std::string& databasePath() const { return database_; }
    // The temporary folder that holds the database, the SQL it was built from
    // and the data-source configuration.
    const std::string& directory() const { return directory_; }
    const std::string& configDirectory() const { return configDirectory_; }

    // Removes the database file, so that the data source names a missing file.
    void removeDatabaseFile() const;

private:
    std::string directory_;
    std::string database_;
    std::string configDirectory_;
};

// A test suite whose tests share one fixture database, built from
// Suite::kFixture (a file in tests/fixtures, or SQL text) before the first
// test and removed after the last; the tests reach it as db_.
template <class Suite>
class SharedDatabaseSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db_ = new TestDatabase({Suite::kFixture}); }
    static void TearDownTestSuite()
    {
        delete db_;
        db_ = nullptr;
    }
    static inline TestDatabase* db_ = nullptr;
};

// Runs a program with the given environment additions (NAME=value) and
// QUERY_STRING (unset when query is null), collecting standard output and
// standard error; a run that outlasts kRunTimeLimitSeconds is killed.
// With VLDR_TEST_FASTCGI=1 in the environment the request goes instead to
// a long-lived FastCGI process of the program (fastcgi_harness.h), with the
// same result expected.
ProgramResult runProgram(const std::string& program, const char* query,
                         std::initializer_list<std::string> environment);

// Runs the executable at path with arguments, the environment additions
// (NAME=value) and QUERY_STRING (unset when query is null), standard input
// empty, collecting standard output and standard error; a run that
// outlasts kRunTimeLimitSeconds is killed. (runProgram's CGI way.)
ProgramResult runExecutable(const std::string& path, const std::vector<std::string>& arguments, const char* query,
                            const std::vector<std::string>& environment);

// The header and head of an HTML page up to "<BODY>\n", with the given title line.
std::string htmlHead(const std::string& titleLine);

// The form a report page of system id opens with: a search within 15
// light-years of it.
std::string reportRadiusForm(int id);
// The lines every report page of system id ends with: the radius form, the
// ring form and the newest date (as the page writes it).
std::string reportFoot(int id, const std::string& date);
// "Content-type: text/plain" followed by an empty line.
inline const char* kPlainTextHeader = "Content-type: text/plain\n\n";

}  // namespace vldr::test
