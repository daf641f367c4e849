// The links of a map page that show the same search otherwise: the view
// turned or tilted, and the search as a list.
#pragma once

#include <string>
#include <string_view>

#include "map_view.h"

namespace vldr {

// The raw query string without its Turn= and Tilt= segments (and without
// empty segments): the search itself, as both neighbour programs read it.
std::string searchQuery(std::string_view rawQuery);

// Writes one paragraph of links from searchQuery (see above): the map
// turned 30 degrees clockwise and counterclockwise (seen from galactic
// north), tilted down and up by 30 degrees (each only where the tilt can
// still change), and the search as a list (proxlist.exe). Relative links,
// escaped for the URL and their attributes.
void printViewLinks(const std::string& searchQuery, const MapView& view);

}  // namespace vldr
