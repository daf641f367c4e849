#include "position_candidates.h"

#include <algorithm>
#include <cmath>

#include "statement.h"

namespace vldr {
namespace {

// The range of cube numbers along one axis that a sphere covers.
struct CellRange {
    long long first = 0;
    long long last = 0;
};

// The cubes along one axis that hold coordinates from low to high
// (light-years), clamped to the numbered cubes.
CellRange cellsBetween(double low, double high)
{
    const auto cell = [](double coordinate) {
        const double number = std::floor(coordinate / kGridCellEdge);
        return static_cast<long long>(std::clamp(number, double(-kGridCellLimit), double(kGridCellLimit)));
    };
    return CellRange{cell(low), cell(high)};
}

}  // namespace

std::optional<std::string> gridCandidateStatement(const GalacticPoint& centre, double radius)
{
    const double size = std::fabs(centre.x) + std::fabs(centre.y) + std::fabs(centre.z) + radius;
    const double reach = radius + kGridMarginFraction * (1 + size);
    if (!std::isfinite(size) || !std::isfinite(reach)) return std::nullopt;
    const CellRange xs = cellsBetween(centre.x - reach, centre.x + reach);
    const CellRange ys = cellsBetween(centre.y - reach, centre.y + reach);
    const CellRange zs = cellsBetween(centre.z - reach, centre.z + reach);
    if ((xs.last - xs.first + 1) * (ys.last - ys.first + 1) > kMaxGridColumns) return std::nullopt;

    // The columns of cubes come from two counting tables joined in this
    // order, so that each column is one seek of the grid's key.
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
        xs.first, xs.last, ys.first, ys.last, zs.first, zs.last, centre.x, centre.x, centre.y, centre.y, centre.z,
        centre.z, reach * reach, kGridCatchAllCell);
}

}  // namespace vldr
