#include "magnitudes.h"

#include <cmath>

#include "constants.h"

namespace vldr {
namespace {

// Absolute magnitude = apparent magnitude + kDistanceModulusOffset
//                      - kDistanceModulusFactor * log10(distance in parsecs).
constexpr double kDistanceModulusOffset = 5.0;
constexpr double kDistanceModulusFactor = 5.0;
// Absolute magnitude = 4.85 - kMagnitudesPerDecade * log10(luminosity).
constexpr double kMagnitudesPerDecade = 2.5;

}  // namespace

double absoluteMagnitude(double apparentMagnitude, double distanceLightYears)
{
    return (apparentMagnitude + kDistanceModulusOffset) -
           kDistanceModulusFactor * std::log10(distanceLightYears * kParsecsPerLightYear);
}

double apparentMagnitudeAt(double absoluteMagnitude, double parsecs)
{
    return absoluteMagnitude - kDistanceModulusOffset + kDistanceModulusFactor * std::log10(parsecs);
}

double luminosityOf(double absoluteMagnitude)
{
    return std::pow(kBrightnessRatioPerMagnitude, kSolarAbsoluteMagnitude - absoluteMagnitude);
}

double absoluteMagnitudeOfLuminosity(double luminosity)
{
    return kSolarAbsoluteMagnitude - kMagnitudesPerDecade * std::log10(luminosity);
}

}  // namespace vldr
