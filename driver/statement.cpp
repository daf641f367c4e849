// Statement execution: SQLPrepare, SQLExecute, SQLExecDirect, SQLFetch,
// SQLFetchScroll (next row only), SQLFreeStmt, SQLCloseCursor,
// SQLNumResultCols, SQLRowCount, SQLMoreResults, SQLCancel. Rows are read
// one step at a time from SQLite; nothing is copied beyond the bound
// buffers.
#include "binding.h"
#include "diagnostics.h"
#include "statement_support.h"

#include "read_transaction.h"
#include "text_output.h"

namespace vldr::driver {
namespace {

// True when text (after a statement's end) holds only spaces and comments.
bool isOnlyComments(sqlite3* database, const char* text, const char* end)
{
    while (text < end) {
        sqlite3_stmt* next = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(database, text, static_cast<int>(end - text), &next, &tail);
        const bool empty = rc == SQLITE_OK && next == nullptr;
        sqlite3_finalize(next);
        if (!empty) return false;
        if (tail == text) break;
        text = tail;
    }
    return true;
}

// Prepares text into prepared after the checks of prepareStatement; a
// statement that fails one is finalized here and never reaches the cache.
SQLRETURN prepareChecked(Statement& statement, std::string_view text, sqlite3_stmt*& prepared)
{
    sqlite3* database = statement.connection->database;
    const char* end = text.data() + text.size();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(database, text.data(), static_cast<int>(text.size()), &prepared, &tail);
    const auto refuse = [&](const char* why) {
        sqlite3_finalize(prepared);
        prepared = nullptr;
        return fail(statement.diagnostics, "42000", why);
    };
    if (rc != SQLITE_OK) {
        sqlite3_finalize(prepared);
        prepared = nullptr;
        return failFromSqlite(statement.diagnostics, database, rc, "preparing the statement");
    }
    if (prepared == nullptr) return fail(statement.diagnostics, "42000", "the statement text is empty");
    if (!isOnlyComments(database, tail, end)) return refuse("the text holds more than one statement; send one at a time");
    if (!sqlite3_stmt_readonly(prepared)) {
        return refuse("the data source only reads; this statement would change the database and is refused");
    }
    return SQL_SUCCESS;
}

// Steps once; on the end or an error the statement is reset, which ends
// its read of the file at once.
int step(Statement& statement)
{
    const int rc = sqlite3_step(statement.prepared);
    if (rc == SQLITE_ROW) return rc;
    sqlite3_reset(statement.prepared);
    statement.cursor = rc == SQLITE_DONE ? CursorState::AfterLastRow : CursorState::Prepared;
    return rc;
}

void reportRowsFetched(const Statement& statement, SQLULEN rows, SQLUSMALLINT status)
{
    if (statement.rowsFetched) *statement.rowsFetched = rows;
    if (statement.rowStatus) *statement.rowStatus = status;
}

SQLRETURN fetchNextRow(Statement& statement)
{
    DiagnosticArea& diagnostics = statement.diagnostics;
    if (!hasResultSet(statement)) return fail(diagnostics, "HY010", "no statement has been executed");
    if (sqlite3_column_count(statement.prepared) == 0) return fail(diagnostics, "24000", "the statement has no result set");
    if (statement.cursor == CursorState::OnRow) {
        const int rc = step(statement);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            reportRowsFetched(statement, 0, SQL_ROW_ERROR);
            return failFromSqlite(diagnostics, statement.connection->database, rc, "reading the next row");
        }
    }
    if (statement.cursor == CursorState::AfterLastRow) {
        reportRowsFetched(statement, 0, SQL_ROW_NOROW);
        return SQL_NO_DATA;
    }
    statement.cursor = CursorState::OnRow;
    statement.getDataColumn = 0;
    const SQLRETURN rc = fillBoundColumns(statement);
    reportRowsFetched(statement, 1,
                      rc == SQL_SUCCESS ? SQL_ROW_SUCCESS : rc == SQL_ERROR ? SQL_ROW_ERROR : SQL_ROW_SUCCESS_WITH_INFO);
    return rc;
}

}  // namespace

void finalizeStatement(Statement& statement)
{
    if (statement.prepared != nullptr) {
        statement.connection->preparedStatements.keep(std::move(statement.text), statement.prepared);
    }
    statement.text.clear();
    statement.prepared = nullptr;
    statement.cursor = CursorState::NoStatement;
}

void closeCursor(Statement& statement)
{
    if (statement.prepared == nullptr) return;
    sqlite3_reset(statement.prepared);
    statement.cursor = CursorState::Prepared;
}

