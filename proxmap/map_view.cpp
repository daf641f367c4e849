#include "map_view.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "map_constants.h"

namespace vldr {
namespace {

// The value of text when all of it is one finite decimal number (no words
// such as "inf", no hexadecimal, no trailing text).
std::optional<double> plainNumber(const char* text)
{
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) return std::nullopt;
    for (const char* p = text; *p; ++p)
        if (!std::isdigit(static_cast<unsigned char>(*p)) && *p != '.' && *p != '-' && *p != '+' && *p != 'e' &&
            *p != 'E')
            return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

const char* readMapView(const QueryString& query, MapView& view)
{
    view = MapView{kDefaultTurn, kDefaultTilt};
    if (const char* text = getQueryValue(query, "Turn")) {
        const std::optional<double> turn = plainNumber(text);
        if (!turn || std::fabs(*turn) > kLargestTurn)
            return "Turn must be a number of degrees between -360 and 360.";
        view.turn = *turn;
    }
    if (const char* text = getQueryValue(query, "Tilt")) {
        const std::optional<double> tilt = plainNumber(text);
        if (!tilt || *tilt < kLowestTilt || *tilt > kHighestTilt)
            return "Tilt must be a number of degrees between 0 and 90.";
        view.tilt = *tilt;
    }
    return nullptr;
}

MapView turnedBy(const MapView& view, double degrees)
{
    double turn = std::fmod(view.turn + degrees, kDegreesPerTurn);
    if (turn < 0) turn += kDegreesPerTurn;
    return MapView{turn, view.tilt};
}

MapView tiltedBy(const MapView& view, double degrees)
{
    return MapView{view.turn, std::clamp(view.tilt + degrees, kLowestTilt, kHighestTilt)};
}

}  // namespace vldr
