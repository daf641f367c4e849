#include "coordinates.h"

#include <cmath>

#include "constants.h"

namespace vldr {
namespace {

// Declinations are measured from the equator, polar distances from the north pole (degrees).
constexpr double kNorthPoleDeclination = 90.0;

// Minutes in an hour or a degree, and seconds in one.
constexpr double kMinutesPerUnit = 60.0;
constexpr double kSecondsPerUnit = 3600.0;

// Right ascension (radians) and declination (radians) of a position with
// both, for the space velocity: alpha = (hours + minutes/60 + seconds/3600)
// * radians per hour; the declination in degrees, deg + s*min/60 +
// s*sec/3600 with s the sign of the degrees, turned into a polar distance
// and back. Evaluated in exactly this order (not in the order the
// rectangular coordinates use), so that the last bits match that formula.
void equatorialAngles(const PositionRecord& position, double& alpha, double& delta)
{
    const double hours = position.RA_hr + position.RA_min / kMinutesPerUnit +
                         static_cast<double>(position.RA_sec) / kSecondsPerUnit;
    alpha = hours * kRadiansPerHour;
    const double sign = position.Dec_deg < 0 ? -1.0 : 1.0;
    const double degrees = position.Dec_deg + sign * position.Dec_arcmin / kMinutesPerUnit +
                           sign * static_cast<double>(position.Dec_arcsec) / kSecondsPerUnit;
    const double polarDistance = (kNorthPoleDeclination - degrees) * kRadiansPerDegree;
    delta = kRightAngleRadians - polarDistance;
}

}  // namespace

double rightAscensionHours(const PositionRecord& position)
{
    return position.RA_sec * kPartsPerSecond + position.RA_min * kPartsPerMinute + position.RA_hr;
}

double declinationDegrees(const PositionRecord& position)
{
    const double sign = position.Dec_deg < 0 ? -1.0 : 1.0;
    return sign * position.Dec_arcsec * kPartsPerSecond + sign * position.Dec_arcmin * kPartsPerMinute +
           position.Dec_deg;
}

void rotateToGalactic(double& x, double& y, double& z)
{
    const double ex = x, ey = y, ez = z;
    x = kGalacticRotation[0][0] * ex + kGalacticRotation[0][1] * ey + kGalacticRotation[0][2] * ez;
    y = kGalacticRotation[1][0] * ex + kGalacticRotation[1][1] * ey + kGalacticRotation[1][2] * ez;
    z = kGalacticRotation[2][0] * ex + kGalacticRotation[2][1] * ey + kGalacticRotation[2][2] * ez;
}

bool positionToXYZ(const PositionRecord& position, double& x, double& y, double& z, bool galactic)
{
    if (!position.hasDistance) return false;
    if (position.Distance == 0 || std::isnan(position.Distance)) {
        x = y = z = 0;
        return true;
    }
    if (!position.hasRA || !position.hasDec) return false;
    const double alpha = rightAscensionHours(position) * kRadiansPerHour;
    const double theta = (90 - declinationDegrees(position)) * kRadiansPerDegree;
    const double d = position.Distance;
    double ex = d * std::cos(alpha) * std::sin(theta);
    double ey = d * std::sin(alpha) * std::sin(theta);
    double ez = d * std::cos(theta);
    if (galactic) rotateToGalactic(ex, ey, ez);
    x = ex;
    y = ey;
    z = ez;
    return true;
}

bool velocityToUVW(const PositionRecord& position, const VelocityRecord& velocity, double& u, double& v,
                   double& w)
{
    if (!position.hasDistance) return false;
    if (position.Distance == 0) {
        u = v = w = 0;
        return true;
    }
    if (!position.hasRA || !position.hasDec || !velocity.hasProperMotion || !velocity.hasPMAngle ||
        !velocity.hasRadialVelocity)
        return false;

    double alpha = 0, delta = 0;
    equatorialAngles(position, alpha, delta);
    const double phi = velocity.PMAngle * kRadiansPerDegree;
    // Light-years crossed per year, times the speed of light: km/s.
    const double vt = std::tan(velocity.ProperMotion * kRadiansPerArcsecond) * position.Distance * kSpeedOfLight;
    const double rv = velocity.RadialVelocity;

    double x = rv * std::cos(alpha) * std::cos(delta) - vt * std::sin(alpha) * std::sin(phi) -
               vt * std::cos(alpha) * std::sin(delta) * std::cos(phi);
    double y = rv * std::sin(alpha) * std::cos(delta) + vt * std::cos(alpha) * std::sin(phi) -
               vt * std::sin(alpha) * std::sin(delta) * std::cos(phi);
    double z = rv * std::sin(delta) + vt * std::cos(delta) * std::cos(phi);
    rotateToGalactic(x, y, z);
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return false;
    u = x;
    v = y;
    w = z;
    return true;
}

}  // namespace vldr
