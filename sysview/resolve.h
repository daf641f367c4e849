// Finding the system a sysview request names, and the systems whose
// names match a search text.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <unordered_set>

#include "field_limits.h"
#include "ids.h"
#include "sql_text.h"

namespace vldr {

// The systems found by a name search.
struct MatchTable {
    Id ids[kMaxMatches] = {};           // distinct system IDs in order of discovery
    std::string names[kMaxMatches];      // matched proper name (empty for a designation)
    int count = 0;                       // distinct systems found (may exceed kMaxMatches)
    std::unordered_set<int> seen;        // every distinct system ID counted
};

// True when a Systems row with this ID exists. An ID below 1 or not a
// multiple of 100 gives false without a query.
bool systemExists(SQLHSTMT statement, Id id);

// Searches the proper names of systems and components for text as a
// substring, or failing that the catalogue designation "ABBREV VALUE" that
// text spells, and fills table (empty before). True when a system was
// found. Runs its first query on a fresh statement.
bool findSystemsByName(SQLHSTMT statement, const SqlQuoted& text, MatchTable& table);

}  // namespace vldr
