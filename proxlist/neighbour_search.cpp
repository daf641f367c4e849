#include "neighbour_search.h"

#include <algorithm>
#include <cmath>

#include "coordinates.h"
#include "display_name.h"
#include "ids.h"
#include "records.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// One row of the scan: the position columns land in a PositionRecord.
using ScanRow = OwnedPositionRow;

// Binds the eight columns of the scan, in the order of its statement, to row.
void bindScanRow(RowBinder& binder, ScanRow& row)
{
    bindPositionColumns(binder, row.position);
    binder.bindLong(8, row.OwnerID);
}

// Fetches the next row of the scan into row. A NULL column leaves its bound
// storage alone, so the values are cleared first: a missing minute or second
// then counts as 0 rather than as the previous row's.
bool fetchScanRow(RowBinder& binder, ScanRow& row)
{
    row.position = PositionRecord{};
    row.OwnerID = 0;
    if (!binder.fetch()) return false;
    readPositionPresence(binder, row.position);
    row.hasOwner = binder.has(8);
    return true;
}

// Right ascension of a scanned row (hours), computed as the request's
// limits are so that a row exactly at a limit compares equal to it; 0 when
// absent.
double scannedRightAscension(const PositionRecord& p)
{
    return p.hasRA ? rightAscensionLimit(p.RA_hr, p.RA_min, p.RA_sec) : 0;
}

// Declination of a scanned row (degrees), computed as the request's limits
// are; 0 when absent.
double scannedDeclination(const PositionRecord& p)
{
    return p.hasDec ? declinationLimit(p.Dec_deg, p.Dec_arcmin, p.Dec_arcsec) : 0;
}

// Distance between two galactic points (light-years).
double distanceBetween(const GalacticPoint& a, const GalacticPoint& b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The system of a scanned row that the search keeps, with its place and
// its distance from centre (light-years), or nothing when the row is left
// out: a component's row, the excluded system, a row without a usable
// position, or one outside the ring (inner radius <= d <= radius) or the
// limits (inclusive).
std::optional<Neighbour> keptNeighbour(const ScanRow& row, const GalacticPoint& centre, const NeighbourRequest& request,
                                       Id excludedSystemId)
{
    if (!row.hasOwner || !isSystemRow(row.OwnerID)) return std::nullopt;
    if (row.OwnerID == excludedSystemId) return std::nullopt;
    GalacticPoint place;
    if (!positionToXYZ(row.position, place.x, place.y, place.z, true)) return std::nullopt;
    const double d = distanceBetween(place, centre);
    if (!(d >= request.minLY && d <= request.ly)) return std::nullopt;
    const double ra = scannedRightAscension(row.position);
    const double dec = scannedDeclination(row.position);
    if (ra < request.minRA || ra > request.maxRA || dec < request.minDec || dec > request.maxDec) return std::nullopt;
    return Neighbour{row.OwnerID, d, place};
}

// Starts reading the position rows the search must test, in rowid order:
// the grid's candidates when the database has the grid (asked once: a
// request searches once), else every row. The text of the statement that
// runs; nothing when neither runs.
std::optional<std::string> startPositionRows(SQLHSTMT statement, const GalacticPoint& centre, double radius)
{
    const std::optional<std::string> candidates = gridCandidateStatement(centre, radius);
    if (candidates && hasTable(statement, kPositionGridTable) && runQuery(statement, *candidates)) return candidates;
    if (runQuery(statement, kPositionScan)) return kPositionScan;
    return std::nullopt;
}

// The result line of neighbour: its display name, then the spectrum of its
// system's first component.
ResultLine loadResultLine(SQLHSTMT statement, const CatalogNames& catalogs, const Neighbour& neighbour)
{
    ResultLine line;
    line.systemId = neighbour.systemId;
    line.distance = neighbour.distance;
    line.place = neighbour.place;
    line.name = systemDisplayName(statement, catalogs, neighbour.systemId);
    SpectrumRecord spectrum;
    if (loadSpectrum(statement, neighbour.systemId + kComponentOffsets.first, spectrum) &&
        spectrum.hasSpectralClass) {
        line.hasSpectralClass = true;
        line.spectralClass = spectrum.SpectralClass;
        if (spectrum.hasLuminosityClass) line.luminosityClass = spectrum.LuminosityClass;
    }
    return line;
}

}  // namespace

void insertNeighbour(NeighbourList& list, const Neighbour& neighbour)
{
    Neighbour* const kept = list.slots;
    Neighbour* const end = kept + list.count;
    Neighbour* const farther =
        std::find_if(kept, end, [&](const Neighbour& entry) { return entry.distance > neighbour.distance; });
    // Entries from `farther` on move one slot toward the end; with a full
    // list the last of them lands in the spare slot.
    std::move_backward(farther, end, end + 1);
    *farther = neighbour;
    list.count = std::min(list.count + 1, kMaxShownNeighbours);
    ++list.found;
}

std::optional<GalacticPoint> systemCentre(SQLHSTMT statement, Id systemId)
{
    PositionRecord position;
    if (!loadPosition(statement, systemId, position)) return std::nullopt;
    GalacticPoint centre;
    if (!positionToXYZ(position, centre.x, centre.y, centre.z, true)) return std::nullopt;
    return centre;
}

bool findNeighbours(SQLHSTMT statement, const GalacticPoint& centre, const NeighbourRequest& request,
                    Id excludedSystemId, NeighbourList& list)
{
    list.count = 0;
    list.found = 0;
    std::optional<std::string> scan = startPositionRows(statement, centre, request.ly);
    if (!scan) return false;
    ScanRow row;
    // The bindings point into `row`; the binder releases them when it goes.
    RowBinder binder(statement, std::move(*scan));
    bindScanRow(binder, row);
    while (fetchScanRow(binder, row)) {
        if (const std::optional<Neighbour> kept = keptNeighbour(row, centre, request, excludedSystemId))
            insertNeighbour(list, *kept);
    }
    return true;
}

SearchResults loadSearchResults(SQLHSTMT statement, const CatalogNames& catalogs, const GalacticPoint& centre,
                                const NeighbourRequest& request, Id excludedSystemId, NeighbourList& list)
{
    SearchResults results;
    results.searched = findNeighbours(statement, centre, request, excludedSystemId, list);
    results.found = list.found;
    for (std::size_t i = 0; i < list.count; ++i)
        results.lines.push_back(loadResultLine(statement, catalogs, list.slots[i]));
    return results;
}

}  // namespace vldr
