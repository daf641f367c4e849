#include "database_session.h"

#include "error_log.h"
#include "field_limits.h"
#include "output.h"
#include "request_deadline.h"

namespace vldr {
namespace {

// The data source every request reads.
constexpr const char* kDataSourceName = "VLDR";
// Seconds the driver may take to log in.
constexpr SQLUINTEGER kLoginTimeoutSeconds = 2;

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

}  // namespace

DatabaseSession::~DatabaseSession()
{
    close();
}

SessionFailure DatabaseSession::open()
{
    startRequestDeadline();
    SQLRETURN rc = SQLAllocEnv(&environment_);
    if (rc != SQL_SUCCESS) {
        logOdbcFailure("SQLAllocEnv", SQL_HANDLE_ENV, nullptr, rc);
        environment_ = SQL_NULL_HENV;
        return SessionFailure::AllocateEnvironment;
    }
    rc = SQLAllocConnect(environment_, &connection_);
    if (rc != SQL_SUCCESS) {
        logOdbcFailure("SQLAllocConnect", SQL_HANDLE_ENV, environment_, rc);
        connection_ = SQL_NULL_HDBC;
        return SessionFailure::AllocateConnection;
    }
    SQLSetConnectOption(connection_, SQL_LOGIN_TIMEOUT, kLoginTimeoutSeconds);
    SQLSetConnectOption(connection_, SQL_ACCESS_MODE, SQL_MODE_READ_ONLY);
    rc = SQLConnect(connection_, (SQLCHAR*)kDataSourceName, SQL_NTS, (SQLCHAR*)"", 0, (SQLCHAR*)"", 0);
    if (!succeeded(rc)) {
        logOdbcFailure("SQLConnect", SQL_HANDLE_DBC, connection_, rc);
        return SessionFailure::Connect;
    }
    connected_ = true;
    // A driver without transactions keeps autocommit; the pages read the
    // same either way.
    SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    rc = SQLAllocStmt(connection_, &statement_);
    if (rc != SQL_SUCCESS) {
        logOdbcFailure("SQLAllocStmt", SQL_HANDLE_DBC, connection_, rc);
        statement_ = SQL_NULL_HSTMT;
        return SessionFailure::AllocateStatement;
    }
    return SessionFailure::None;
}

bool DatabaseSession::connectionError(std::string& state, std::string& message) const
{
    SQLCHAR stateBuffer[kSqlStateSize] = {};
    SQLCHAR messageBuffer[kDiagnosticMessageSize] = {};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT messageLength = 0;
    SQLRETURN rc = SQLError(environment_, connection_, SQL_NULL_HSTMT, stateBuffer, &nativeError,
                            messageBuffer, sizeof messageBuffer - 1, &messageLength);
    if (!succeeded(rc)) return false;
    state = reinterpret_cast<const char*>(stateBuffer);
    message = reinterpret_cast<const char*>(messageBuffer);
    return true;
}

void DatabaseSession::endRequestReads()
{
    if (connected_) SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT);
}

void DatabaseSession::close()
{
    if (statement_ != SQL_NULL_HSTMT) {
        SQLFreeStmt(statement_, SQL_DROP);
        statement_ = SQL_NULL_HSTMT;
    }
    if (connected_) {
        endRequestReads();
        SQLDisconnect(connection_);
        connected_ = false;
    }
    if (connection_ != SQL_NULL_HDBC) {
        SQLFreeConnect(connection_);
        connection_ = SQL_NULL_HDBC;
    }
    if (environment_ != SQL_NULL_HENV) {
        SQLFreeEnv(environment_);
        environment_ = SQL_NULL_HENV;
    }
}

void writeConnectionDiagnostic(const DatabaseSession& session)
{
    std::string state, message;
    if (!session.connectionError(state, message)) return;
    writeFormatted("SQLSTATE = '%s'\n", state.c_str());
    writeFormatted("Error message = '%s'\n", message.c_str());
}

SecondStatement::SecondStatement(SQLHDBC connection)
{
    const SQLRETURN rc = SQLAllocStmt(connection, &statement_);
    if (rc != SQL_SUCCESS) logOdbcFailure("SQLAllocStmt", SQL_HANDLE_DBC, connection, rc);
    // Only a plain success counts; a handle allocated with a warning is
    // still released by the destructor.
    if (!succeeded(rc)) statement_ = SQL_NULL_HSTMT;
    usable_ = rc == SQL_SUCCESS;
}

SecondStatement::~SecondStatement()
{
    if (statement_ != SQL_NULL_HSTMT) SQLFreeStmt(statement_, SQL_DROP);
}

}  // namespace vldr
