#include "catalogue_download.h"

#include "display_name.h"
#include "ids.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// Every component with the position it is shown at, its spectrum and its
// magnitudes, in the column order the binding below follows.
constexpr const char* kComponentRows =
    "SELECT p.RA_hr, p.RA_min, p.RA_sec, p.Dec_deg, p.Dec_arcmin, p.Dec_arcsec, p.Distance, "
    "c.ID, c.Name, p.DistanceError, p.Epoch, s.SpectralClass, s.LuminosityClass, m.ApparentVMag, m.BminusV "
    "FROM Components c "
    "LEFT JOIN Positions p ON p.OwnerID = CASE WHEN EXISTS (SELECT 1 FROM Positions own WHERE own.OwnerID = c.ID "
    "AND own.RA_hr IS NOT NULL AND own.Dec_deg IS NOT NULL) THEN c.ID ELSE c.ID / 100 * 100 END "
    "LEFT JOIN Spectra s ON s.OwnerID = c.ID "
    "LEFT JOIN Magnitudes m ON m.OwnerID = c.ID "
    "ORDER BY c.ID";

// The bound storage of one row of kComponentRows.
struct ComponentScan {
    CatalogueRow row;
    Id ID = 0;
    char Name[kNameSize] = {};
};

void bindComponentScan(RowBinder& binder, ComponentScan& scan)
{
    bindPositionColumns(binder, scan.row.position);
    binder.bindLong(8, scan.ID);
    binder.bindText(9, scan.Name);
    binder.bindDouble(10, scan.row.position.DistanceError);
    binder.bindDouble(11, scan.row.epoch);
    binder.bindText(12, scan.row.spectrum.SpectralClass);
    binder.bindText(13, scan.row.spectrum.LuminosityClass);
    binder.bindDouble(14, scan.row.vMag);
    binder.bindDouble(15, scan.row.bMinusV);
}

// Fetches the next row, cleared first, and sets the row's presence flags.
bool fetchComponentScan(RowBinder& binder, ComponentScan& scan)
{
    scan = ComponentScan{};
    if (!binder.fetch()) return false;
    CatalogueRow& row = scan.row;
    readPositionPresence(binder, row.position);
    row.position.hasDistanceError = binder.has(10);
    row.hasEpoch = binder.has(11);
    row.spectrum.hasSpectralClass = binder.has(12);
    row.spectrum.hasLuminosityClass = binder.has(13);
    row.hasVMag = binder.has(14);
    row.hasBminusV = binder.has(15);
    row.componentId = scan.ID;
    row.systemId = systemOf(scan.ID);
    if (binder.has(9)) row.component = scan.Name;
    return true;
}

}  // namespace

std::optional<std::vector<CatalogueRow>> loadCatalogueRows(SQLHSTMT statement, const CatalogNames& catalogs)
{
    if (!runQuery(statement, kComponentRows)) return std::nullopt;
    std::vector<CatalogueRow> rows;
    {
        ComponentScan scan;
        // The bindings point into `scan`; the binder releases them when it goes.
        RowBinder binder(statement);
        bindComponentScan(binder, scan);
        while (fetchComponentScan(binder, scan)) rows.push_back(scan.row);
    }
    // The rows come by ID, so the components of a system follow each other.
    Id namedSystem = 0;
    std::string name;
    for (CatalogueRow& row : rows) {
        if (row.systemId != namedSystem) {
            namedSystem = row.systemId;
            name = systemDisplayName(statement, catalogs, row.systemId);
        }
        row.name = name;
        row.reportUrl = reportPath(row.systemId);
    }
    return rows;
}

}  // namespace vldr
