#include "cell_cube.h"

namespace vldr {

std::optional<CellCube> cubesAround(const CellSphere& sphere, long long (*cellOf)(double coordinate),
                                    long long maxColumns)
{
    const auto along = [&](double centre) {
        return CellRange{cellOf(centre - sphere.reach), cellOf(centre + sphere.reach)};
    };
    const CellCube cube{along(sphere.x), along(sphere.y), along(sphere.z)};
    if ((cube.x.last - cube.x.first + 1) * (cube.y.last - cube.y.first + 1) > maxColumns) return std::nullopt;
    return cube;
}

}  // namespace vldr
