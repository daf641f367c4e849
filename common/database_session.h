// The ODBC session of one request: environment, connection and the one
// shared statement, opened and closed in the order the data source needs.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace vldr {

// Which step of opening the session failed.
enum class SessionFailure {
    None,
    AllocateEnvironment,
    AllocateConnection,
    Connect,
    AllocateStatement,
};

// Owns the three handles of a request. Opening starts the request's query
// deadline (request_deadline.h), allocates the environment and
// the connection, asks for a 2-second login time-out and read-only access,
// connects to the data source "VLDR" without credentials and allocates the
// statement. Closing (or destruction) releases exactly what was obtained:
// statement, then the connection (disconnected only if it was connected),
// then the environment.
class DatabaseSession {
public:
    DatabaseSession() = default;
    DatabaseSession(const DatabaseSession&) = delete;
    DatabaseSession& operator=(const DatabaseSession&) = delete;
    ~DatabaseSession();

    // Runs the opening steps in order and stops at the first that fails.
    // The handles obtained so far stay held until close(). A connected
    // session reads in manual-commit mode where the driver offers it: the
    // statements of one request share one read transaction (one snapshot
    // of the file, its lock taken once) until endRequestReads().
    SessionFailure open();

    // Ends the read transaction of the request's statements, if any, so that
    // nothing holds the file's lock between requests.
    void endRequestReads();

    // The first diagnostic record of a failed connection: SQLSTATE and message.
    // Returns false when the driver manager has none to give.
    bool connectionError(std::string& state, std::string& message) const;

    // Releases the handles held, in the order statement, connection, environment.
    void close();

    SQLHENV environment() const { return environment_; }
    SQLHDBC connection() const { return connection_; }
    SQLHSTMT statement() const { return statement_; }

private:
    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    SQLHSTMT statement_ = SQL_NULL_HSTMT;
    bool connected_ = false;
};

// Writes the first diagnostic record of a failed connection as the two
// lines "SQLSTATE = '...'" and "Error message = '...'"; nothing when the
// driver manager has none.
void writeConnectionDiagnostic(const DatabaseSession& session);

// A second statement on a connection, for reading details of a row while
// the shared statement's cursor stays open. Dropped when it goes out of scope.
class SecondStatement {
public:
    explicit SecondStatement(SQLHDBC connection);
    SecondStatement(const SecondStatement&) = delete;
    SecondStatement& operator=(const SecondStatement&) = delete;
    ~SecondStatement();

    // True when the statement was allocated with SQL_SUCCESS.
    bool ok() const { return usable_; }
    SQLHSTMT get() const { return statement_; }

private:
    SQLHSTMT statement_ = SQL_NULL_HSTMT;
    bool usable_ = false;
};

}  // namespace vldr
