// The result page of a search around a system (ID=).
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "neighbour_request.h"
#include "neighbour_search.h"
#include "position_candidates.h"

namespace vldr {

// Writes the whole page of a search around the system request.systemId,
// whose position is centre (galactic, light-years): page head, heading with
// the system's display name, the result lines of the systems found (the
// system itself left out) and the closing tags. Runs all the page's queries
// on statement before it writes; neighbours receives the systems found.
void writeSystemSearchPage(SQLHSTMT statement, const NeighbourRequest& request, const GalacticPoint& centre,
                           NeighbourList& neighbours);

}  // namespace vldr
