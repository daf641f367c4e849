// What a reader of the data source never does, on either driver: roll back
// the hot journal of a killed writer, take the live journal of a writer at
// work for a hot one, answer from views standing in for the tables, or
// write or create a file because a client's connection string asks it to.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "folder_snapshot.h"
#include "response_check.h"
#include "sqlite_shell.h"
#include "test_database.h"

using namespace vldr::test;
namespace fs = std::filesystem;

namespace {

// The requests each case runs: a report, and neighbour searches around a
// system and a point (the last reads the position grid).
const char* const kRequests[][2] = {{"sysview", "ID=100"}, {"proxlist", "ID=100"}, {"proxlist", "ly=20"}};

// Runs every request and checks that each is one complete answer that
// reports a failed data source (on standard error, with its SQLSTATE), and
// that no file of the database's folder changed.
void expectRefusedAndUnchanged(const TestDatabase& db, const std::string& label, const std::string& cause)
{
    const FolderSnapshot before = snapshotFolder(db.directory());
    for (const auto& [program, query] : kRequests) {
        const ProgramResult r = db.run(program, query);
        const std::string where = label + ": " + program + " " + query;
        EXPECT_EQ(responseFault(program, r), "") << where << "\n" << r.output;
        EXPECT_TRUE(logsSqlState(r.errors)) << where << "\nstandard error: " << r.errors;
        EXPECT_NE(r.errors.find(cause), std::string::npos) << where << "\nstandard error: " << r.errors;
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "") << label;
}

// Runs isql with a connection string (isql -k) on db's data source, with
// text on its standard input; what it printed, standard error included.
std::string runIsqlConnectionString(const TestDatabase& db, const std::string& connection, const std::string& text)
{
    const std::string input = db.directory() + "/isql-input.sql";
    std::ofstream(input) << text << "\n";
    const std::string command = std::string(VLDR_ISQL_ENVIRONMENT) + " ODBCSYSINI='" + db.configDirectory() +
                                "' ODBCINI='" + db.configDirectory() + "/odbc.ini' isql -k '" + connection +
                                "' -b -v < '" + input + "' 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

}  // namespace

TEST(ReaderSafety, AHotJournalLeftByAKilledWriterIsRefusedAndNeitherFileChanges)
{
    // Regression: the SQLite3 ODBC driver rolled the journal back into the
    // file (and deleted it) before its extension ran, then served pages.
    const TestDatabase db({"hostile.sql"});
    SqliteShell writer(db.databasePath());
    // A small cache makes the writer spill changed pages into the file
    // before it is killed, so a rollback would change the file.
    writer.execute("PRAGMA cache_size = 1; BEGIN; UPDATE Systems SET Age = 12345; CREATE TABLE Filler (x);"
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)"
                   " INSERT INTO Filler SELECT randomblob(3000) FROM n;");
    writer.kill();
    ASSERT_TRUE(fs::exists(db.databasePath() + "-journal"));
    expectRefusedAndUnchanged(db, "hot journal", "journal");
}

TEST(ReaderSafety, TheLiveJournalOfAWriterAtWorkIsNoReasonToRefuse)
{
    // Regression: the extension took a writer's live journal for a hot one
    // and denied every statement, so pages said "No star system ... exists".
    const TestDatabase db({"hostile.sql"});
    const ProgramResult alone = db.run("sysview", "ID=100");
    ASSERT_EQ(classifyResponse(alone.output), ResponseKind::ReportPage) << alone.output;
    SqliteShell writer(db.databasePath());
    writer.execute("BEGIN; UPDATE Systems SET Age = 7 WHERE ID = 100;");
    ASSERT_TRUE(fs::exists(db.databasePath() + "-journal"));
    const ProgramResult during = db.run("sysview", "ID=100");
    EXPECT_EQ(during.output, alone.output);
    EXPECT_EQ(during.errors, "");
}

TEST(ReaderSafety, ViewsStandingInForTheTablesAreRefused)
{
    // Regression: the SQLite3 ODBC driver answered from a view in place of a
    // table, and requests over recursive views never ended.
    const char* const kRecursive = "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n FROM r)";
    const struct {
        const char* label;
        std::string sql;
        const char* cause;
    } cases[] = {
        {"Planets a view", "DROP TABLE Planets; CREATE VIEW Planets AS SELECT * FROM Components;",
         "it has no table Planets"},
        {"Systems a recursive view",
         std::string("DROP TABLE Systems; CREATE VIEW Systems AS ") + kRecursive + " SELECT 100 AS ID FROM r;",
         "it has no table Systems"},
        {"PositionCells a recursive view",
         std::string("DROP TABLE IF EXISTS PositionCells; CREATE VIEW PositionCells AS ") + kRecursive +
             " SELECT 0 AS CellX, 0 AS CellY, 0 AS CellZ, 100 AS OwnerID, 0 AS X, 0 AS Y, 0 AS Z FROM r;",
         "its PositionCells is not a table"},
    };
    for (const auto& c : cases) {
        const TestDatabase db({"hostile.sql"});
        runSqlite(db.databasePath(), c.sql);
        expectRefusedAndUnchanged(db, c.label, c.cause);
    }
}

TEST(ReaderSafety, AConnectionStringCannotMakeTheDataSourceWriteOrCreateItsFile)
{
    // Regression: "LoadExt=" in a client's connection string connected the
    // SQLite3 ODBC driver without the extension, and writes went through.
    const TestDatabase db({"hostile.sql"});
    const FolderSnapshot before = snapshotFolder(db.directory());
    for (const char* connection : {"DSN=VLDR;LoadExt=/nonexistent.so", "DSN=VLDR;LoadExt=;NoCreat=0"}) {
        const std::string output = runIsqlConnectionString(db, connection, "DELETE FROM Systems");
        EXPECT_NE(output.find("ERROR"), std::string::npos) << connection << "\n" << output;
    }
    FolderSnapshot after = snapshotFolder(db.directory());
    after.erase("isql-input.sql");
    EXPECT_EQ(describeChanges(before, after), "");

    // With the file gone, the data source creates no new one.
    db.removeDatabaseFile();
    runIsqlConnectionString(db, "DSN=VLDR;NoCreat=0", "SELECT 1");
    EXPECT_FALSE(fs::exists(db.databasePath()));
}
