// The page that lists the systems whose names match a search text.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "resolve.h"

namespace vldr {

// Loads the catalogue registry and the display name of every shown match
// (on statement, in this order), then writes the whole page: the count of
// systems found for text (escaped), the note when only the first
// kMaxMatches are shown, and one link per shown system with its matched
// name and, when it differs, its display name.
void writeMatchListPage(SQLHSTMT statement, const MatchTable& matches, const std::string& text);

}  // namespace vldr
