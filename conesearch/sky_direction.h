// Directions on the sky: the angle between two of them, and which rows of
// Positions a cone search reads (every row, or only those the direction
// index of db/indexes.sql files near the cone).
#pragma once

#include <optional>
#include <string>

namespace vldr {

// A direction on the sky in the ICRS: right ascension and declination (degrees).
struct SkyDirection {
    double ra = 0;
    double dec = 0;
};

// The angle between two directions (degrees, 0 to 180), by the arctangent
// form of the great-circle distance, which stays accurate at every
// separation (the haversine loses digits near 180 degrees, the cosine rule
// near 0).
double angularDistanceDegrees(const SkyDirection& a, const SkyDirection& b);

// The layout of the direction index, fixed by db/indexes.sql: each system's
// unit vector (equatorial x toward 0h on the equator, z toward the north
// pole) filed by cubes of this edge (1/64, about 0.9 degrees of the sky),
// numbered floor(coordinate * kDirectionCellsPerUnit) along each axis; rows
// whose values are not plain numbers lie in the catch-all cube.
inline constexpr double kDirectionCellsPerUnit = 64;
inline constexpr long long kDirectionCatchAllCell = 9000000000LL;

// Most columns of cubes (one seek each) a cone reads through the index; a
// wider cone reads every row instead, which then costs about the same.
inline constexpr long long kMaxDirectionColumns = 1024;

// The index holds unit vectors computed by SQLite from the stored values,
// the search computes directions from the values the driver hands over (a
// float of seconds): the sphere the index is asked for is wider by this
// much (a unit vector's length; about 0.2 arcseconds, far more than the two
// ever differ by).
inline constexpr double kDirectionMargin = 1e-6;

// The statement that reads every row of Positions, in rowid order, with the
// ten columns a cone search binds.
inline constexpr const char* kDirectionScan =
    "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, OwnerID, DistanceError, Epoch "
    "FROM Positions";

// The statement that reads, with the same columns and in the same order
// (ascending rowid), the rows of Positions that the direction index files
// within radius (degrees) of centre, plus those in the catch-all cube: every
// row the full scan would find in the cone and maybe a few more. Nothing
// when the cone spans more than kMaxDirectionColumns columns of cubes. The
// statement fails on a database without the index.
std::optional<std::string> directionCandidateStatement(const SkyDirection& centre, double radius);

}  // namespace vldr
