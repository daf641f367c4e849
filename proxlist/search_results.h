// The parts both result pages share: the heading that says what was
// searched, and the result lines of the systems found.
#pragma once

#include <string>

#include "neighbour_request.h"
#include "neighbour_search.h"

namespace vldr {

// Writes the heading of a search around centre (a system's display name or
// a point written "(x, y, z)"), from "<CENTER><H3>" to ":</H3></CENTER>" and
// its line end: the radius, or the inner and outer radius, then the
// right-ascension and declination clauses of the limits that are not open.
void printSearchHeading(const NeighbourRequest& request, const std::string& centre);

// Writes the result lines of a search: when it could not run, the
// internal-error line; else the count line when more than 100 were found,
// then one line per kept system, nearest first, with its display name,
// distance and the spectral class of its first component, or the
// no-neighbours line.
void printSearchResults(const SearchResults& results);

}  // namespace vldr
