// What an operator sees of a failing data source: every failed ODBC call is
// written to standard error, which a web server keeps in its error log. The
// pages themselves stay as they are, so a visitor sees no more than before.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <string_view>

namespace vldr {

// Writes one line per diagnostic record of a failed ODBC call to standard error:
//   "<program>: <call> failed: SQLSTATE=<state> native=<code>: <message>"
// followed, when statementText is given, by " (statement: <text>)" with the
// text cut to a few hundred characters and control bytes escaped. Reads the
// records with SQLGetDiagRec, which leaves them in place for a caller that
// reports the first one on the page. A call without a handle to ask (handle
// null), or whose handle holds no record, gets one line with its return code.
void logOdbcFailure(const char* call, SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN rc,
                    std::string_view statementText = {});

// One diagnostic record of a handle.
struct DiagnosticRecord {
    std::string state;  // SQLSTATE
    SQLINTEGER nativeError = 0;
    std::string message;
};

// The first diagnostic record of a handle (left in place); nothing when
// the handle is null or holds none.
std::optional<DiagnosticRecord> firstDiagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle);

// The first diagnostic record of a failed fetch that says a value does not
// fit the type it is read into: a data exception (class 22: out of range,
// not a number, not a date, ...) or a type it cannot be converted to.
// Another column's warning (a text cut to fit) may come before it. Nothing
// when the statement holds no such record.
std::optional<DiagnosticRecord> valueFaultOf(SQLHSTMT statement);

// Writes the one line that says a row was skipped because one of its
// values cannot be read, from the statement's record valueFaultOf finds:
//   "<program>: row <n> skipped: SQLSTATE=<state> native=<code>: <message>"
// followed, when statementText is given, by " (statement: <text>)".
// rowNumber counts the rows of the result from 1.
void logSkippedRow(SQLHSTMT statement, long rowNumber, std::string_view statementText = {});

// Writes "<program>: <what>" as one line of the log: for what an operator
// should know of a request that is no failed ODBC call.
void logNote(const std::string& what);

// Sends every log line from now on to the end of *log instead of standard
// error; nullptr returns to standard error. The caller owns log and keeps it
// alive until it calls this again. Used by the FastCGI loop, which passes a
// request's lines to the web server's error log with its response.
void captureErrorLog(std::string* log);

}  // namespace vldr
