// Column binding and delivery: SQLBindCol records where a column goes,
// every fetch fills the bound columns from the new row, SQLGetData reads
// a column of the current row on request (text and bytes in pieces).
#pragma once

#include "handles.h"

namespace vldr::driver {

// Fills every bound column from the statement's current row. Returns
// SQL_SUCCESS, SQL_SUCCESS_WITH_INFO (a text cut, a fraction lost) or
// SQL_ERROR (a value that does not convert; the other columns are filled).
SQLRETURN fillBoundColumns(Statement& statement);

}  // namespace vldr::driver
