// The report page of one resolved star system.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "ids.h"
#include "report.h"

namespace vldr {

// Loads the report of system systemId (a positive multiple of 100 whose
// Systems row exists) into report (empty before), in the fixed order of
// its statements, derives what the page shows beyond the rows
// (deriveReport), then writes the whole page: the sections, the two
// neighbour-search forms, the date of the newest data and the closing tags.
// Second statements are allocated on connection while the shared
// statement's cursor is open. No failure stops the page: missing data are left out.
void writeReport(Report& report, SQLHDBC connection, SQLHSTMT statement, Id systemId);

}  // namespace vldr