bool hasResultSet(const Statement& statement)
{
    return statement.cursor == CursorState::RowPending || statement.cursor == CursorState::OnRow ||
           statement.cursor == CursorState::AfterLastRow;
}

SQLRETURN prepareStatement(Statement& statement, std::string_view text)
{
    finalizeStatement(statement);
    sqlite3_stmt* prepared = statement.connection->preparedStatements.take(text);
    if (prepared == nullptr) {
        const SQLRETURN rc = prepareChecked(statement, text, prepared);
        if (rc != SQL_SUCCESS) return rc;
    }
    statement.prepared = prepared;
    statement.text = text;
    statement.cursor = CursorState::Prepared;
    return SQL_SUCCESS;
}

SQLRETURN executeStatement(Statement& statement)
{
    if (statement.cursor == CursorState::NoStatement) return fail(statement.diagnostics, "HY010", "no statement is prepared");
    if (hasResultSet(statement)) return fail(statement.diagnostics, "24000", "the cursor is still open; close it first");
    const int begun = beginReadTransactionIfManual(*statement.connection);
    if (begun != SQLITE_OK) {
        return failFromSqlite(statement.diagnostics, statement.connection->database, begun, "beginning the read transaction");
    }
    const int rc = step(statement);
    if (rc == SQLITE_ROW) {
        statement.cursor = CursorState::RowPending;
        return SQL_SUCCESS;
    }
    if (rc == SQLITE_DONE) return SQL_SUCCESS;
    return failFromSqlite(statement.diagnostics, statement.connection->database, rc, "executing the statement");
}

}  // namespace vldr::driver

using namespace vldr::driver;

// Prepares a statement text for SQLExecute.
SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (hasResultSet(*statement)) return fail(statement->diagnostics, "24000", "the cursor is still open; close it first");
    return prepareStatement(*statement, textArgument(text, length));
}

// Executes the prepared statement up to its first row.
SQLRETURN SQL_API SQLExecute(SQLHSTMT handle)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    return executeStatement(*statement);
}

// Prepares and executes a statement text.
SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (hasResultSet(*statement)) return fail(statement->diagnostics, "24000", "the cursor is still open; close it first");
    const SQLRETURN rc = prepareStatement(*statement, textArgument(text, length));
    return rc == SQL_SUCCESS ? executeStatement(*statement) : rc;
}

// Moves to the next row and fills the bound columns from it.
SQLRETURN SQL_API SQLFetch(SQLHSTMT handle)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    return fetchNextRow(*statement);
}

// The cursor only moves forward: SQL_FETCH_NEXT is SQLFetch; others are refused.
SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (orientation != SQL_FETCH_NEXT) {
        return fail(statement->diagnostics, "HY106", "the cursor only moves forward (SQL_FETCH_NEXT)");
    }
    return fetchNextRow(*statement);
}

// SQL_CLOSE closes the cursor, SQL_UNBIND releases every column binding,
// SQL_RESET_PARAMS has nothing to reset, SQL_DROP releases the statement.
SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    switch (option) {
    case SQL_CLOSE:
        closeCursor(*statement);
        return SQL_SUCCESS;
    case SQL_UNBIND:
        statement->bindings.clear();
        return SQL_SUCCESS;
    case SQL_RESET_PARAMS:
        return SQL_SUCCESS;
    case SQL_DROP:
        return SQLFreeHandle(SQL_HANDLE_STMT, handle);
    default:
        return fail(statement->diagnostics, "HY092", "unknown SQLFreeStmt option " + std::to_string(option));
    }
}

// Closes an open cursor; 24000 when none is open.
SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (!hasResultSet(*statement)) return fail(statement->diagnostics, "24000", "no cursor is open");
    closeCursor(*statement);
    return SQL_SUCCESS;
}

// The number of result columns of the prepared or executed statement.
SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (statement->prepared == nullptr) return fail(statement->diagnostics, "HY010", "no statement is prepared");
    if (count) *count = static_cast<SQLSMALLINT>(sqlite3_column_count(statement->prepared));
    return SQL_SUCCESS;
}

// A reading statement changes no rows, and the number of rows a query
// yields is not known before they are read: always -1.
SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (statement->prepared == nullptr) return fail(statement->diagnostics, "HY010", "no statement has been executed");
    if (count) *count = -1;
    return SQL_SUCCESS;
}

// A statement has one result set: there is never a next one (the cursor closes).
SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    closeCursor(*statement);
    return SQL_NO_DATA;
}

// Nothing runs in the background, so there is nothing to cancel.
SQLRETURN SQL_API SQLCancel(SQLHSTMT handle)
{
    clearDiagnostics(static_cast<Statement*>(handle)->diagnostics);
    return SQL_SUCCESS;
}
