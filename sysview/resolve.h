// Finding the system a sysview request names, and the list of systems
// whose names match a search text.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <unordered_set>

namespace vldr {

// Systems stored by a name search.
inline constexpr int kMaxMatches = 50;

// The systems found by a name search; one per process.
struct MatchTable {
    int ids[kMaxMatches] = {};           // distinct system IDs in order of discovery
    std::string names[kMaxMatches];      // matched proper name (empty for a designation)
    int count = 0;                       // distinct systems found (may exceed kMaxMatches)
    std::unordered_set<int> seen;        // every distinct system ID counted
};

// The match table of this process.
MatchTable& matchTable();

// True when a Systems row with this ID exists. An ID below 1 or not a
// multiple of 100 gives false without a query.
bool systemExists(SQLHSTMT statement, long id);

// Searches the proper names of systems and components for text as a
// substring, or failing that the catalogue designation "ABBREV VALUE" that
// text spells, and fills the match table. True when a system was found.
// Runs its first query on a fresh statement.
bool findSystemsByName(SQLHSTMT statement, const std::string& text);

// Writes the match-list page for the systems in the match table.
void printMatchList(SQLHSTMT statement, const std::string& text);

}  // namespace vldr
