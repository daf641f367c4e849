// Photometry derived from a component's apparent visual magnitude and its
// distance: absolute magnitude, visual luminosity and comfort zone, at
// normal and at maximum brightness.
#include <cmath>

#include "photometry.h"

#include "constants.h"

namespace vldr {
namespace {

// The values of a component whose photometry cannot be derived.
ComponentPhotometry notComputable()
{
    return ComponentPhotometry{kNoAbsoluteMagnitude, kNoValue, kNoValue, kNoAbsoluteMagnitude, kNoValue};
}

// The photometry of one component, or the sentinels. A distance that is
// negative or not a number has no logarithm, and a value that overflows
// cannot be shown: both count as not computable.
ComponentPhotometry photometryOf(const ComponentRecord& component, const PositionRecord& position)
{
    const MagnitudeRecord& magnitudes = component.Magnitudes;
    if (!component.hasMagnitudes || !magnitudes.hasApparentVMag || !position.hasDistance) return notComputable();
    const double distance = position.Distance;  // light-years
    if (!(distance >= 0)) return notComputable();

    ComponentPhotometry result;
    if (distance == 0.0) {
        // The Sun itself.
        result.AbsoluteVMag = kSolarAbsoluteMagnitude;
    } else {
        result.AbsoluteVMag = absoluteMagnitude(magnitudes.ApparentVMag, distance);
    }
    result.AbsoluteVMagAtMax = result.AbsoluteVMag;
    if (magnitudes.hasVMagIncrease) result.AbsoluteVMagAtMax = result.AbsoluteVMag - magnitudes.VMagIncrease;
    result.Luminosity = luminosityOf(result.AbsoluteVMag);
    result.LuminosityAtMax = luminosityOf(result.AbsoluteVMagAtMax);
    result.ComfortZone = std::sqrt(result.Luminosity);  // astronomical units

    if (!std::isfinite(result.AbsoluteVMag) || !std::isfinite(result.AbsoluteVMagAtMax) ||
        !std::isfinite(result.Luminosity) || !std::isfinite(result.LuminosityAtMax) ||
        !std::isfinite(result.ComfortZone))
        return notComputable();
    return result;
}

}  // namespace

// For every component: absolute magnitude from its apparent magnitude and
// distance (light-years, own or inherited from the system), luminosity =
// 2.512^(4.85 - absolute magnitude), comfort zone = sqrt(luminosity) in
// astronomical units; the same at maximum brightness with the magnitude
// lowered by VMagIncrease. Sentinels where not computable.
void derivePhotometry(Report& report)
{
    for (int i = 0; i < report.ComponentCount; ++i)
        report.Photometry[i] = photometryOf(report.Components[i], report.ComponentPositions[i]);
}

}  // namespace vldr
