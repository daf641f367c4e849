// The cubes of a cube index (the position grid and the direction index of
// db/indexes.sql) that a search sphere covers: each index files a point per
// system in numbered cubes, and a search reads them column by column. Its
// statement (one per index, its text beside the index's layout) takes the
// columns of cubes from two counting tables, xs and ys, joined in this
// order, so that each column is one seek of the index's key.
#pragma once

#include <optional>

namespace vldr {

// The range of cube numbers along one axis.
struct CellRange {
    long long first = 0;
    long long last = 0;
};

// The cubes along the three axes that a sphere covers.
struct CellCube {
    CellRange x;
    CellRange y;
    CellRange z;
};

// A sphere in an index's own coordinates and unit.
struct CellSphere {
    double x = 0;
    double y = 0;
    double z = 0;
    double reach = 0;  // radius
};

// The cubes that hold the sphere, each axis numbered by cellOf (the cube
// along one axis that holds a coordinate). Nothing when they make more than
// maxColumns columns of cubes (one seek each).
std::optional<CellCube> cubesAround(const CellSphere& sphere, long long (*cellOf)(double coordinate),
                                    long long maxColumns);

}  // namespace vldr
