#include "statement.h"

#include <cstdarg>
#include <cstdio>
#include <optional>

#include "error_log.h"
#include "request_deadline.h"

namespace vldr {
namespace {

// Writes a failed call on statement to the error log and stops the
// request's querying when the data source gave up on it.
void noteFailure(const char* call, SQLHSTMT statement, SQLRETURN rc, std::string_view text = {})
{
    logOdbcFailure(call, SQL_HANDLE_STMT, statement, rc, text);
    noteFailedCall(SQL_HANDLE_STMT, statement);
}

}  // namespace

std::string composeStatement(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

bool runQueryOnFreshStatement(SQLHSTMT statement, const std::string& text)
{
    if (requestStoppedQuerying()) return false;
    const SQLRETURN rc = SQLExecDirect(statement, (SQLCHAR*)text.c_str(), SQL_NTS);
    if (rc == SQL_SUCCESS) return true;
    noteFailure("SQLExecDirect", statement, rc, text);
    return false;
}

bool runQuery(SQLHSTMT statement, const std::string& text)
{
    SQLFreeStmt(statement, SQL_CLOSE);
    // Bindings outlive the cursor; release them so that no fetch of this
    // query writes into storage an earlier query bound.
    SQLFreeStmt(statement, SQL_UNBIND);
    return runQueryOnFreshStatement(statement, text);
}

bool hasTable(SQLHSTMT statement, const char* name)
{
    SQLFreeStmt(statement, SQL_CLOSE);
    SQLFreeStmt(statement, SQL_UNBIND);
    if (requestStoppedQuerying()) return false;
    const SQLRETURN rc = SQLTables(statement, nullptr, 0, nullptr, 0, (SQLCHAR*)name, SQL_NTS, (SQLCHAR*)"TABLE", SQL_NTS);
    if (rc != SQL_SUCCESS) {
        noteFailure("SQLTables", statement, rc, name);
        return false;
    }
    const bool found = fetchRow(statement) == Fetched::Row;
    SQLFreeStmt(statement, SQL_CLOSE);
    return found;
}

Fetched fetchRow(SQLHSTMT statement)
{
    // A cursor still open when the request stopped querying reads no further.
    if (requestStoppedQuerying()) return Fetched::NoRow;
    const SQLRETURN rc = SQLFetch(statement);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return Fetched::Row;
    if (rc == SQL_NO_DATA) return Fetched::NoRow;
    if (rc == SQL_ERROR && valueFaultOf(statement)) return Fetched::UnreadableRow;
    // An error of the data source (a busy or broken database) ends the rows.
    noteFailure("SQLFetch", statement, rc);
    return Fetched::NoRow;
}

void bindColumn(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, void* storage,
                SQLLEN size, SQLLEN* indicator)
{
    const SQLRETURN rc = SQLBindCol(statement, column, cType, storage, size, indicator);
    if (rc != SQL_SUCCESS) logOdbcFailure("SQLBindCol", SQL_HANDLE_STMT, statement, rc);
}

}  // namespace vldr
