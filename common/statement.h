// The conventions every query follows on its statement handle: close the
// previous cursor, compose the text, execute, bind, fetch.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace vldr {

// Composes a statement text with a printf-style format, in storage that
// grows to fit (a long search text is never cut or overrun).
std::string composeStatement(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Every call here that would query sends nothing and fails once the
// request has stopped querying (request_deadline.h), and notes a failure
// in which the data source gave up.

// Closes the statement's previous cursor, releases its column bindings and executes text. True only when
// the data source answers SQL_SUCCESS; anything else (SQL_SUCCESS_WITH_INFO
// included) is a failed query.
bool runQuery(SQLHSTMT statement, const std::string& text);

// Executes text on a statement that has no open cursor, without closing one first.
bool runQueryOnFreshStatement(SQLHSTMT statement, const std::string& text);

// True when the data source holds a table of that name (asked through
// SQLTables, which closes the statement's previous cursor). A failed
// question is written to the error log and answers false.
bool hasTable(SQLHSTMT statement, const char* name);

// What one fetch gave: a row; a row with a value that cannot be read (it
// does not fit the type it is bound to: SQLSTATE class 22, or 07006), which
// the next fetch moves past; or no row, at the end or after a failure.
enum class Fetched { Row, UnreadableRow, NoRow };

// Fetches the next row. A row comes with SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
// A failure other than the end of the rows or an unreadable row is written
// to the error log; an unreadable row is left to the caller to report, its
// diagnostic records still in place.
Fetched fetchRow(SQLHSTMT statement);

// Binds result column `column` (from 1) to storage of the given C type; a
// failed bind is written to the error log. Loaders bind through RowBinder.
void bindColumn(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, void* storage,
                SQLLEN size, SQLLEN* indicator);

}  // namespace vldr
