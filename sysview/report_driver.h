// The report page of one resolved star system.
#pragma once

#include <sql.h>
#include <sqlext.h>

namespace vldr {

// Writes the whole report page of system systemId (a positive multiple of
// 100 whose Systems row exists), header line included: loads the report in
// its fixed order and prints the sections, the two neighbour-search forms,
// the date of the newest data and the closing tags. Second statements are
// allocated on connection while the shared statement's cursor is open.
// No failure stops the page: missing data are left out.
void writeReport(SQLHDBC connection, SQLHSTMT statement, long systemId);

}  // namespace vldr
