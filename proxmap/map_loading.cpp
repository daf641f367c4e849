#include "map_loading.h"

#include <unordered_map>

#include "catalog.h"
#include "display_name.h"
#include "ids.h"
#include "point_search_page.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// The apparent visual magnitudes of the first components of the systems
// listed in lines, in their order, read in one query on statement.
std::vector<std::optional<double>> loadFirstComponentMagnitudes(SQLHSTMT statement,
                                                                const std::vector<ResultLine>& lines)
{
    std::vector<std::optional<double>> magnitudes(lines.size());
    if (lines.empty()) return magnitudes;
    std::string owners;
    for (const ResultLine& line : lines) {
        if (!owners.empty()) owners += ", ";
        owners += std::to_string(line.systemId + kComponentOffsets.first);
    }
    std::unordered_map<Id, double> byOwner;
    Id owner = 0;
    bool hasOwner = false;
    double magnitude = 0;
    bool hasMagnitude = false;
    // A failed query leaves every magnitude out, as every failed query leaves its part out.
    const bool ran = forEachRow(
        statement,
        composeStatement("SELECT OwnerID, ApparentVMag FROM Magnitudes WHERE OwnerID IN (%s)", owners.c_str()),
        [&](RowBinder& row) { row.bindColumns(flagged(owner, hasOwner), flagged(magnitude, hasMagnitude)); },
        [&] {
            if (hasOwner && hasMagnitude) byOwner.emplace(owner, magnitude);
            return true;
        });
    if (!ran) byOwner.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto found = byOwner.find(lines[i].systemId + kComponentOffsets.first);
        if (found != byOwner.end()) magnitudes[i] = found->second;
    }
    return magnitudes;
}

}  // namespace

MapData loadMapData(SQLHSTMT statement, const NeighbourRequest& request, const GalacticPoint& centre,
                    NeighbourList& neighbours)
{
    MapData data;
    data.centre = centre;
    const CatalogNames catalogs = loadCatalogNames(statement);
    data.centreName = searchesAroundSystem(request) ? systemDisplayName(statement, catalogs, request.systemId)
                                                    : pointText(request);
    data.results = loadSearchResults(statement, catalogs, centre, request, request.systemId, neighbours);
    data.apparentMagnitudes = loadFirstComponentMagnitudes(statement, data.results.lines);
    return data;
}

}  // namespace vldr
