// Faults of the data source: a database file that is missing, empty,
// truncated, garbage or a folder; a file locked by a writer, in WAL mode or
// with a log left by a killed writer; a missing extension, data source or
// driver. Each request must get one complete failure answer (the
// connection-failure text, or the page for nothing found when the
// connection opened but the queries fail) with its exit status, within the
// run bound, with the cause on standard error, and no file changed or
// created. Also: what the data source refuses to do for any client.
#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "folder_snapshot.h"
#include "response_check.h"
#include "sqlite_shell.h"
#include "test_database.h"

using namespace vldr::test;
namespace fs = std::filesystem;

namespace {

const std::string kSearchHead = htmlHead("<TITLE>VLDR search results</TITLE>");

// What one request may answer when the data source fails.
struct FailureCase {
    const char* program;
    const char* query;
    std::string connectionFailure;  // the start of the plain-text answer
    std::string nothingFound;       // the whole answer when the connection opened but queries fail
    int nothingFoundStatus = 255;   // a search around a point is a page like any other
};

const FailureCase kFailureCases[] = {
    {"sysview", "ID=100", std::string(kPlainTextHeader) + "Internal error: SQLConnect() failed!!\n",
     htmlHead("<TITLE>VLDR system ID lookup search results</TITLE>") +
         "No star system with an ID of 100 exists in the database.\n</BODY>\n</HTML>\n"},
    {"sysview", "Name=Barnard", std::string(kPlainTextHeader) + "Internal error: SQLConnect() failed!!\n",
     kSearchHead + "No star name matching \"Barnard\" found.\n</BODY>\n</HTML>\n"},
    {"proxlist", "ID=100", std::string(kPlainTextHeader) + "SQLConnect() failed!!\n",
     kSearchHead + "No star name matching ID 100 found.\n</BODY>\n</HTML>\n"},
    {"proxlist", "ly=20", std::string(kPlainTextHeader) + "SQLConnect() failed!!\n",
     htmlHead("<TITLE>VLDR near-coordinate search results</TITLE>") +
         "<CENTER><H3>Stars within 20 light-years of (0, 0, 0):</H3></CENTER>\n"
         "<BR>Internal error: Database query failed.\n</BODY>\n</HTML>\n",
     0},
};

// The answer to a request whose lookup the data source gave up on (a lock
// waited out): nothing is known to be missing.
const std::string kStoppedQueryingAnswer =
    std::string(kPlainTextHeader) + "Internal error: the database did not answer in time.  Please try again.\n";

// Which failure answers a fault may give.
enum class Answers { ConnectionFailure, Either };

// Runs every request of kFailureCases against the data source of db (or of
// configDirectory when given) and checks each answer; the folder is
// compared with before, which the caller snapshots before any process of
// its own touched the files.
void expectFailureAnswers(const TestDatabase& db, const std::string& label, Answers answers,
                          const FolderSnapshot& before, const std::string& configDirectory = "")
{
    const std::string config = configDirectory.empty() ? db.configDirectory() : configDirectory;
    for (const FailureCase& c : kFailureCases) {
        const ProgramResult r =
            runProgram(c.program, c.query, {"ODBCSYSINI=" + config, "ODBCINI=" + config + "/odbc.ini"});
        const std::string where = label + ": " + c.program + " " + c.query;
        EXPECT_EQ(responseFault(c.program, r), "") << where << "\n" << r.output;
        const bool refused = r.output.starts_with(c.connectionFailure) && r.output.find("SQLSTATE = '") != std::string::npos;
        const bool nothing = r.output == c.nothingFound;
        if (answers == Answers::ConnectionFailure) EXPECT_TRUE(refused) << where << "\n" << r.output;
        else EXPECT_TRUE(refused || nothing) << where << "\n" << r.output;
        EXPECT_EQ(r.status, nothing ? c.nothingFoundStatus : 255) << where;
        EXPECT_TRUE(logsSqlState(r.errors)) << where << "\nstandard error: " << r.errors;
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "") << label;
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readBytes(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Writes the data-source configuration for database into configDirectory,
// with the libraries (the extension) looked up in libDirectory, for the
// driver the tests run against.
void writeDataSource(const std::string& database, const std::string& libDirectory, const std::string& configDirectory)
{
    const std::string command = std::string(VLDR_SOURCE_DIR) + "/db/write-dsn --driver '" + testDriver() + "' '" + database + "' '" + libDirectory + "' '" + configDirectory + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

class DataSourceFault : public ::testing::Test {
protected:
    TestDatabase db{{"hostile.sql"}};
};

TEST_F(DataSourceFault, MissingFileIsAFailedConnectionAndIsNotCreated)
{
    db.removeDatabaseFile();
    expectFailureAnswers(db, "missing file", Answers::ConnectionFailure, snapshotFolder(db.directory()));
    EXPECT_FALSE(fs::exists(db.databasePath()));
}

TEST_F(DataSourceFault, ZeroLengthFile)
{
    // Regression: a file that is not a database answered "No star system ... exists" with nothing logged.
    writeBytes(db.databasePath(), "");
    expectFailureAnswers(db, "zero-length file", Answers::Either, snapshotFolder(db.directory()));
}

TEST_F(DataSourceFault, TruncatedFile)
{
    const std::string bytes = readBytes(db.databasePath());
    writeBytes(db.databasePath(), bytes.substr(0, bytes.size() / 3));
    const FolderSnapshot before = snapshotFolder(db.directory());
    // A truncated file may still answer some queries; every answer must be complete.
    for (const FailureCase& c : kFailureCases) {
        const ProgramResult r = db.run(c.program, c.query);
        EXPECT_EQ(responseFault(c.program, r), "") << c.program << " " << c.query << "\n" << r.output;
        EXPECT_EQ(nonFiniteText(r.output), "");
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "");
}

TEST_F(DataSourceFault, TruncatedToItsFirstPage)
{
    writeBytes(db.databasePath(), readBytes(db.databasePath()).substr(0, 1000));
    expectFailureAnswers(db, "truncated to 1000 bytes", Answers::Either, snapshotFolder(db.directory()));
}

TEST_F(DataSourceFault, GarbageFile)
{
    std::mt19937 random(12345);
    std::string garbage(16384, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random());
    writeBytes(db.databasePath(), garbage);
    expectFailureAnswers(db, "garbage", Answers::Either, snapshotFolder(db.directory()));
}

TEST_F(DataSourceFault, DirectoryInPlaceOfTheFile)
{
    db.removeDatabaseFile();
    fs::create_directory(db.databasePath());
    expectFailureAnswers(db, "directory", Answers::Either, snapshotFolder(db.directory()));
}

TEST_F(DataSourceFault, FileLockedExclusivelyByAWriter)
{
    // Regression: while a writer held an exclusive lock, requests waited minutes for it.
    const FolderSnapshot before = snapshotFolder(db.directory());
    {
        SqliteShell writer(db.databasePath());
        writer.execute("BEGIN EXCLUSIVE; UPDATE Systems SET Age = 1 WHERE ID = 100;");
        for (const FailureCase& c : kFailureCases) {
            const ProgramResult r = db.run(c.program, c.query);
            const std::string where = std::string("locked: ") + c.program + " " + c.query;
            EXPECT_EQ(responseFault(c.program, r), "") << where << "\n" << r.output;
            // Regression: a lookup that waited out the lock answered that the system does not exist.
            EXPECT_TRUE(r.output.starts_with(c.connectionFailure) || r.output == kStoppedQueryingAnswer ||
                        (r.output == c.nothingFound && c.nothingFoundStatus == 0))
                << where << "\n" << r.output;
            // The cause: a statement's state, or (where connecting outlasted
            // the request's deadline) the note that no query was sent.
            EXPECT_TRUE(logsSqlState(r.errors) || r.errors.find("no further queries") != std::string::npos)
                << where << "\nstandard error: " << r.errors;
        }
        // The writer rolls back when its input ends.
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "");
}

// The data sources' limit on one statement in the tests below (milliseconds),
// short so that each request takes a fraction of a second.
const std::string kShortStatementLimit = "VLDR_STATEMENT_LIMIT_MS=150";

// Runs c against db with the short statement limit.
ProgramResult runWithShortLimit(const TestDatabase& db, const FailureCase& c)
{
    return runProgram(c.program, c.query,
                      {"ODBCSYSINI=" + db.configDirectory(), "ODBCINI=" + db.configDirectory() + "/odbc.ini",
                       kShortStatementLimit});
}

TEST_F(DataSourceFault, AWriterLockingDuringARequestEndsItWithACompleteAnswer)
{
    // Regression: with a writer locking 20 ms into a request, proxlist waited
    // out the busy time once per statement (281 s) and sysview ended after one
    // wait with an incomplete response.
    const FolderSnapshot before = snapshotFolder(db.directory());
    for (const int delayMs : {1, 4, 10, 20}) {
        for (const FailureCase& c : kFailureCases) {
            SqliteShell writer(db.databasePath());
            writer.execute(".timeout 5000");
            std::thread locker([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                writer.execute("BEGIN EXCLUSIVE;");
            });
            const ProgramResult r = runWithShortLimit(db, c);
            locker.join();
            const std::string where = "lock after " + std::to_string(delayMs) + " ms: " + c.program + " " + c.query;
            EXPECT_FALSE(r.killed) << where;
            EXPECT_EQ(responseFault(c.program, r), "") << where << "\n" << r.output;
        }
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "");
}

TEST(SlowStatements, AStatementPastTheLimitEndsTheRequestWithACompleteAnswer)
{
    // Regression: over names generated as long texts, a name search ran for
    // many seconds (with 100 MB names, 15-19 s) before any answer.
    const TestDatabase db({"hostile.sql",
                           "DROP TABLE ProperNames;"
                           "CREATE TABLE ProperNames (OwnerID INTEGER NOT NULL, IsSystemName INTEGER NOT NULL DEFAULT 0,"
                           " Name TEXT GENERATED ALWAYS AS (printf('%.60000c', 'z')) VIRTUAL,"
                           " Yes INTEGER GENERATED ALWAYS AS (1) VIRTUAL);"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
                           " INSERT INTO ProperNames (OwnerID) SELECT 100 FROM n;"});
    const FolderSnapshot before = snapshotFolder(db.directory());
    for (const FailureCase& c : {
             FailureCase{"sysview", "Name=zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzy", "", ""},
             FailureCase{"sysview", "ID=100", "", ""},
             FailureCase{"proxlist", "ID=100&ly=100000", "", ""},
         }) {
        const ProgramResult r = runWithShortLimit(db, c);
        const std::string where = std::string(c.program) + " " + c.query;
        EXPECT_FALSE(r.killed) << where;
        EXPECT_EQ(responseFault(c.program, r), "") << where << "\n" << r.output;
    }
    const ProgramResult search = runWithShortLimit(db, {"sysview", "Name=zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzy", "", ""});
    EXPECT_NE(search.errors.find("interrupted"), std::string::npos) << search.errors;
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "");
}

// Runs every request and checks that each answer is complete and changes no file.
// A database in WAL mode may be read without changing a file, or refused.
void expectNoFileChanged(const TestDatabase& db, const std::string& label, const std::string& allowedChanges = "")
{
    const FolderSnapshot before = snapshotFolder(db.directory());
    for (const FailureCase& c : kFailureCases) {
        const ProgramResult r = db.run(c.program, c.query);
        const std::string where = label + ": " + c.program + " " + c.query;
        EXPECT_EQ(responseFault(c.program, r), "") << where << "\n" << r.output;
        const bool failed = r.output.starts_with(c.connectionFailure) || r.output == c.nothingFound;
        if (failed) {
            EXPECT_TRUE(logsSqlState(r.errors)) << where << "\nstandard error: " << r.errors;
        }
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), allowedChanges) << label;
}

TEST_F(DataSourceFault, WalModeWithoutAWriter)
{
    runSqlite(db.databasePath(), "PRAGMA journal_mode = WAL;");
    // The SQLite3 ODBC driver opens the file read-only and reads it before
    // its extension can refuse it; a read-only connection leaves the empty
    // -wal and -shm of that read behind. The database itself must not change.
    expectNoFileChanged(db, "WAL, no writer",
                        testDriver() == "sqlite3odbc" ? "created: vldr.db-shm\ncreated: vldr.db-wal\n" : "");
}

TEST_F(DataSourceFault, WalModeWithAWriterOpen)
{
    // Regression: requests modified the -shm and -wal files of a writer.
    SqliteShell writer(db.databasePath());
    writer.execute("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
                   "UPDATE Systems SET Age = 2 WHERE ID = 100; BEGIN; UPDATE Systems SET Age = 3 WHERE ID = 200;");
    expectNoFileChanged(db, "WAL, writer open");
}

TEST_F(DataSourceFault, WalLeftByAKilledWriter)
{
    // Regression: a request checkpointed an orphaned -wal into the database file.
    SqliteShell writer(db.databasePath());
    writer.execute("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; UPDATE Systems SET Age = 2 WHERE ID = 100;");
    writer.kill();
    ASSERT_TRUE(fs::exists(db.databasePath() + "-wal"));
    // The SQLite3 ODBC driver reads the file before its extension can refuse
    // it, which rebuilds the -shm index of the orphaned -wal; the database
    // and the -wal themselves must stay as they were.
    expectNoFileChanged(db, "orphaned WAL", testDriver() == "sqlite3odbc" ? "changed: vldr.db-shm\n" : "");
}

TEST_F(DataSourceFault, MissingExtension)
{
    // Regression: without the extension the connection succeeded and every page was silently wrong.
    const std::string emptyLibraries = db.directory() + "/no-libraries";
    const std::string config = db.directory() + "/odbc-no-extension";
    fs::create_directory(emptyLibraries);
    writeDataSource(db.databasePath(), emptyLibraries, config);
    if (testDriver() == "sqlite3odbc") {
        // That driver connects without its extension; the most it allows is
        // that every statement needing INT() fails and says so on standard error.
        const FolderSnapshot before = snapshotFolder(db.directory());
        for (const FailureCase& c : kFailureCases) {
            const ProgramResult r =
                runProgram(c.program, c.query, {"ODBCSYSINI=" + config, "ODBCINI=" + config + "/odbc.ini"});
            EXPECT_EQ(responseFault(c.program, r), "") << c.program << " " << c.query << "\n" << r.output;
            EXPECT_NE(r.errors.find("no such function: INT"), std::string::npos) << c.query << "\n" << r.errors;
        }
        EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "");
        return;
    }
    expectFailureAnswers(db, "extension missing", Answers::Either, snapshotFolder(db.directory()), config);
}

TEST_F(DataSourceFault, MissingDataSource)
{
    const std::string config = db.directory() + "/odbc-other";
    fs::create_directory(config);
    writeBytes(config + "/odbcinst.ini", readBytes(db.configDirectory() + "/odbcinst.ini"));
    writeBytes(config + "/odbc.ini", "[NOTVLDR]\nDriver=nothing\n");
    expectFailureAnswers(db, "DSN missing", Answers::ConnectionFailure, snapshotFolder(db.directory()), config);
}

TEST_F(DataSourceFault, MissingDriver)
{
    const std::string config = db.directory() + "/odbc-no-driver";
    fs::create_directory(config);
    std::string drivers = readBytes(db.configDirectory() + "/odbcinst.ini");
    const std::size_t at = drivers.find("\nDriver=");
    ASSERT_NE(at, std::string::npos) << drivers;
    drivers.replace(at, drivers.find('\n', at + 1) - at, "\nDriver=/nonexistent/libvldr-missing-driver.so");
    writeBytes(config + "/odbcinst.ini", drivers);
    writeBytes(config + "/odbc.ini", readBytes(db.configDirectory() + "/odbc.ini"));
    expectFailureAnswers(db, "driver missing", Answers::ConnectionFailure, snapshotFolder(db.directory()), config);
}

// A client of the data source "VLDR" other than our programs, such as isql.
class DataSourceClient {
public:
    explicit DataSourceClient(const TestDatabase& db)
    {
        setenv("ODBCSYSINI", db.configDirectory().c_str(), 1);
        setenv("ODBCINI", (db.configDirectory() + "/odbc.ini").c_str(), 1);
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
        SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
        const SQLRETURN rc = SQLConnect(connection_, reinterpret_cast<SQLCHAR*>(const_cast<char*>("VLDR")), SQL_NTS,
                                        nullptr, 0, nullptr, 0);
        connected_ = SQL_SUCCEEDED(rc);
    }
    ~DataSourceClient()
    {
        if (connected_) SQLDisconnect(connection_);
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
        SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    }
    bool connected() const { return connected_; }

