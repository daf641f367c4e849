// Diagnostics: recording what went wrong on a handle, and the two functions
// through which the driver manager reads it back (SQLGetDiagRec,
// SQLGetDiagField; the driver manager serves SQLError from them).
#pragma once

#include "handles.h"

#include <string>

namespace vldr::driver {

// Empties the area; every driver function but the diagnostic ones starts so.
void clearDiagnostics(DiagnosticArea& area);

// Records an error (state such as "HY000") and returns SQL_ERROR.
SQLRETURN fail(DiagnosticArea& area, const char* state, const std::string& message, SQLINTEGER native = 0);

// Records a warning (state "01xxx") and returns SQL_SUCCESS_WITH_INFO.
SQLRETURN warn(DiagnosticArea& area, const char* state, const std::string& message);

// Records SQLite's error on database for result code rc, under the SQLSTATE
// that fits it (busy: HYT00, refused by the read-only rules: 42000, ...),
// with what the driver was doing in front of SQLite's message. Returns SQL_ERROR.
SQLRETURN failFromSqlite(DiagnosticArea& area, sqlite3* database, int rc, const std::string& doing);

// Records "optional feature not implemented" (HYC00) naming the function.
SQLRETURN notImplemented(DiagnosticArea& area, const char* function);

// The return code the recorded diagnostics call for: SQL_ERROR when any
// record is an error, SQL_SUCCESS_WITH_INFO when all are warnings.
SQLRETURN returnCodeOf(const DiagnosticArea& area);

// The diagnostic area of a handle of the given type, or null for a null
// handle or an unknown type.
DiagnosticArea* diagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle);

}  // namespace vldr::driver
