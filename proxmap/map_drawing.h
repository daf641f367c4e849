// The drawing of a map page: one inline SVG element, well-formed XML, that
// needs no script and loads nothing.
#pragma once

#include <string>

#include "map_layout.h"

namespace vldr {

// Writes the SVG element of layout: the background, the distance rings of
// the galactic plane with their labels, the marks toward the galactic
// centre and galactic north, each dot's stalk, each dot (a link to its
// system's report, with a tooltip of name, distance and class, and its
// label where layout places one), the centre with centreName, and the
// legend of colours and sizes. Every text is escaped (escapeXml).
void printMapDrawing(const MapLayout& layout, const std::string& centreName);

}  // namespace vldr
