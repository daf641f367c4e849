// Every size, step and colour of the neighbourhood map, in one place.
// Lengths on the drawing are SVG user units (pixels at the drawing's own size).
#pragma once

namespace vldr {

// The view a request gets without Turn= and Tilt= (degrees).
inline constexpr double kDefaultTurn = 30;
inline constexpr double kDefaultTilt = 30;
// Degrees in one whole turn; Turn= is accepted up to one whole turn either way.
inline constexpr double kDegreesPerTurn = 360;
inline constexpr double kLargestTurn = kDegreesPerTurn;
// Tilt= accepted (degrees above the galactic plane: edge-on to from above).
inline constexpr double kLowestTilt = 0;
inline constexpr double kHighestTilt = 90;
// How far the page's links turn and tilt the view (degrees).
inline constexpr double kTurnStep = 30;
inline constexpr double kTiltStep = 30;

// The drawing: a square map with the legend below it.
inline constexpr double kMapSize = 720;         // width and height of the map
inline constexpr double kMapRadius = 300;       // the outermost ring's radius on the map
inline constexpr double kLegendHeight = 56;     // the legend's band below the map
// Farthest a coordinate is written from the map's centre: a system far
// beyond the outermost ring (a map held at kLargestMapExtent) is drawn off
// the map, at most this far, not at a number too large to print plainly.
inline constexpr double kFarthestCoordinate = 1e6;
// The farthest a map reaches (light-years): beyond every catalogue, and
// far enough from the largest double that its rings stay finite.
inline constexpr double kLargestMapExtent = 1e300;
// Rings: about this many, at a round step of 1, 2 or 5 times a power of ten (light-years).
inline constexpr double kTargetRingCount = 4;
// Where the direction marks end, as a share of the outermost ring's radius.
inline constexpr double kCentreArrowReach = 1.08;  // toward the galactic centre
inline constexpr double kNorthArrowReach = 0.5;    // toward galactic north

// Dots: radius by absolute visual magnitude, r = kDotRadiusAtReference +
// kDotRadiusPerMagnitude * (kReferenceMagnitude - M), held between the
// smallest and the largest; a system of unknown magnitude gets the default.
inline constexpr double kReferenceMagnitude = 10;
inline constexpr double kDotRadiusAtReference = 2.5;
inline constexpr double kDotRadiusPerMagnitude = 0.35;
inline constexpr double kSmallestDotRadius = 2;
inline constexpr double kLargestDotRadius = 7;
inline constexpr double kUnknownMagnitudeDotRadius = 2.5;
inline constexpr double kCentreMarkSize = 8;  // half the arms of the centre's cross

// Labels: text of this size, estimated this wide per character, placed
// this far right of its dot; two labels closer than their boxes share a
// crowded spot, and only the first (the nearer system) is written.
inline constexpr double kLabelFontSize = 11;
inline constexpr double kLabelCharacterWidth = 6;
inline constexpr double kLabelHeight = 12;
inline constexpr double kLabelGap = 4;

// Colours.
inline constexpr const char* kBackgroundColour = "#0b1020";
inline constexpr const char* kRingColour = "#3c5a78";
inline constexpr const char* kRingLabelColour = "#7f9bb8";
inline constexpr const char* kMarkColour = "#c8d2dc";
inline constexpr const char* kStalkColour = "#6d7f91";
inline constexpr const char* kLabelColour = "#dde4ee";
inline constexpr const char* kDotOutlineColour = "#000000";

}  // namespace vldr

namespace vldr {

// The kinds of star a dot's colour tells apart, by the spectral class of
// the system's first component (star_symbols.h).
enum class StarKind { OB, A, F, G, K, M, Brown, WhiteDwarf, Unknown };

// What the legend calls each kind and its colour, in the order of StarKind.
struct StarKindLook {
    StarKind kind;
    const char* legend;
    const char* colour;
};
inline constexpr StarKindLook kStarKindLooks[] = {
    {StarKind::OB, "O, B", "#9bb0ff"},          // blue-white
    {StarKind::A, "A", "#cad7ff"},
    {StarKind::F, "F", "#f4f1c8"},
    {StarKind::G, "G", "#ffe46b"},              // yellow
    {StarKind::K, "K", "#ffa94d"},              // orange
    {StarKind::M, "M", "#ff4b33"},              // red
    {StarKind::Brown, "L, T, Y", "#9a6233"},    // brown
    {StarKind::WhiteDwarf, "white dwarf", "#ffffff"},
    {StarKind::Unknown, "unknown", "#8c8c8c"},  // grey
};

}  // namespace vldr
