// What the map draws, derived from the loaded search before the page is
// written: the scale and rings, the direction marks, and each listed
// system's dot, stalk and label.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ids.h"
#include "map_constants.h"
#include "map_loading.h"
#include "map_view.h"
#include "projection.h"

namespace vldr {

// One listed system as the map draws it.
struct MapDot {
    Id systemId = 0;
    std::string name;       // display name
    double distance = 0;    // from the centre (light-years)
    std::string classText;  // "G2 V", or empty when the first component has no spectral class
    StarKind kind = StarKind::Unknown;
    double radius = 0;      // of the dot (SVG units)
    ScreenPoint at;         // the dot
    ScreenPoint foot;       // the stalk's end in the galactic plane through the centre
    bool belowPlane = false;
    bool labelled = false;  // its name is written beside the dot
};

struct MapLayout {
    MapView view;
    double scale = 0;       // SVG units per light-year
    double ringStep = 0;    // light-years between rings
    int ringCount = 0;
    ScreenPoint galacticCentreMark;  // end of the mark toward the galactic centre
    ScreenPoint northMark;           // end of the mark toward galactic north
    std::vector<MapDot> dots;        // in the order of the list, nearest first
};

// Lays out data in view: the map reaches the farthest listed system (or
// the search radius when none is listed, at least 2 light-years), with
// rings at a round step; every listed system gets its dot, coloured by its
// class and sized by its absolute visual magnitude (from its first
// component's apparent magnitude and its distance from the Sun), and
// labels go to the nearest systems first, at most one in a crowded spot.
MapLayout layOutMap(const MapData& data, const NeighbourRequest& request, const MapView& view);

// Marks labelled the dots whose label box (to the right of the dot, of the
// name's estimated width) stays inside the map and overlaps neither the
// centre's label box (centreLabelWidth wide, to the right of the centre)
// nor a label already placed, taking the dots in their order.
void placeLabels(std::vector<MapDot>& dots, double centreLabelWidth);

// The estimated width of a label of this text (SVG units).
double labelWidth(const std::string& text);

}  // namespace vldr
