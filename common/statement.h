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

// Fetches the next row. True when a row came (SQL_SUCCESS or SQL_SUCCESS_WITH_INFO).
bool fetchRow(SQLHSTMT statement);

// Binds result column `column` (from 1) to storage of the given C type; a
// failed bind is written to the error log. Loaders bind through RowBinder.
void bindColumn(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, void* storage,
                SQLLEN size, SQLLEN* indicator);

}  // namespace vldr
