// Loading the system side of a report: its display name, its own proper
// names and catalogue numbers, and its Systems row.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "ids.h"
#include "report.h"

namespace vldr {

// Fills the report's DisplayName (getSystemName with the report's
// Catalogs; none when the system has neither a proper name nor a system
// designation) and SystemNames (the lists of systemId itself, not of its
// components), in this order on statement.
void loadSystemNames(Report& report, SQLHSTMT statement, Id systemId);

// The statement that reads the Systems row of systemId.
std::string systemStatement(Id systemId);

// Reads the Systems row of systemId into the report's System and sets
// hasSystemRow; its date joins NewestUpdate. A failed query or a missing
// row leaves hasSystemRow false.
void loadSystemRecord(Report& report, SQLHSTMT statement, Id systemId);

}  // namespace vldr
