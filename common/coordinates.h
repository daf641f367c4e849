// Conversion of a stored position into rectangular coordinates centred on
// the Sun, and of a position with its motion into a space velocity.
#pragma once

#include "records.h"

namespace vldr {

// A point in galactic rectangular coordinates centred on the Sun (light-years).
struct GalacticPoint {
    double x = 0;
    double y = 0;
    double z = 0;
};

// Right ascension of a position (hours), from its hours, minutes and seconds.
double rightAscensionHours(const PositionRecord& position);

// Declination of a position (degrees); the minutes and seconds take the sign
// of the degrees, and 0 degrees counts as north.
double declinationDegrees(const PositionRecord& position);

// Writes the position's rectangular coordinates (light-years) through x, y, z:
// equatorial axes (x toward 0h on the equator, z toward the north pole), or,
// with galactic, rotated into galactic axes. A distance of 0 gives 0, 0, 0
// whatever the angles. Returns false, writing nothing, when there is no
// distance, or a non-zero distance lacks its right ascension or declination.
bool positionToXYZ(const PositionRecord& position, double& x, double& y, double& z, bool galactic);

// Space velocity in galactic axes U, V, W (km/s) from the position
// (light-years, right ascension, declination) and the motion (proper motion
// in arcsec/yr at an angle in degrees from north, radial velocity in km/s).
// At distance 0 (the Sun) it is 0, 0, 0. Returns false, writing nothing,
// when a needed value is missing or the result is not finite.
bool velocityToUVW(const PositionRecord& position, const VelocityRecord& velocity, double& u, double& v,
                   double& w);

// Rotates an equatorial vector into galactic axes, in place.
void rotateToGalactic(double& x, double& y, double& z);

}  // namespace vldr
