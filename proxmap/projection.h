// The oblique view of the map: galactic X, Y, Z around the centre of the
// search onto the flat drawing, and the round steps of its distance rings.
#pragma once

#include "map_view.h"
#include "position_candidates.h"

namespace vldr {

// A point of the drawing, relative to the centre of the map (SVG units:
// x to the right, y downward) with its depth (toward the viewer positive).
struct ScreenPoint {
    double x = 0;
    double y = 0;
    double depth = 0;
};

// Where offset (galactic light-years from the centre of the search) lies on
// the drawing at scale (SVG units per light-year) in view: the galactic
// plane is turned by view.turn degrees about the pole (at 0 the galactic
// centre lies to the right, and Y = 90 degrees of longitude straight away
// from the viewer), then seen from view.tilt degrees above it (0 edge-on,
// 90 from galactic north, where +Y points up the drawing). Galactic north
// points up at every tilt below 90.
ScreenPoint projectOffset(const GalacticPoint& offset, const MapView& view, double scale);

// The point of the galactic plane through the centre straight below (or
// above) offset: offset with its Z set to 0.
GalacticPoint footInPlane(const GalacticPoint& offset);

// The offset of place from centre (light-years).
GalacticPoint offsetFrom(const GalacticPoint& place, const GalacticPoint& centre);

// The step between distance rings for a map that reaches extent
// light-years: 1, 2 or 5 times a power of ten, the smallest such that
// at most kTargetRingCount rings reach extent. Extent
// must be positive and finite.
double ringStep(double extent);

// How many rings of step reach extent (at least 1).
int ringCount(double extent, double step);

}  // namespace vldr
