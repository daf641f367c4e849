#include "position_candidates.h"

#include <algorithm>
#include <cmath>

#include "cell_cube.h"
#include "statement.h"

namespace vldr {
namespace {

// The cube along one axis that holds a coordinate (light-years), clamped to
// the numbered cubes.
long long gridCellOf(double coordinate)
{
    const double number = std::floor(coordinate / kGridCellEdge);
    return static_cast<long long>(std::clamp(number, double(-kGridCellLimit), double(kGridCellLimit)));
}

}  // namespace

std::optional<std::string> gridCandidateStatement(const GalacticPoint& centre, double radius)
{
    const double size = std::fabs(centre.x) + std::fabs(centre.y) + std::fabs(centre.z) + radius;
    const double reach = radius + kGridMarginFraction * (1 + size);
    if (!std::isfinite(size) || !std::isfinite(reach)) return std::nullopt;
    const std::optional<CellCube> cube =
        cubesAround(CellSphere{centre.x, centre.y, centre.z, reach}, gridCellOf, kMaxGridColumns);
    if (!cube) return std::nullopt;

    return composeStatement(
        "WITH RECURSIVE "
        "xs(i) AS (SELECT %lld UNION ALL SELECT i + 1 FROM xs WHERE i < %lld), "
        "ys(j) AS (SELECT %lld UNION ALL SELECT j + 1 FROM ys WHERE j < %lld) "
        "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, OwnerID FROM Positions "
        "WHERE OwnerID IN ("
        "SELECT c.OwnerID FROM xs CROSS JOIN ys CROSS JOIN PositionCells c "
        "WHERE c.CellX = xs.i AND c.CellY = ys.j AND c.CellZ BETWEEN %lld AND %lld "
        "AND (c.X - %.17g) * (c.X - %.17g) + (c.Y - %.17g) * (c.Y - %.17g) + (c.Z - %.17g) * (c.Z - %.17g) <= %.17g "
        "UNION ALL SELECT OwnerID FROM PositionCells WHERE CellX = %lld) "
        "ORDER BY rowid",
        cube->x.first, cube->x.last, cube->y.first, cube->y.last, cube->z.first, cube->z.last, centre.x, centre.x,
        centre.y, centre.y, centre.z, centre.z, reach * reach, kGridCatchAllCell);
}

}  // namespace vldr
