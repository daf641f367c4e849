#include "projection.h"

#include <cmath>

#include "constants.h"
#include "map_constants.h"

namespace vldr {

ScreenPoint projectOffset(const GalacticPoint& offset, const MapView& view, double scale)
{
    const double turn = view.turn * kRadiansPerDegree;
    const double tilt = view.tilt * kRadiansPerDegree;
    // The plane turned about the pole: `across` to the right, `away` from the viewer.
    const double across = offset.x * std::cos(turn) - offset.y * std::sin(turn);
    const double away = offset.x * std::sin(turn) + offset.y * std::cos(turn);
    // Seen from above the plane, what lies away rises on the drawing and Z rises less.
    const double up = away * std::sin(tilt) + offset.z * std::cos(tilt);
    const double depth = -away * std::cos(tilt) + offset.z * std::sin(tilt);
    return ScreenPoint{across * scale, -up * scale, depth * scale};
}

GalacticPoint footInPlane(const GalacticPoint& offset)
{
    return GalacticPoint{offset.x, offset.y, 0};
}

GalacticPoint offsetFrom(const GalacticPoint& place, const GalacticPoint& centre)
{
    return GalacticPoint{place.x - centre.x, place.y - centre.y, place.z - centre.z};
}

double ringStep(double extent)
{
    const double wanted = extent / kTargetRingCount;
    double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (;;) {
        for (const double multiple : {1.0, 2.0, 5.0})
            if (multiple * decade >= wanted) return multiple * decade;
        decade *= 10;
    }
}

int ringCount(double extent, double step)
{
    const double rings = std::ceil(extent / step);
    return rings < 1 ? 1 : static_cast<int>(rings);
}

}  // namespace vldr
