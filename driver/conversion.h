// Converting one value of the current row, as SQLite holds it (integer,
// real, text, bytes or NULL), into the C type an application asked for.
#pragma once

#include "handles.h"

namespace vldr::driver {

// The storage one conversion writes: a bound column or SQLGetData's arguments.
struct Target {
    SQLSMALLINT cType = 0;
    SQLPOINTER buffer = nullptr;
    SQLLEN bufferLength = 0;        // bytes; used by SQL_C_CHAR and SQL_C_BINARY
    SQLLEN* indicator = nullptr;    // length or SQL_NULL_DATA; may be null
};

// How a conversion went; all but Done and the two cuts are errors.
enum class Conversion {
    Done,
    TextCut,       // text or bytes longer than the buffer: cut (01004)
    FractionCut,   // a real stored into an integer lost its fraction (01S07)
    OutOfRange,    // the number does not fit the C type (22003)
    NotANumber,    // text that is no number for a numeric C type (22018)
    NotADate,      // not a 'YYYY-MM-DD' date (22007)
    NoIndicator,   // NULL, but nowhere to say so (22002)
    NotConvertible // bytes into a number, a number into a date (07006)
};

// Whether the driver converts into cType (SQLBindCol and SQLGetData refuse others).
bool isSupportedCType(SQLSMALLINT cType);

// Whether cType is an ODBC C type at all (unknown ones are HY003, known
// ones the driver lacks HYC00).
bool isKnownCType(SQLSMALLINT cType);

// Converts column (from 0) of the statement's current row into target.
// NULL sets the indicator to SQL_NULL_DATA and leaves the buffer alone.
// For SQL_C_CHAR and SQL_C_BINARY the first offset bytes are skipped (a
// later SQLGetData call on the same column) and *delivered receives the
// count of bytes written. The indicator receives the length that remains
// from offset on (text and bytes) or the C type's size.
Conversion convertColumn(sqlite3_stmt* prepared, int column, const Target& target, SQLLEN offset, SQLLEN* delivered);

// Records a conversion's warning or error for column (from 1) and returns
// SQL_SUCCESS, SQL_SUCCESS_WITH_INFO or SQL_ERROR.
SQLRETURN reportConversion(DiagnosticArea& diagnostics, Conversion conversion, int column);

}  // namespace vldr::driver
