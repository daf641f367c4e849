// The map page: the systems of a neighbour search drawn around its centre.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "map_view.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "position_candidates.h"

namespace vldr {

// Writes the whole map page of request around centre (galactic,
// light-years) in view: page head, the heading proxlist writes (names
// escaped), the count line when more than 100 were found or the
// no-neighbours line, the drawing, the view links (from rawQuery, the
// QUERY_STRING) and the closing tags; a search that could not run gets the
// internal-error line in place of the drawing. Runs every query on
// statement before it writes; neighbours receives the systems found.
void writeMapPage(SQLHSTMT statement, const NeighbourRequest& request, const GalacticPoint& centre,
                  const MapView& view, const std::string& rawQuery, NeighbourList& neighbours);

}  // namespace vldr
