// How a system's dot looks: its colour by the spectral class of the
// system's first component, its size by that star's absolute visual
// magnitude.
#pragma once

#include <optional>
#include <string_view>

#include "map_constants.h"

namespace vldr {

// The kind of star a spectral class and luminosity class name: a class
// beginning with D (DA, DB, DC, ...) or WD, or luminosity class VII, is a
// white dwarf; otherwise the first capital letter after any lower-case
// prefix (sd, esd, d, ...) decides: O and B (and Wolf-Rayet W), A, F, G,
// K, M (and the carbon and S stars C, R, N, S, as red as M), L, T and Y
// brown; anything else, or no class, is unknown.
StarKind starKindOf(std::string_view spectralClass, std::string_view luminosityClass);

// The colour and legend text of kind (kStarKindLooks).
const StarKindLook& lookOf(StarKind kind);

// The absolute visual magnitude of a star of this apparent visual magnitude
// distanceFromSun light-years away: the Sun's own 4.85 at distance 0, the
// distance modulus otherwise; nothing for a negative distance or a result
// that is not finite.
std::optional<double> absoluteVisualMagnitude(double apparentMagnitude, double distanceFromSun);

// The radius of a dot (SVG units) for a star of absolute visual magnitude
// M: brighter stars larger, kDotRadiusAtReference at kReferenceMagnitude,
// held between kSmallestDotRadius and kLargestDotRadius;
// kUnknownMagnitudeDotRadius when the magnitude is not known.
double dotRadius(std::optional<double> absoluteMagnitude);

}  // namespace vldr
