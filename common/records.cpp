#include "records.h"

#include "column_list.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {

namespace {

// The columns of a Spectra row and the fields they fill.
constexpr ColumnList<SpectrumRecord, 4> kSpectrumColumns{{
    flaggedColumn<&SpectrumRecord::SpectralClass, &SpectrumRecord::hasSpectralClass>("SpectralClass"),
    flaggedColumn<&SpectrumRecord::LuminosityClass, &SpectrumRecord::hasLuminosityClass>("LuminosityClass"),
    flaggedColumn<&SpectrumRecord::SpectrumSource, &SpectrumRecord::hasSpectrumSource>("SpectrumSource"),
    clearedColumn<&SpectrumRecord::LastUpdated>("LastUpdated"),
}};

// The columns every query of Positions starts with (bindPositionColumns).
constexpr SQLUSMALLINT kPositionStartColumns = 7;

// The columns of a Positions row and the fields they fill; the first
// kPositionStartColumns are those of bindPositionColumns.
constexpr ColumnList<PositionRecord, 11> kPositionColumns{{
    flaggedColumn<&PositionRecord::RA_hr, &PositionRecord::hasRA>("RA_hr"),
    plainColumn<&PositionRecord::RA_min>("RA_min"),
    plainColumn<&PositionRecord::RA_sec>("RA_sec"),
    flaggedColumn<&PositionRecord::Dec_deg, &PositionRecord::hasDec>("Dec_deg"),
    plainColumn<&PositionRecord::Dec_arcmin>("Dec_arcmin"),
    plainColumn<&PositionRecord::Dec_arcsec>("Dec_arcsec"),
    flaggedColumn<&PositionRecord::Distance, &PositionRecord::hasDistance>("Distance"),
    flaggedColumn<&PositionRecord::DistanceError, &PositionRecord::hasDistanceError>("DistanceError"),
    flaggedColumn<&PositionRecord::DistanceSource, &PositionRecord::hasDistanceSource>("DistanceSource"),
    clearedColumn<&PositionRecord::LastUpdated>("LastUpdated"),
    clearedColumn<&PositionRecord::Epoch>("Epoch"),
}};

}  // namespace

std::string spectrumStatement(Id ownerId)
{
    return composeStatement("SELECT %s FROM Spectra WHERE OwnerID = %ld", selectList(kSpectrumColumns).c_str(),
                            static_cast<long>(ownerId));
}

std::string positionStatement(Id ownerId)
{
    return composeStatement("SELECT %s FROM Positions WHERE OwnerID = %ld", selectList(kPositionColumns).c_str(),
                            static_cast<long>(ownerId));
}

// A NULL date reads as the zero date, which is never the newest.
bool loadSpectrum(SQLHSTMT statement, Id ownerId, SpectrumRecord& record)
{
    return fetchFirstRow(statement, spectrumStatement(ownerId),
                         [&record](RowBinder& row) { bindColumnList(row, kSpectrumColumns, record); });
}

bool loadPosition(SQLHSTMT statement, Id ownerId, PositionRecord& record)
{
    return fetchFirstRow(statement, positionStatement(ownerId),
                         [&record](RowBinder& row) { bindColumnList(row, kPositionColumns, record); });
}

void bindPositionColumns(RowBinder& row, PositionRecord& record)
{
    for (SQLUSMALLINT column = 1; column <= kPositionStartColumns; ++column)
        kPositionColumns[column - 1].bind(row, column, record);
}

void readPositionPresence(const RowBinder& row, PositionRecord& record)
{
    record.hasRA = row.has(1);
    record.hasDec = row.has(4);
    record.hasDistance = row.has(7);
}

}  // namespace vldr
