#include "records.h"

#include "row_binder.h"
#include "statement.h"

namespace vldr {

bool loadSpectrum(SQLHSTMT statement, long ownerId, SpectrumRecord& record)
{
    const std::string text = composeStatement(
        "SELECT SpectralClass, LuminosityClass, SpectrumSource, LastUpdated FROM Spectra "
        "WHERE OwnerID = %ld",
        ownerId);
    if (!runQuery(statement, text)) return false;
    RowBinder row(statement);
    row.bindText(1, record.SpectralClass);
    row.bindText(2, record.LuminosityClass);
    row.bindText(3, record.SpectrumSource);
    row.bindDate(4, record.LastUpdated);
    if (!row.fetch()) return false;
    record.hasSpectralClass = row.has(1);
    record.hasLuminosityClass = row.has(2);
    record.hasSpectrumSource = row.has(3);
    if (!row.has(4)) record.LastUpdated = DATE_STRUCT{};  // never the newest date
    return true;
}

bool loadPosition(SQLHSTMT statement, long ownerId, PositionRecord& record)
{
    const std::string text = composeStatement(
        "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, DistanceError, "
        "DistanceSource, LastUpdated, Epoch FROM Positions WHERE OwnerID = %ld",
        ownerId);
    if (!runQuery(statement, text)) return false;
    RowBinder row(statement);
    bindPositionColumns(row, record);
    row.bindDouble(8, record.DistanceError);
    row.bindText(9, record.DistanceSource);
    row.bindDate(10, record.LastUpdated);
    row.bindDouble(11, record.Epoch);
    if (!row.fetch()) return false;
    readPositionPresence(row, record);
    record.hasDistanceError = row.has(8);
    record.hasDistanceSource = row.has(9);
    if (!row.has(10)) record.LastUpdated = DATE_STRUCT{};  // never the newest date
    if (!row.has(11)) record.Epoch = 0;
    return true;
}

void bindPositionColumns(RowBinder& row, PositionRecord& record)
{
    row.bindUnsignedTiny(1, record.RA_hr);
    row.bindUnsignedTiny(2, record.RA_min);
    row.bindFloat(3, record.RA_sec);
    row.bindShort(4, record.Dec_deg);
    row.bindUnsignedTiny(5, record.Dec_arcmin);
    row.bindFloat(6, record.Dec_arcsec);
    row.bindDouble(7, record.Distance);
}

void readPositionPresence(const RowBinder& row, PositionRecord& record)
{
    record.hasRA = row.has(1);
    record.hasDec = row.has(4);
    record.hasDistance = row.has(7);
}

}  // namespace vldr