    // Runs one statement and reads its rows. True when the data source ran
    // it and gave every row (a driver may fail a statement at its first fetch).
    bool run(const std::string& text)
    {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, connection_, &statement);
        SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())), SQL_NTS);
        bool ran = SQL_SUCCEEDED(rc);
        SQLSMALLINT columns = 0;
        if (ran && SQL_SUCCEEDED(SQLNumResultCols(statement, &columns)) && columns > 0) {
            while (SQL_SUCCEEDED(rc = SQLFetch(statement))) {
            }
            ran = rc == SQL_NO_DATA;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        return ran;
    }

private:
    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    bool connected_ = false;
};

// The clients of one process share one database: the driver manager keeps
// the first data-source configuration it read.
class DataSourceRefusals : public SharedDatabaseSuite<DataSourceRefusals> {
public:
    static constexpr const char* kFixture = "hostile.sql";
};

TEST_F(DataSourceRefusals, EveryWriteThroughTheDataSourceFailsAndTheFileStaysAsItWas)
{
    // Regression: through isql VLDR, query_only could be switched off and
    // INSERT, DROP TABLE, journal_mode=WAL, load_extension() and VACUUM INTO
    // all went through.
    const TestDatabase& db = *db_;
    const std::string copy = db.directory() + "/copy.db";
    const FolderSnapshot before = snapshotFolder(db.directory());
    {
        DataSourceClient client(db);
        ASSERT_TRUE(client.connected());
        EXPECT_TRUE(client.run("SELECT ID FROM Systems"));
        for (const std::string& text : {
                 std::string("INSERT INTO Systems (ID) VALUES (9900)"),
                 std::string("DROP TABLE Orbits"),
                 std::string("PRAGMA journal_mode=WAL"),
                 std::string("SELECT load_extension('x')"),
                 "SELECT load_extension('" + std::string(VLDR_LIB_DIR) + "/vldr_sqlite_ext.so')",
                 "VACUUM INTO '" + copy + "'",
                 "ATTACH '" + db.directory() + "/other.db' AS other",
                 std::string("DELETE FROM Systems"),
                 std::string("CREATE TABLE t (x)"),
             }) {
            EXPECT_FALSE(client.run("PRAGMA query_only=0") && client.run(text)) << text;
            EXPECT_FALSE(client.run(text)) << text;
        }
        EXPECT_TRUE(client.run("SELECT ID FROM Systems"));
    }
    EXPECT_EQ(describeChanges(before, snapshotFolder(db.directory())), "");
    const ProgramResult r = db.run("sysview", "ID=100");
    EXPECT_EQ(classifyResponse(r.output), ResponseKind::ReportPage);
}

TEST_F(DataSourceRefusals, NoFunctionBeyondReadingRunsAndNoValueGrowsPastTheLengthLimit)
{
    // Regression: through isql VLDR, fts3_tokenizer() handed out a pointer into
    // the library and replaced it with any 8 bytes, and randomblob(500000000)
    // and zeroblob(999999999) made the process allocate half a gigabyte and more.
    DataSourceClient client(*db_);
    ASSERT_TRUE(client.connected());
    for (const char* text : {
             "SELECT hex(fts3_tokenizer('simple'))",
             "SELECT fts3_tokenizer('simple', x'4141414141414141')",
             "SELECT length(randomblob(500000000))",
             "SELECT length(zeroblob(999999999))",
             "SELECT json('[1]')",
         })
        EXPECT_FALSE(client.run(text)) << text;
    // What reading needs still runs: the dialect, core and math functions.
    EXPECT_TRUE(client.run("SELECT INT(ID / 100), COUNT(*), max(abs(ID)), sqrt(4), hex(zeroblob(4)) FROM Systems "
                           "WHERE 'Sol' LIKE 's%' GROUP BY 1"));
}

}  // namespace
