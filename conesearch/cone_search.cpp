#include "cone_search.h"

#include <algorithm>
#include <cstddef>

#include "constants.h"
#include "coordinates.h"
#include "display_name.h"
#include "field_limits.h"
#include "ids.h"
#include "row_binder.h"
#include "sky_direction.h"
#include "statement.h"

namespace vldr {
namespace {

// One row of the scan.
struct ScanRow : OwnedPositionRow {
    bool hasEpoch = false;
    double epoch = 0;
};

void bindScanRow(RowBinder& binder, ScanRow& row)
{
    bindPositionColumns(binder, row.position);
    binder.bindLong(8, row.OwnerID);
    binder.bindDouble(9, row.position.DistanceError);
    binder.bindDouble(10, row.epoch);
}

// Fetches the next row into row, cleared first: a NULL column leaves its
// storage alone, and a missing minute or second then counts as 0.
bool fetchScanRow(RowBinder& binder, ScanRow& row)
{
    row = ScanRow{};
    if (!binder.fetch()) return false;
    readPositionPresence(binder, row.position);
    row.hasOwner = binder.has(8);
    row.position.hasDistanceError = binder.has(9);
    row.hasEpoch = binder.has(10);
    return true;
}

// The direction of a scanned row that a cone search may list, or nothing:
// a component's row, a row without right ascension or declination, the Sun.
std::optional<SkyDirection> listedDirection(const ScanRow& row)
{
    if (!row.hasOwner || !isSystemRow(row.OwnerID)) return std::nullopt;
    if (!row.position.hasRA || !row.position.hasDec) return std::nullopt;
    if (row.position.hasDistance && row.position.Distance == 0) return std::nullopt;
    return SkyDirection{rightAscensionHours(row.position) * kDegreesPerHour, declinationDegrees(row.position)};
}

// Starts reading the rows the search must test, in rowid order: the index's
// candidates when the database has the index, else every row.
bool startPositionRows(SQLHSTMT statement, const ConeRequest& request)
{
    if (const std::optional<std::string> candidates = directionCandidateStatement(request.centre, request.radius))
        if (runQuery(statement, *candidates)) return true;
    return runQuery(statement, kDirectionScan);
}

// A row found, with its place in the order of the scan.
struct Found {
    CatalogueRow row;
    std::size_t order = 0;
};

// Nearer first; at the same angle, earlier in the scan first.
bool nearerFirst(const Found& a, const Found& b)
{
    if (a.row.angularDistance != b.row.angularDistance) return a.row.angularDistance < b.row.angularDistance;
    return a.order < b.order;
}

}  // namespace

std::optional<ConeMatches> findConeMatches(SQLHSTMT statement, const ConeRequest& request)
{
    if (!startPositionRows(statement, request)) return std::nullopt;
    ConeMatches matches;
    // The nearest kMaxConeRecords found so far, as a heap whose top is the farthest.
    std::vector<Found> kept;
    ScanRow scanned;
    std::size_t order = 0;
    {
        // The bindings point into `scanned`; the binder releases them when it goes.
        RowBinder binder(statement);
        bindScanRow(binder, scanned);
        while (fetchScanRow(binder, scanned)) {
            ++order;
            const std::optional<SkyDirection> direction = listedDirection(scanned);
            if (!direction || request.radius <= 0) continue;
            const double angle = angularDistanceDegrees(request.centre, *direction);
            if (!(angle <= request.radius)) continue;
            Found found;
            found.order = order;
            found.row.systemId = scanned.OwnerID;
            found.row.position = scanned.position;
            found.row.hasEpoch = scanned.hasEpoch;
            found.row.epoch = scanned.epoch;
            found.row.angularDistance = angle;
            if (kept.size() == kMaxConeRecords) {
                matches.overflow = true;
                if (!nearerFirst(found, kept.front())) continue;
                std::pop_heap(kept.begin(), kept.end(), nearerFirst);
                kept.pop_back();
            }
            kept.push_back(std::move(found));
            std::push_heap(kept.begin(), kept.end(), nearerFirst);
        }
    }
    std::sort_heap(kept.begin(), kept.end(), nearerFirst);
    matches.rows.reserve(kept.size());
    for (Found& found : kept) matches.rows.push_back(std::move(found.row));
    return matches;
}

void loadConeDetails(SQLHSTMT statement, const CatalogNames& catalogs, const std::string& urlBase,
                     std::vector<CatalogueRow>& rows)
{
    for (CatalogueRow& row : rows) {
        const Id primary = row.systemId + kComponentOffsets.first;
        row.name = systemDisplayName(statement, catalogs, row.systemId);
        loadSpectrum(statement, primary, row.spectrum);
        // No row, or a failed query, leaves both magnitudes out.
        if (!fetchFirstRowInto(statement,
                               composeStatement("SELECT ApparentVMag, BminusV FROM Magnitudes WHERE OwnerID = %ld", static_cast<long>(primary)),
                               flagged(row.vMag, row.hasVMag), flagged(row.bMinusV, row.hasBminusV)))
            row.hasVMag = row.hasBminusV = false;
        row.reportUrl = urlBase + reportPath(row.systemId);
    }
}

}  // namespace vldr
