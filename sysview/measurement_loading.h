// Loading the measurements stored under one ID beside its own row: the
// spectrum and the magnitudes of a component, or a pair's combined ones.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "database_session.h"
#include "dates.h"
#include "ids.h"
#include "records.h"
#include "report_records.h"

namespace vldr {

// The statement that reads the Magnitudes row of ownerId.
std::string magnitudesStatement(Id ownerId);

// Reads the Magnitudes row of ownerId into record. True when a row was read;
// otherwise the record's presence flags stay as they were. A NULL
// LastUpdated reads as the zero date.
bool loadMagnitudes(SQLHSTMT statement, Id ownerId, MagnitudeRecord& record);

// Reads the spectrum and the magnitudes stored under record.ID (a
// component's own, or a pair's combined ones under its orbit's ID) through
// a second statement on connection, while the shared statement's cursor
// stays open on the rows being walked. Sets hasSpectrum and hasMagnitudes
// for what was found and makes record.LastUpdated the newest of its own and
// theirs. Without a second statement the record simply has neither.
template <class Record>
void loadSpectrumAndMagnitudes(SQLHDBC connection, Record& record)
{
    SecondStatement details(connection);
    if (!details.ok()) return;
    if (loadSpectrum(details.get(), record.ID, record.Spectrum)) {
        record.hasSpectrum = true;
        takeLaterDate(record.LastUpdated, record.Spectrum.LastUpdated);
    }
    if (loadMagnitudes(details.get(), record.ID, record.Magnitudes)) {
        record.hasMagnitudes = true;
        takeLaterDate(record.LastUpdated, record.Magnitudes.LastUpdated);
    }
}

}  // namespace vldr
