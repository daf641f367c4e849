#include "records.h"

#include "row_binder.h"
#include "statement.h"

namespace vldr {

// A NULL date reads as the zero date, which is never the newest.
bool loadSpectrum(SQLHSTMT statement, Id ownerId, SpectrumRecord& record)
{
    const std::string query = composeStatement(
        "SELECT SpectralClass, LuminosityClass, SpectrumSource, LastUpdated FROM Spectra WHERE OwnerID = %ld", static_cast<long>(ownerId));
    return fetchFirstRowInto(statement, query, flagged(record.SpectralClass, record.hasSpectralClass),
                             flagged(record.LuminosityClass, record.hasLuminosityClass),
                             flagged(record.SpectrumSource, record.hasSpectrumSource),
                             clearedWhenNull(record.LastUpdated));
}

bool loadPosition(SQLHSTMT statement, Id ownerId, PositionRecord& record)
{
    const std::string query = composeStatement(
        "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, DistanceError, "
        "DistanceSource, LastUpdated, Epoch FROM Positions WHERE OwnerID = %ld",
        static_cast<long>(ownerId));
    return fetchFirstRow(statement, query, [&record](RowBinder& row) {
        bindPositionColumns(row, record);
        row.bindColumnsFrom(8, flagged(record.DistanceError, record.hasDistanceError),
                            flagged(record.DistanceSource, record.hasDistanceSource),
                            clearedWhenNull(record.LastUpdated), clearedWhenNull(record.Epoch));
    });
}

void bindPositionColumns(RowBinder& row, PositionRecord& record)
{
    row.bindColumns(flagged(record.RA_hr, record.hasRA), record.RA_min, record.RA_sec,
                    flagged(record.Dec_deg, record.hasDec), record.Dec_arcmin, record.Dec_arcsec,
                    flagged(record.Distance, record.hasDistance));
}

void readPositionPresence(const RowBinder& row, PositionRecord& record)
{
    record.hasRA = row.has(1);
    record.hasDec = row.has(4);
    record.hasDistance = row.has(7);
}

}  // namespace vldr
