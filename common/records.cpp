#include "records.h"

#include "number_columns.h"
#include "statement.h"

namespace vldr {

bool loadSpectrum(SQLHSTMT statement, long ownerId, SpectrumRecord& record)
{
    const std::string text = composeStatement(
        "SELECT SpectralClass, LuminosityClass, SpectrumSource, LastUpdated FROM Spectra "
        "WHERE OwnerID = %ld",
        ownerId);
    if (!runQuery(statement, text)) return false;
    SQLLEN spectralClass = 0, luminosityClass = 0, source = 0, updated = 0;
    bindText(statement, 1, record.SpectralClass, &spectralClass);
    bindText(statement, 2, record.LuminosityClass, &luminosityClass);
    bindText(statement, 3, record.SpectrumSource, &source);
    bindColumn(statement, 4, SQL_C_DATE, &record.LastUpdated, sizeof record.LastUpdated, &updated);
    if (!fetchRow(statement)) return false;
    record.hasSpectralClass = isPresent(spectralClass);
    record.hasLuminosityClass = isPresent(luminosityClass);
    record.hasSpectrumSource = isPresent(source);
    if (!isPresent(updated)) record.LastUpdated = DATE_STRUCT{};  // never the newest date
    return true;
}

bool loadPosition(SQLHSTMT statement, long ownerId, PositionRecord& record)
{
    const std::string text = composeStatement(
        "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, DistanceError, "
        "DistanceSource, LastUpdated, Epoch FROM Positions WHERE OwnerID = %ld",
        ownerId);
    if (!runQuery(statement, text)) return false;
    SQLLEN raHr = 0, raMin = 0, raSec = 0, decDeg = 0, decMin = 0, decSec = 0;
    SQLLEN distance = 0, distanceError = 0, source = 0, updated = 0, epoch = 0;
    bindColumn(statement, 1, SQL_C_UTINYINT, &record.RA_hr, 0, &raHr);
    bindColumn(statement, 2, SQL_C_UTINYINT, &record.RA_min, 0, &raMin);
    bindColumn(statement, 3, SQL_C_FLOAT, &record.RA_sec, 0, &raSec);
    bindColumn(statement, 4, SQL_C_SHORT, &record.Dec_deg, 0, &decDeg);
    bindColumn(statement, 5, SQL_C_UTINYINT, &record.Dec_arcmin, 0, &decMin);
    bindColumn(statement, 6, SQL_C_FLOAT, &record.Dec_arcsec, 0, &decSec);
    bindColumn(statement, 7, SQL_C_DOUBLE, &record.Distance, 0, &distance);
    bindColumn(statement, 8, SQL_C_DOUBLE, &record.DistanceError, 0, &distanceError);
    bindText(statement, 9, record.DistanceSource, &source);
    bindColumn(statement, 10, SQL_C_DATE, &record.LastUpdated, sizeof record.LastUpdated, &updated);
    bindColumn(statement, 11, SQL_C_DOUBLE, &record.Epoch, 0, &epoch);
    if (!fetchRow(statement)) return false;
    record.hasRA = isPresent(raHr);
    record.hasDec = isPresent(decDeg);
    // Seconds have no flag of their own: a non-finite one reads as 0.
    isPresentNumber(record.RA_sec, raSec);
    isPresentNumber(record.Dec_arcsec, decSec);
    record.hasDistance = isPresentNumber(record.Distance, distance);
    record.hasDistanceError = isPresentNumber(record.DistanceError, distanceError);
    record.hasDistanceSource = isPresent(source);
    if (!isPresent(updated)) record.LastUpdated = DATE_STRUCT{};  // never the newest date
    if (!isPresentNumber(record.Epoch, epoch)) record.Epoch = 0;
    return true;
}

}  // namespace vldr
