// The result page of a search around a point (X=, Y=, Z=, or the Sun).
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "neighbour_request.h"
#include "neighbour_search.h"

namespace vldr {

// Writes the whole page of a search around the point (request.X, .Y, .Z):
// page head, heading with the point, the result lines of the systems found
// and the closing tags. Runs all the page's queries on statement before it
// writes; neighbours receives the systems found.
void writePointSearchPage(SQLHSTMT statement, const NeighbourRequest& request, NeighbourList& neighbours);

// The point of the request as its heading writes it: "(x, y, z)", each
// coordinate with "%g".
std::string pointText(const NeighbourRequest& request);

}  // namespace vldr
