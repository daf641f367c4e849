#include "neighbour_search.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "catalog.h"
#include "coordinates.h"
#include "number_columns.h"
#include "output.h"
#include "records.h"
#include "statement.h"

namespace vldr {
namespace {

// The first component of system S is S + 1.
constexpr std::int32_t kFirstComponentOffset = 1;

// The list of the request; one per process.
NeighbourList neighbourList;

// One row of the scan: the position columns land in a PositionRecord, each
// column with its own length/indicator word.
struct ScanRow {
    PositionRecord position;
    SQLINTEGER OwnerID = 0;
    SQLLEN raHourIndicator = 0, raMinuteIndicator = 0, raSecondIndicator = 0;
    SQLLEN decDegreeIndicator = 0, decMinuteIndicator = 0, decSecondIndicator = 0;
    SQLLEN distanceIndicator = 0, ownerIndicator = 0;
};

// Binds the eight columns of the scan, in the order of its statement, to row.
void bindScanRow(SQLHSTMT statement, ScanRow& row)
{
    PositionRecord& p = row.position;
    bindColumn(statement, 1, SQL_C_UTINYINT, &p.RA_hr, 0, &row.raHourIndicator);
    bindColumn(statement, 2, SQL_C_UTINYINT, &p.RA_min, 0, &row.raMinuteIndicator);
    bindColumn(statement, 3, SQL_C_FLOAT, &p.RA_sec, 0, &row.raSecondIndicator);
    bindColumn(statement, 4, SQL_C_SHORT, &p.Dec_deg, 0, &row.decDegreeIndicator);
    bindColumn(statement, 5, SQL_C_UTINYINT, &p.Dec_arcmin, 0, &row.decMinuteIndicator);
    bindColumn(statement, 6, SQL_C_FLOAT, &p.Dec_arcsec, 0, &row.decSecondIndicator);
    bindColumn(statement, 7, SQL_C_DOUBLE, &p.Distance, 0, &row.distanceIndicator);
    bindColumn(statement, 8, SQL_C_LONG, &row.OwnerID, 0, &row.ownerIndicator);
}

// Fetches the next row of the scan into row. A NULL column leaves its bound
// storage alone, so the values are cleared first: a missing minute or second
// then counts as 0 rather than as the previous row's.
bool fetchScanRow(SQLHSTMT statement, ScanRow& row)
{
    row.position = PositionRecord{};
    row.OwnerID = 0;
    if (!fetchRow(statement)) return false;
    PositionRecord& p = row.position;
    p.hasRA = isPresent(row.raHourIndicator);
    p.hasDec = isPresent(row.decDegreeIndicator);
    // Seconds have no flag of their own: a non-finite one reads as 0.
    isPresentNumber(p.RA_sec, row.raSecondIndicator);
    isPresentNumber(p.Dec_arcsec, row.decSecondIndicator);
    p.hasDistance = isPresentNumber(p.Distance, row.distanceIndicator);
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

// The distance from centre (light-years) of a scanned row that the search
// keeps, or nothing when the row is left out: a component's row, the
// excluded system, a row without a usable position, or one outside the
// ring (inner radius <= d <= radius) or the limits (inclusive).
std::optional<double> keptDistance(const ScanRow& row, const GalacticPoint& centre, const NeighbourRequest& request,
                                   std::int32_t excludedSystemId)
{
    if (!isPresent(row.ownerIndicator) || row.OwnerID % kSystemIdStep != 0) return std::nullopt;
    if (row.OwnerID == excludedSystemId) return std::nullopt;
    GalacticPoint place;
    if (!positionToXYZ(row.position, place.x, place.y, place.z, true)) return std::nullopt;
    const double d = distanceBetween(place, centre);
    if (!(d >= request.minLY && d <= request.ly)) return std::nullopt;
    const double ra = scannedRightAscension(row.position);
    const double dec = scannedDeclination(row.position);
    if (ra < request.minRA || ra > request.maxRA || dec < request.minDec || dec > request.maxDec) return std::nullopt;
    return d;
}

// Starts reading the position rows the search must test, in rowid order:
// the grid's candidates when the database has the grid, else every row.
// False when neither statement runs.
bool startPositionRows(SQLHSTMT statement, const GalacticPoint& centre, double radius)
{
    if (const std::optional<std::string> candidates = gridCandidateStatement(centre, radius))
        if (runQuery(statement, *candidates)) return true;
    return runQuery(statement, kPositionScan);
}

// Writes one result line: link with display name, distance, and the class
// of the system's first component when it has a spectral class.
void printNeighbour(SQLHSTMT statement, const Neighbour& neighbour)
{
    const std::string name = systemDisplayName(statement, neighbour.systemId);
    writeFormatted("<BR><A HREF=\"sysview.exe?ID=%d\">%s</A>: %g light-years", static_cast<int>(neighbour.systemId),
                   name.c_str(), neighbour.distance);
    SpectrumRecord spectrum;
    if (loadSpectrum(statement, neighbour.systemId + kFirstComponentOffset, spectrum) && spectrum.hasSpectralClass) {
        writeFormatted(", class %s %s", spectrum.SpectralClass,
                       spectrum.hasLuminosityClass ? spectrum.LuminosityClass : "");
    }
    writeFormatted("\n");
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

std::string systemDisplayName(SQLHSTMT statement, std::int32_t ownerId)
{
    std::string name;
    if (getSystemName(statement, ownerId, name) && !name.empty()) return name;
    return "System " + std::to_string(ownerId / kSystemIdStep * kSystemIdStep);
}

void listNeighbours(SQLHSTMT statement, const GalacticPoint& centre, const NeighbourRequest& request,
                    std::int32_t excludedSystemId)
{
    if (!startPositionRows(statement, centre, request.ly)) {
        writeLine("<BR>Internal error: Database query failed.");
        return;
    }
    ScanRow row;
    bindScanRow(statement, row);
    NeighbourList& list = neighbourList;
    list.count = 0;
    list.found = 0;
    while (fetchScanRow(statement, row)) {
        if (const std::optional<double> d = keptDistance(row, centre, request, excludedSystemId))
            insertNeighbour(list, Neighbour{row.OwnerID, *d});
    }
    // The bindings point into `row`, which goes away when this returns.
    SQLFreeStmt(statement, SQL_UNBIND);

    if (list.found > static_cast<long>(kMaxShownNeighbours)) {
        writeFormatted("<BR>%ld stars were found.&nbsp; Only the nearest %d will be displayed.\n<BR>\n", list.found,
                       static_cast<int>(kMaxShownNeighbours));
    }
    if (list.count == 0) {
        writeLine("<BR>No neighboring stars were found in the Valdora.");
        return;
    }
    for (std::size_t i = 0; i < list.count; ++i) printNeighbour(statement, list.slots[i]);
}

bool showSystemNeighbours(SQLHSTMT statement, std::int32_t systemId, const NeighbourRequest& request)
{
    PositionRecord position;
    if (!loadPosition(statement, systemId, position)) return false;
    GalacticPoint centre;
    if (!positionToXYZ(position, centre.x, centre.y, centre.z, true)) return false;

    loadCatalogNames(statement);
    const std::string name = systemDisplayName(statement, systemId);
    writeHtmlHead(kSystemSearchTitle);
    if (request.minLY > 0) {
        writeFormatted("<CENTER><H3>Stars between %g and %g light-years from %s", request.minLY, request.ly,
                       name.c_str());
    } else {
        writeFormatted("<CENTER><H3>Stars within %g light-years of %s", request.ly, name.c_str());
    }
    printLimitClauses(request);
    writeFormatted(":</H3></CENTER>\n");
    listNeighbours(statement, centre, request, systemId);
    freeCatalogNames();
    writeHtmlClose();
    return true;
}

}  // namespace vldr
