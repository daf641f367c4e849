// The VLDR ODBC driver through the real driver manager: value conversion
// by C type, NULL, truncation and range errors, diagnostics, the read-only
// refusals, the bounded busy wait and the connects that must fail.
#include <gtest/gtest.h>
#include <signal.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "test_database.h"

using namespace vldr::test;

namespace {

// A few rows beside the schema's tables, for the conversions.
const char* kSamples =
    "CREATE TABLE Samples (Number INTEGER, Real REAL, Text TEXT, Day TEXT);"
    "INSERT INTO Samples VALUES (42, 2.75, 'abcdefghij', '2024-02-29');"
    "INSERT INTO Samples VALUES (NULL, NULL, NULL, NULL);"
    "INSERT INTO Systems (ID, LastUpdated) VALUES (100, '1999-12-31');";

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first diagnostic of a handle: "STATE message".
std::string diagnosticOf(SQLSMALLINT type, SQLHANDLE handle)
{
    SQLCHAR state[6] = {};
    SQLCHAR message[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length))) return "";
    return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
}

// An ODBC 3 session on the data source of a test database.
class Session {
public:
    explicit Session(const TestDatabase& db)
    {
        setenv("ODBCSYSINI", db.configDirectory().c_str(), 1);
        setenv("ODBCINI", (db.configDirectory() + "/odbc.ini").c_str(), 1);
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
        SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
        SQLSetConnectAttr(connection_, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
        connectResult_ = SQLConnect(connection_, (SQLCHAR*)"VLDR", SQL_NTS, (SQLCHAR*)"", 0, (SQLCHAR*)"", 0);
        if (SQL_SUCCEEDED(connectResult_)) SQLAllocHandle(SQL_HANDLE_STMT, connection_, &statement_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session()
    {
        if (statement_) SQLFreeHandle(SQL_HANDLE_STMT, statement_);
        if (SQL_SUCCEEDED(connectResult_)) SQLDisconnect(connection_);
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
        SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    }

    SQLRETURN connectResult() const { return connectResult_; }
    std::string connectDiagnostic() const { return diagnosticOf(SQL_HANDLE_DBC, connection_); }
    SQLHSTMT statement() const { return statement_; }
    SQLHDBC connection() const { return connection_; }

    // Closes the cursor, drops the bindings and executes text.
    SQLRETURN execute(const std::string& text)
    {
        SQLFreeStmt(statement_, SQL_CLOSE);
        SQLFreeStmt(statement_, SQL_UNBIND);
        return SQLExecDirect(statement_, (SQLCHAR*)text.c_str(), SQL_NTS);
    }

    std::string diagnostic() const { return diagnosticOf(SQL_HANDLE_STMT, statement_); }

    // The first column of the first row, as text ("NULL" for NULL).
    std::string single(const std::string& text)
    {
        if (execute(text) != SQL_SUCCESS) return "error: " + diagnostic();
        char value[256] = {};
        SQLLEN indicator = 0;
        SQLBindCol(statement_, 1, SQL_C_CHAR, value, sizeof value, &indicator);
        if (!SQL_SUCCEEDED(SQLFetch(statement_))) return "no row: " + diagnostic();
        return indicator == SQL_NULL_DATA ? "NULL" : value;
    }

private:
    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    SQLHSTMT statement_ = SQL_NULL_HSTMT;
    SQLRETURN connectResult_ = SQL_ERROR;
};

TEST(DriverValues, EachCTypeReadsTheValueSQLiteHolds)
{
    const TestDatabase db({kSamples});
    Session s(db);
    ASSERT_EQ(s.connectResult(), SQL_SUCCESS) << s.connectDiagnostic();
    ASSERT_EQ(s.execute("SELECT Number, Number, Number, Number, Real, Real, Number - 41, Text, Day, Number "
                        "FROM Samples WHERE Number IS NOT NULL"),
              SQL_SUCCESS)
        << s.diagnostic();
    SQLINTEGER asLong = 0;
    SQLSMALLINT asShort = 0;
    SQLCHAR asTiny = 0;
    SQLBIGINT asBig = 0;
    SQLREAL asFloat = 0;
    SQLDOUBLE asDouble = 0;
    unsigned char asBit = 9;
    char text[32] = {};
    DATE_STRUCT day = {};
    SQLSMALLINT asSignedShort = 0;
    SQLLEN indicators[10] = {};
    SQLHSTMT h = s.statement();
    SQLBindCol(h, 1, SQL_C_LONG, &asLong, 0, &indicators[0]);
    SQLBindCol(h, 2, SQL_C_SHORT, &asShort, 0, &indicators[1]);
    SQLBindCol(h, 3, SQL_C_UTINYINT, &asTiny, 0, &indicators[2]);
    SQLBindCol(h, 4, SQL_C_SBIGINT, &asBig, 0, &indicators[3]);
    SQLBindCol(h, 5, SQL_C_FLOAT, &asFloat, 0, &indicators[4]);
    SQLBindCol(h, 6, SQL_C_DOUBLE, &asDouble, 0, &indicators[5]);
    SQLBindCol(h, 7, SQL_C_BIT, &asBit, 0, &indicators[6]);
    SQLBindCol(h, 8, SQL_C_CHAR, text, sizeof text, &indicators[7]);
    SQLBindCol(h, 9, SQL_C_DATE, &day, 0, &indicators[8]);
    SQLBindCol(h, 10, SQL_C_SSHORT, &asSignedShort, 0, &indicators[9]);
    ASSERT_EQ(SQLFetch(h), SQL_SUCCESS) << s.diagnostic();
    EXPECT_EQ(asLong, 42);
    EXPECT_EQ(asShort, 42);
    EXPECT_EQ(asTiny, 42);
    EXPECT_EQ(asBig, 42);
    EXPECT_EQ(asFloat, 2.75f);
    EXPECT_EQ(asDouble, 2.75);
    EXPECT_EQ(asBit, 1);
    EXPECT_STREQ(text, "abcdefghij");
    EXPECT_EQ(indicators[7], 10);
    EXPECT_EQ(day.year, 2024);
    EXPECT_EQ(day.month, 2);
    EXPECT_EQ(day.day, 29);
    EXPECT_EQ(asSignedShort, 42);
    EXPECT_EQ(indicators[0], static_cast<SQLLEN>(sizeof asLong));
    EXPECT_EQ(indicators[4], static_cast<SQLLEN>(sizeof asFloat));
    EXPECT_EQ(SQLFetch(h), SQL_NO_DATA);
}

TEST(DriverValues, NullSetsTheIndicatorAndLeavesEveryBufferAlone)
{
    const TestDatabase db({kSamples});
    Session s(db);
    ASSERT_EQ(s.execute("SELECT Number, Number, Real, Real, Text, Day, Number, Number FROM Samples WHERE Number IS NULL"),
              SQL_SUCCESS);
    SQLINTEGER asLong = 7;
    SQLSMALLINT asShort = 7;
    SQLREAL asFloat = 7;
    SQLDOUBLE asDouble = 7;
    char text[8] = "keep";
    DATE_STRUCT day = {1900, 1, 1};
    unsigned char asBit = 7;
    SQLCHAR asTiny = 7;
    SQLLEN indicators[8] = {};
    SQLHSTMT h = s.statement();
    SQLBindCol(h, 1, SQL_C_LONG, &asLong, 0, &indicators[0]);
    SQLBindCol(h, 2, SQL_C_SHORT, &asShort, 0, &indicators[1]);
    SQLBindCol(h, 3, SQL_C_FLOAT, &asFloat, 0, &indicators[2]);
    SQLBindCol(h, 4, SQL_C_DOUBLE, &asDouble, 0, &indicators[3]);
    SQLBindCol(h, 5, SQL_C_CHAR, text, sizeof text, &indicators[4]);
    SQLBindCol(h, 6, SQL_C_DATE, &day, 0, &indicators[5]);
    SQLBindCol(h, 7, SQL_C_BIT, &asBit, 0, &indicators[6]);
    SQLBindCol(h, 8, SQL_C_UTINYINT, &asTiny, 0, &indicators[7]);
    ASSERT_EQ(SQLFetch(h), SQL_SUCCESS) << s.diagnostic();
    for (SQLLEN indicator : indicators) EXPECT_EQ(indicator, SQL_NULL_DATA);
    EXPECT_EQ(asLong, 7);
    EXPECT_EQ(asShort, 7);
    EXPECT_EQ(asFloat, 7);
    EXPECT_EQ(asDouble, 7);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(day.year, 1900);
    EXPECT_EQ(asBit, 7);
    EXPECT_EQ(asTiny, 7);
}

TEST(DriverValues, LongTextIsCutTerminatedAndReportedWithItsFullLength)
{
    const TestDatabase db({kSamples});
    Session s(db);
    ASSERT_EQ(s.execute("SELECT Text FROM Samples WHERE Number = 42"), SQL_SUCCESS);
    char text[5] = {};
    SQLLEN indicator = 0;
    SQLBindCol(s.statement(), 1, SQL_C_CHAR, text, sizeof text, &indicator);
    EXPECT_EQ(SQLFetch(s.statement()), SQL_SUCCESS_WITH_INFO);
    EXPECT_STREQ(text, "abcd");
    EXPECT_EQ(indicator, 10);
    EXPECT_EQ(s.diagnostic().substr(0, 5), "01004");
}

TEST(DriverValues, SQLGetDataReadsTextInPiecesThenSaysNoMore)
{
    const TestDatabase db({kSamples});
    Session s(db);
    ASSERT_EQ(s.execute("SELECT Text FROM Samples WHERE Number = 42"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(s.statement()), SQL_SUCCESS);
    char piece[5] = {};
    SQLLEN indicator = 0;
    std::string whole;
    SQLRETURN rc;
    while ((rc = SQLGetData(s.statement(), 1, SQL_C_CHAR, piece, sizeof piece, &indicator)) != SQL_NO_DATA) {
        ASSERT_TRUE(SQL_SUCCEEDED(rc)) << s.diagnostic();
        whole += piece;
    }
    EXPECT_EQ(whole, "abcdefghij");
}

TEST(DriverValues, NumbersThatDoNotFitTheirCTypeAreErrorsNotWrappedValues)
{
    const TestDatabase db({kSamples});
    Session s(db);
    struct Case {
        const char* expression;
        SQLSMALLINT cType;
        const char* state;
    };
    const Case cases[] = {
        {"300", SQL_C_UTINYINT, "22003"},   {"-1", SQL_C_UTINYINT, "22003"},
        {"70000", SQL_C_SHORT, "22003"},    {"3000000000", SQL_C_LONG, "22003"},
        {"1e40", SQL_C_FLOAT, "22003"},     {"2", SQL_C_BIT, "22003"},
        {"1e300", SQL_C_SBIGINT, "22003"},  {"'abc'", SQL_C_LONG, "22018"},
        {"'2024-02-30'", SQL_C_DATE, "22007"}, {"'24-1-1'", SQL_C_DATE, "22007"},
        {"12", SQL_C_DATE, "07006"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(s.execute(std::string("SELECT ") + c.expression), SQL_SUCCESS) << c.expression;
        char buffer[16] = {};
        SQLLEN indicator = 0;
        SQLBindCol(s.statement(), 1, c.cType, buffer, sizeof buffer, &indicator);
        EXPECT_EQ(SQLFetch(s.statement()), SQL_ERROR) << c.expression;
        EXPECT_EQ(s.diagnostic().substr(0, 5), c.state) << c.expression << ": " << s.diagnostic();
    }
    {
        // Regression: a later column cut to fit its buffer turned an earlier column's error into a warning.
        ASSERT_EQ(s.execute("SELECT 'abc', 'abcdefghij'"), SQL_SUCCESS);
        SQLINTEGER number = 0;
        char text[5] = {};
        SQLLEN indicators[2] = {};
        SQLBindCol(s.statement(), 1, SQL_C_LONG, &number, 0, &indicators[0]);
        SQLBindCol(s.statement(), 2, SQL_C_CHAR, text, sizeof text, &indicators[1]);
        EXPECT_EQ(SQLFetch(s.statement()), SQL_ERROR);
        EXPECT_EQ(s.diagnostic().substr(0, 5), "22018") << s.diagnostic();
    }
    // A real into an integer loses its fraction with a warning, and the row still comes.
    ASSERT_EQ(s.execute("SELECT 2.75"), SQL_SUCCESS);
    SQLINTEGER whole = 0;
    SQLLEN indicator = 0;
    SQLBindCol(s.statement(), 1, SQL_C_LONG, &whole, 0, &indicator);
    EXPECT_EQ(SQLFetch(s.statement()), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(whole, 2);
    EXPECT_EQ(s.diagnostic().substr(0, 5), "01S07");
}

TEST(DriverValues, IntFloorsRealsKeepsIntegersAndNullAndNaN)
{
    const TestDatabase db({kSamples});
    Session s(db);
    EXPECT_EQ(s.single("SELECT INT(7.9)"), "7");
    EXPECT_EQ(s.single("SELECT INT(-7.5)"), "-8");
    EXPECT_EQ(s.single("SELECT INT(12345/100)"), "123");
    EXPECT_EQ(s.single("SELECT INT(9007199254740993)"), "9007199254740993");
    EXPECT_EQ(s.single("SELECT INT(NULL)"), "NULL");
    EXPECT_EQ(s.single("SELECT INT(0.0/0.0)"), "NULL");
    EXPECT_EQ(s.single("SELECT typeof(INT(1e300))"), "real");
    EXPECT_EQ(s.single("SELECT INT('12.5')"), "12");
}

TEST(DriverValues, LikeComparesWindows1252BytesIgnoringTheCaseOfLetters)
{
    const TestDatabase db({kSamples});
    Session s(db);
    // E9/C9 is one letter in two cases; F6 is another letter; D7 and F7 are signs.
    EXPECT_EQ(s.single("SELECT CAST(X'C974' AS TEXT) LIKE CAST(X'E9' AS TEXT) || '%'"), "1");
    EXPECT_EQ(s.single("SELECT CAST(X'C974' AS TEXT) LIKE CAST(X'F6' AS TEXT) || '%'"), "0");
    EXPECT_EQ(s.single("SELECT CAST(X'D7' AS TEXT) LIKE CAST(X'F7' AS TEXT)"), "0");
    EXPECT_EQ(s.single("SELECT CAST(X'8A9F' AS TEXT) LIKE CAST(X'9AFF' AS TEXT)"), "1");
    // "_" is one byte; a byte 80..BF after a letter is not swallowed into it.
    EXPECT_EQ(s.single("SELECT CAST(X'C9A074' AS TEXT) LIKE '__t'"), "1");
    EXPECT_EQ(s.single("SELECT CAST(X'C9A074' AS TEXT) LIKE '_t'"), "0");
    EXPECT_EQ(s.single("SELECT 'Alpha Centauri' LIKE '%CEN%RI'"), "1");
    EXPECT_EQ(s.single("SELECT 'Alpha Centauri' LIKE '%cen%x%'"), "0");
    EXPECT_EQ(s.single("SELECT 'aaab' LIKE '%a%ab'"), "1");
    EXPECT_EQ(s.single("SELECT '' LIKE '%%'"), "1");
    EXPECT_EQ(s.single("SELECT '10%' LIKE '10!%' ESCAPE '!'"), "1");
    EXPECT_EQ(s.single("SELECT '100' LIKE '10!%' ESCAPE '!'"), "0");
    EXPECT_EQ(s.single("SELECT NULL LIKE 'a'"), "NULL");
    EXPECT_EQ(s.execute("SELECT 'a' LIKE 'a' ESCAPE 'xy'"), SQL_ERROR);
    EXPECT_EQ(s.execute("SELECT 'a' LIKE printf('%.60000c', '%')"), SQL_ERROR);
    EXPECT_NE(s.diagnostic().find("pattern too complex"), std::string::npos) << s.diagnostic();
}

TEST(DriverStatements, ErrorsCarryTheirStateAndSQLitesReason)
{
    const TestDatabase db({kSamples});
    Session s(db);
    EXPECT_EQ(s.execute("SELEC 1"), SQL_ERROR);
    EXPECT_EQ(s.diagnostic().substr(0, 5), "42000");
    EXPECT_NE(s.diagnostic().find("syntax error"), std::string::npos) << s.diagnostic();
    EXPECT_EQ(s.execute("SELECT * FROM NoSuchTable"), SQL_ERROR);
    EXPECT_EQ(s.diagnostic(), "42S02 [VLDR] preparing the statement: no such table: NoSuchTable");
    EXPECT_EQ(s.execute("SELECT NoSuchColumn FROM Systems"), SQL_ERROR);
    EXPECT_EQ(s.diagnostic().substr(0, 5), "42S22");
    EXPECT_EQ(s.execute("SELECT 1; SELECT 2"), SQL_ERROR);
    EXPECT_EQ(s.diagnostic().substr(0, 5), "42000");
    EXPECT_EQ(s.execute("SELECT 1; -- a comment after the one statement"), SQL_SUCCESS) << s.diagnostic();
    SQLINTEGER parameter = 1;
    SQLLEN parameterLength = 0;
    EXPECT_EQ(SQLBindParameter(s.statement(), 1, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 0, 0, &parameter, 0,
                               &parameterLength),
              SQL_ERROR);
    EXPECT_EQ(s.diagnostic().substr(0, 5), "HYC00");
    EXPECT_NE(s.diagnostic().find("Optional feature not implemented"), std::string::npos);
}

TEST(DriverStatements, PreparedStatementsDescribeTheirColumnsAndRunAgain)
{
    const TestDatabase db({kSamples});
    Session s(db);
    SQLHSTMT h = s.statement();
    ASSERT_EQ(SQLPrepare(h, (SQLCHAR*)"SELECT ID, LastUpdated, Age FROM Systems", SQL_NTS), SQL_SUCCESS);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(h, &columns);
    EXPECT_EQ(columns, 3);
    char name[32] = {};
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    ASSERT_EQ(SQLDescribeCol(h, 2, (SQLCHAR*)name, sizeof name, &nameLength, &type, &size, &digits, &nullable),
              SQL_SUCCESS);
    EXPECT_STREQ(name, "LastUpdated");
    EXPECT_EQ(type, SQL_VARCHAR);
    SQLLEN numeric = 0;
    SQLColAttribute(h, 1, SQL_DESC_TYPE, nullptr, 0, nullptr, &numeric);
    EXPECT_EQ(numeric, SQL_BIGINT);
    SQLColAttribute(h, 3, SQL_DESC_TYPE, nullptr, 0, nullptr, &numeric);
    EXPECT_EQ(numeric, SQL_DOUBLE);
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(SQLExecute(h), SQL_SUCCESS) << s.diagnostic();
        ASSERT_EQ(SQLFetch(h), SQL_SUCCESS);
        SQLINTEGER id = 0;
        SQLLEN indicator = 0;
        EXPECT_EQ(SQLGetData(h, 1, SQL_C_LONG, &id, 0, &indicator), SQL_SUCCESS);
        EXPECT_EQ(id, 100);
        EXPECT_EQ(SQLFetch(h), SQL_NO_DATA);
        SQLLEN rows = 0;
        EXPECT_EQ(SQLRowCount(h, &rows), SQL_SUCCESS);
        EXPECT_EQ(rows, -1);
        EXPECT_EQ(SQLCloseCursor(h), SQL_SUCCESS);
    }
}

TEST(DriverStatements, SQLTablesListsTheDatabasesTables)
{
    const TestDatabase db({kSamples});
    Session s(db);
    ASSERT_EQ(SQLTables(s.statement(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), SQL_SUCCESS);
    char table[64] = {};
    SQLLEN indicator = 0;
    SQLBindCol(s.statement(), 3, SQL_C_CHAR, table, sizeof table, &indicator);
    std::string names;
    while (SQLFetch(s.statement()) == SQL_SUCCESS) names += std::string(table) + " ";
    EXPECT_EQ(names, "CatalogNames CatalogNumbers Components DirectionCells Magnitudes Orbits Planets PositionCells "
                     "Positions ProperNames Samples Spectra Systems Velocities DirectionCellEntries PositionCellEntries ");
}

// Every way a statement could change a file, or loosen the rules that prevent it.
const char* kForbidden[] = {
    "INSERT INTO Systems (ID) VALUES (200)",
    "UPDATE Systems SET Age = 1",
    "DELETE FROM Systems",
    "DROP TABLE Systems",
    "CREATE TABLE Extra (x)",
    "CREATE TEMP TABLE Extra (x)",
    "CREATE INDEX SystemsByAge ON Systems (Age)",
    "ALTER TABLE Systems ADD COLUMN Extra TEXT",
    "PRAGMA query_only=0",
    "PRAGMA journal_mode=WAL",
    "PRAGMA writable_schema=1",
    "PRAGMA user_version=5",
    "SELECT load_extension('/lib/x86_64-linux-gnu/libm.so.6')",
    "VACUUM",
    "REINDEX",
    "ANALYZE",
    "BEGIN IMMEDIATE",
    "BEGIN",
    "SELECT 1; DELETE FROM Systems",
};

TEST(DriverReadOnly, EveryStatementThatWouldChangeAFileIsRefusedAndNothingChanges)
{
    const TestDatabase db({kSamples});
    const std::string before = readWhole(db.databasePath());
    const std::string directory = std::filesystem::path(db.databasePath()).parent_path();
    const std::string copy = directory + "/copy.db";
    const std::string attached = directory + "/attached.db";
    Session s(db);
    std::vector<std::string> statements(std::begin(kForbidden), std::end(kForbidden));
    statements.push_back("VACUUM INTO '" + copy + "'");
    statements.push_back("ATTACH DATABASE '" + attached + "' AS other");
    // Twice each: a refused text must not be kept for reuse and pass the second time.
    for (int round = 0; round < 2; ++round) {
        for (const std::string& statement : statements) {
            EXPECT_EQ(s.execute(statement), SQL_ERROR) << statement;
            EXPECT_EQ(s.diagnostic().substr(0, 5), "42000") << statement << ": " << s.diagnostic();
        }
    }
    EXPECT_EQ(s.single("PRAGMA query_only"), "1");
    EXPECT_EQ(s.single("SELECT count(*) FROM Systems"), "1");
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(attached));
    for (const char* beside : {"-journal", "-wal", "-shm"}) {
        EXPECT_FALSE(std::filesystem::exists(db.databasePath() + beside)) << beside;
    }
    EXPECT_TRUE(readWhole(db.databasePath()) == before);
}

TEST(DriverReadOnly, AskingForReadWriteAccessKeepsTheConnectionReadOnly)
{
    const TestDatabase db({kSamples});
    Session s(db);
    EXPECT_EQ(SQLSetConnectAttr(s.connection(), SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_WRITE), 0),
              SQL_SUCCESS_WITH_INFO);
    SQLUINTEGER mode = 0;
    SQLGetConnectAttr(s.connection(), SQL_ATTR_ACCESS_MODE, &mode, 0, nullptr);
    EXPECT_EQ(mode, static_cast<SQLUINTEGER>(SQL_MODE_READ_ONLY));
    EXPECT_EQ(s.execute("DELETE FROM Systems"), SQL_ERROR);
}

// A child process that holds an exclusive lock on the database until it is killed.
class LockHolder {
public:
    explicit LockHolder(const std::string& path)
    {
        int ready[2];
        if (pipe(ready) != 0) return;
        child_ = fork();
        if (child_ == 0) {
            close(ready[0]);
            sqlite3* database = nullptr;
            sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
            const char answer = sqlite3_exec(database, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK ? 'y' : 'n';
            if (write(ready[1], &answer, 1) != 1) _exit(1);
            pause();
            _exit(0);
        }
        close(ready[1]);
        char answer = 0;
        locked_ = read(ready[0], &answer, 1) == 1 && answer == 'y';
        close(ready[0]);
    }
    ~LockHolder()
    {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }
    bool locked() const { return locked_; }

private:
    pid_t child_ = -1;
    bool locked_ = false;
};

TEST(DriverBusy, AQueryOnALockedDatabaseFailsAfterTheBusyWait)
{
    setenv("VLDR_BUSY_TIMEOUT_MS", "300", 1);
    const TestDatabase db({kSamples});
    unsetenv("VLDR_BUSY_TIMEOUT_MS");
    Session s(db);
    ASSERT_EQ(s.connectResult(), SQL_SUCCESS) << s.connectDiagnostic();
    {
        const LockHolder writer(db.databasePath());
        ASSERT_TRUE(writer.locked());
        EXPECT_EQ(s.execute("SELECT count(*) FROM Systems"), SQL_ERROR);
        EXPECT_EQ(s.diagnostic().substr(0, 5), "HYT00") << s.diagnostic();
        EXPECT_NE(s.diagnostic().find("locked"), std::string::npos) << s.diagnostic();

        Session late(db);
        EXPECT_EQ(late.connectResult(), SQL_ERROR);
        EXPECT_EQ(late.connectDiagnostic().substr(0, 5), "HYT00") << late.connectDiagnostic();
    }
    EXPECT_EQ(s.single("SELECT count(*) FROM Systems"), "1");
}

// True when another connection can take the write lock at once (the
// reader holds no lock); such a lock is released straight away.
bool writerCanLock(const std::string& path)
{
    sqlite3* database = nullptr;
    sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
    const bool locked = sqlite3_exec(database, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (locked) sqlite3_exec(database, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(database);
    return locked;
}

// Regression: a page's statements each took and released the file's lock;
// in manual-commit mode they share one read transaction, which SQLEndTran
// ends, and an application still cannot begin or end one of its own.
TEST(DriverTransactions, ManualCommitHoldsOneReadUntilEndTran)
{
    const TestDatabase db({kSamples});
    Session s(db);
    ASSERT_EQ(SQLSetConnectAttr(s.connection(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              SQL_SUCCESS);
    SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
    SQLGetConnectAttr(s.connection(), SQL_ATTR_AUTOCOMMIT, &autocommit, 0, nullptr);
    EXPECT_EQ(autocommit, static_cast<SQLUINTEGER>(SQL_AUTOCOMMIT_OFF));

    EXPECT_EQ(s.single("SELECT count(*) FROM Systems"), "1");
    EXPECT_FALSE(writerCanLock(db.databasePath())) << "the read transaction holds the shared lock";
    for (const char* own : {"BEGIN", "COMMIT", "SAVEPOINT a"}) {
        EXPECT_EQ(s.execute(own), SQL_ERROR) << own;
        EXPECT_EQ(s.diagnostic().substr(0, 5), "42000") << own << ": " << s.diagnostic();
    }
    EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, s.connection(), SQL_COMMIT), SQL_SUCCESS);
    EXPECT_TRUE(writerCanLock(db.databasePath()));

    EXPECT_EQ(s.single("SELECT count(*) FROM Systems"), "1");
    EXPECT_EQ(SQLSetConnectAttr(s.connection(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
              SQL_SUCCESS);
    EXPECT_TRUE(writerCanLock(db.databasePath())) << "switching autocommit on ends the transaction";
}

// The connect diagnostic after the database file was replaced by what make() leaves there.
template <typename Make>
std::string connectAfter(Make make)
{
    const TestDatabase db({kSamples});
    make(db.databasePath());
    Session s(db);
    EXPECT_EQ(s.connectResult(), SQL_ERROR);
    return s.connectDiagnostic();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void runSql(const std::string& path, const char* sql)
{
    sqlite3* database = nullptr;
    sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(database, sql, nullptr, nullptr, nullptr);
    sqlite3_close(database);
}

// Each case runs in a process of its own (as ctest runs every test), since
// unixODBC keeps the first odbc.ini it read for the life of the process.
TEST(DriverConnect, AMissingFileFailsTheConnectAndIsNotCreated)
{
    const TestDatabase db({kSamples});
    db.removeDatabaseFile();
    Session s(db);
    EXPECT_EQ(s.connectResult(), SQL_ERROR);
    EXPECT_EQ(s.connectDiagnostic(),
              "08001 [unixODBC][VLDR] cannot use " + db.databasePath() + " as the VLDR database: no such file");
    EXPECT_FALSE(std::filesystem::exists(db.databasePath()));
}

TEST(DriverConnect, AnEmptyFileFailsTheConnect)
{
    const std::string why = connectAfter([](const std::string& path) { writeFile(path, ""); });
    EXPECT_NE(why.find("08001"), std::string::npos) << why;
    EXPECT_NE(why.find("the file is empty"), std::string::npos) << why;
}

TEST(DriverConnect, AFileOfGarbageFailsTheConnect)
{
    const std::string why = connectAfter([](const std::string& path) { writeFile(path, std::string(4096, 'x')); });
    EXPECT_NE(why.find("08001"), std::string::npos) << why;
    EXPECT_NE(why.find("not an SQLite database"), std::string::npos) << why;
}

TEST(DriverConnect, ADirectoryFailsTheConnect)
{
    const std::string why = connectAfter([](const std::string& path) {
        std::filesystem::remove(path);
        std::filesystem::create_directory(path);
    });
    EXPECT_NE(why.find("it is a directory"), std::string::npos) << why;
}

TEST(DriverConnect, AnSQLiteFileWithoutTheVldrTablesFailsTheConnect)
{
    const std::string why = connectAfter([](const std::string& path) {
        std::filesystem::remove(path);
        runSql(path, "CREATE TABLE Other (x); INSERT INTO Other VALUES (1);");
    });
    EXPECT_NE(why.find("08001"), std::string::npos) << why;
    EXPECT_NE(why.find("it is not a VLDR database (it has no table CatalogNames)"), std::string::npos) << why;
}

// Regression: a database of an older schema lost whole sections and still answered.
TEST(DriverConnect, ADatabaseOfAnOlderSchemaFailsTheConnectNamingTheMissingColumn)
{
    const std::string why = connectAfter(
        [](const std::string& path) { runSql(path, "ALTER TABLE Orbits DROP COLUMN IsAxisAU;"); });
    EXPECT_NE(why.find("08001"), std::string::npos) << why;
    EXPECT_NE(why.find("its schema is older than the programs' (it has no column Orbits.IsAxisAU)"), std::string::npos)
        << why;
}

TEST(DriverConnect, ADatabaseInWalModeFailsTheConnect)
{
    const std::string why = connectAfter([](const std::string& path) { runSql(path, "PRAGMA journal_mode=WAL;"); });
    EXPECT_NE(why.find("08001"), std::string::npos) << why;
    EXPECT_NE(why.find("the database is in WAL mode"), std::string::npos) << why;
}

TEST(DriverConnect, AFileBesideTheDatabaseThatReadingWouldChangeFailsTheConnect)
{
    const TestDatabase db({kSamples});
    const std::string before = readWhole(db.databasePath());
    writeFile(db.databasePath() + "-wal", std::string(64, '\1'));
    {
        Session s(db);
        EXPECT_EQ(s.connectResult(), SQL_ERROR);
        EXPECT_NE(s.connectDiagnostic().find("write-ahead log"), std::string::npos) << s.connectDiagnostic();
    }
    std::filesystem::remove(db.databasePath() + "-wal");
    const std::string journalMagic = "\xd9\xd5\x05\xf9\x20\xa1\x63\xd7";
    writeFile(db.databasePath() + "-journal", journalMagic + std::string(512, '\0'));
    {
        Session s(db);
        EXPECT_EQ(s.connectResult(), SQL_ERROR);
        EXPECT_NE(s.connectDiagnostic().find("hot rollback journal"), std::string::npos) << s.connectDiagnostic();
    }
    EXPECT_EQ(std::filesystem::file_size(db.databasePath() + "-journal"), journalMagic.size() + 512);
    EXPECT_TRUE(readWhole(db.databasePath()) == before);
}

TEST(DriverConnect, TheProgramsOdbc2CallsGetTheConnectDiagnostic)
{
    const TestDatabase db({kSamples});
    db.removeDatabaseFile();
    setenv("ODBCSYSINI", db.configDirectory().c_str(), 1);
    setenv("ODBCINI", (db.configDirectory() + "/odbc.ini").c_str(), 1);
    SQLHENV environment;
    SQLHDBC connection;
    SQLAllocEnv(&environment);
    SQLAllocConnect(environment, &connection);
    SQLSetConnectOption(connection, SQL_LOGIN_TIMEOUT, 2);
    SQLSetConnectOption(connection, SQL_ACCESS_MODE, SQL_MODE_READ_ONLY);
    EXPECT_EQ(SQLConnect(connection, (SQLCHAR*)"VLDR", SQL_NTS, (SQLCHAR*)"", 0, (SQLCHAR*)"", 0), SQL_ERROR);
    SQLCHAR state[6] = {};
    SQLCHAR message[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    EXPECT_EQ(SQLError(environment, connection, SQL_NULL_HSTMT, state, &native, message, 511, &length), SQL_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(state), "08001");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(message)),
              "[unixODBC][VLDR] cannot use " + db.databasePath() + " as the VLDR database: no such file");
    EXPECT_FALSE(std::filesystem::exists(db.databasePath()));
    SQLFreeConnect(connection);
    SQLFreeEnv(environment);
}

}  // namespace
