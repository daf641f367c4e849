// Which position rows a neighbour search reads: every row of Positions, or,
// when the database holds the position grid (db/indexes.sql), only the rows
// filed in the cubes around the search sphere, in the same order.
#pragma once

#include <optional>
#include <string>

#include "coordinates.h"
#include "neighbour_scan.h"

namespace vldr {

// The table of the position grid; a database without it is searched by
// reading every row.
inline constexpr const char* kPositionGridTable = "PositionCells";

// The layout of the position grid, fixed by db/indexes.sql: cubes of this
// edge (light-years), numbered floor(coordinate / edge) along each axis...
inline constexpr double kGridCellEdge = 10;
// ...up to this many cubes from the Sun along each axis; rows farther out,
// and rows whose values are not plain numbers, lie in the catch-all cube.
inline constexpr long long kGridCellLimit = 1000000;
inline constexpr long long kGridCatchAllCell = 9000000000LL;

// Most columns of cubes (one seek each) a grid search reads; a wider
// sphere reads every row instead, which then costs about the same.
inline constexpr long long kMaxGridColumns = 4096;

// The grid holds coordinates computed by SQLite from the stored values,
// the search computes them from the values the driver hands over: the
// sphere the grid is asked for is wider by this share of the coordinates'
// size (far more than the two ever differ by).
inline constexpr double kGridMarginFraction = 1e-6;

// The statement that reads every row of Positions (see neighbour_scan.h).
inline constexpr const char* kPositionScan = kNeighbourScanStatement;

// The statement that reads, with the same eight columns and in the same
// order (ascending rowid), the rows of Positions that the grid files within
// radius (light-years) of centre, plus those in the catch-all cube: every
// row the full scan would find within the radius and maybe a few more.
// Nothing when the sphere is not finite or spans more than kMaxGridColumns
// columns of cubes. The statement fails on a database without the grid.
std::optional<std::string> gridCandidateStatement(const GalacticPoint& centre, double radius);

}  // namespace vldr
