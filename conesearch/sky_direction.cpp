#include "sky_direction.h"

#include <algorithm>
#include <cmath>

#include "cell_cube.h"
#include "constants.h"
#include "statement.h"

namespace vldr {
namespace {

// A unit vector in equatorial axes.
struct UnitVector {
    double x = 0;
    double y = 0;
    double z = 0;
};

UnitVector unitVectorOf(const SkyDirection& direction)
{
    const double alpha = direction.ra * kRadiansPerDegree;
    const double delta = direction.dec * kRadiansPerDegree;
    return UnitVector{std::cos(delta) * std::cos(alpha), std::cos(delta) * std::sin(alpha), std::sin(delta)};
}

// The cube along one axis that holds a coordinate of a unit vector.
long long directionCellOf(double coordinate)
{
    return static_cast<long long>(std::floor(std::clamp(coordinate, -1.0, 1.0) * kDirectionCellsPerUnit));
}

}  // namespace

double angularDistanceDegrees(const SkyDirection& a, const SkyDirection& b)
{
    const double deltaA = a.dec * kRadiansPerDegree, deltaB = b.dec * kRadiansPerDegree;
    const double alphaDifference = (b.ra - a.ra) * kRadiansPerDegree;
    const double across = std::cos(deltaB) * std::sin(alphaDifference);
    const double along = std::cos(deltaA) * std::sin(deltaB) - std::sin(deltaA) * std::cos(deltaB) * std::cos(alphaDifference);
    const double toward = std::sin(deltaA) * std::sin(deltaB) + std::cos(deltaA) * std::cos(deltaB) * std::cos(alphaDifference);
    return std::atan2(std::hypot(across, along), toward) / kRadiansPerDegree;
}

std::optional<std::string> directionCandidateStatement(const SkyDirection& centre, double radius)
{
    // Directions within the radius are the unit vectors within this chord.
    const double halfAngle = std::clamp(radius, 0.0, 180.0) * kRadiansPerDegree / 2;
    const double reach = 2 * std::sin(halfAngle) + kDirectionMargin;
    const UnitVector c = unitVectorOf(centre);
    const std::optional<CellCube> cube =
        cubesAround(CellSphere{c.x, c.y, c.z, reach}, directionCellOf, kMaxDirectionColumns);
    if (!cube) return std::nullopt;

    return composeStatement(
        "WITH RECURSIVE "
        "xs(i) AS (SELECT %lld UNION ALL SELECT i + 1 FROM xs WHERE i < %lld), "
        "ys(j) AS (SELECT %lld UNION ALL SELECT j + 1 FROM ys WHERE j < %lld) "
        "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, OwnerID, DistanceError, Epoch "
        "FROM Positions WHERE OwnerID IN ("
        "SELECT c.OwnerID FROM xs CROSS JOIN ys CROSS JOIN DirectionCells c "
        "WHERE c.CellX = xs.i AND c.CellY = ys.j AND c.CellZ BETWEEN %lld AND %lld "
        "AND (c.X - %.17g) * (c.X - %.17g) + (c.Y - %.17g) * (c.Y - %.17g) + (c.Z - %.17g) * (c.Z - %.17g) <= %.17g "
        "UNION ALL SELECT OwnerID FROM DirectionCells WHERE CellX = %lld) "
        "ORDER BY rowid",
        cube->x.first, cube->x.last, cube->y.first, cube->y.last, cube->z.first, cube->z.last, c.x, c.x, c.y, c.y, c.z,
        c.z, reach * reach, kDirectionCatchAllCell);
}

}  // namespace vldr
