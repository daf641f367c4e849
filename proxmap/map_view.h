// The view a map request asks for: how far the drawing is turned about the
// galactic pole and tilted above the galactic plane.
#pragma once

#include "map_constants.h"
#include "query_string.h"

namespace vldr {

struct MapView {
    double turn = kDefaultTurn;  // degrees about the galactic pole; 0 puts the galactic centre to the right
    double tilt = kDefaultTilt;  // degrees above the galactic plane: 0 edge-on, 90 from galactic north
};

// Reads Turn= and Tilt= from query into view (defaults where absent).
// Writes nothing. Returns null when both are numbers in range (Turn from
// -360 to 360, Tilt from 0 to 90), else the message that says which is not.
// A value must be a plain decimal number, whole: "30", "-12.5".
const char* readMapView(const QueryString& query, MapView& view);

// The view turned by degrees (positive: counterclockwise seen from galactic
// north), its turn brought into 0 up to 360.
MapView turnedBy(const MapView& view, double degrees);

// The view tilted by degrees (positive: up toward galactic north), held
// between 0 and 90.
MapView tiltedBy(const MapView& view, double degrees);

}  // namespace vldr
