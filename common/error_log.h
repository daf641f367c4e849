// What an operator sees of a failing data source: every failed ODBC call is
// written to standard error, which a web server keeps in its error log. The
// pages themselves stay as they are, so a visitor sees no more than before.
#pragma once

#include <sql.h>
#include <sqlext.h>

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

// Sends every log line from now on to the end of *log instead of standard
// error; nullptr returns to standard error. The caller owns log and keeps it
// alive until it calls this again. Used by the FastCGI loop, which passes a
// request's lines to the web server's error log with its response.
void captureErrorLog(std::string* log);

}  // namespace vldr
