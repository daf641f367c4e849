// Everything a map page shows from the database, read before the page
// begins: the search proxlist lists, and the magnitude of each listed
// system's first component.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <vector>

#include "neighbour_request.h"
#include "neighbour_search.h"
#include "position_candidates.h"

namespace vldr {

struct MapData {
    GalacticPoint centre;    // of the search (galactic, light-years)
    std::string centreName;  // the system searched around, or the point as "(x, y, z)"
    SearchResults results;   // exactly what proxlist lists for the request, nearest first
    // The apparent visual magnitude of each listed system's first
    // component, in the order of results.lines; nothing where none is stored.
    std::vector<std::optional<double>> apparentMagnitudes;
};

// Runs the search of request around centre on statement as proxlist runs
// it (loadSearchResults, the system searched around left out in the ID
// form; neighbours receives the systems found), with the display name of
// the system searched around, then the magnitudes of the listed systems'
// first components in one query. Writes nothing.
MapData loadMapData(SQLHSTMT statement, const NeighbourRequest& request, const GalacticPoint& centre,
                    NeighbourList& neighbours);

}  // namespace vldr
