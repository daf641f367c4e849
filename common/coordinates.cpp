#include "coordinates.h"

#include <cmath>

#include "constants.h"

namespace vldr {

double rightAscensionHours(const PositionRecord& position)
{
    return position.RA_sec * kHoursPerSecond + position.RA_min * kHoursPerMinute + position.RA_hr;
}

double declinationDegrees(const PositionRecord& position)
{
    const double sign = position.Dec_deg < 0 ? -1.0 : 1.0;
    return sign * position.Dec_arcsec * kHoursPerSecond + sign * position.Dec_arcmin * kHoursPerMinute +
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

}  // namespace vldr
