// Loading the report: components with their measurements, positions and
// velocities (with inheritance from the system), orbits and planets.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "database_session.h"
#include "report.h"

namespace vldr {

// Fills Components and ComponentCount with the rows S+1..S+9 of system
// systemId, each with its spectrum and magnitudes read through a second
// statement on connection.
void loadComponents(SQLHDBC connection, SQLHSTMT statement, long systemId);

// Reads the Magnitudes row of ownerId into record. True when a row was read;
// otherwise the record's presence flags stay as they were.
bool loadMagnitudes(SQLHSTMT statement, long ownerId, MagnitudeRecord& record);

// Fills SystemPosition and, when the system has a position, every
// ComponentPositions entry, taking the system's values where a component
// has none of its own. A system without a Positions row leaves every
// component without a position.
void loadComponentPositions(SQLHSTMT statement, long systemId);

// Reads the Velocities row of ownerId into record (cleared first). True when a row was read.
bool loadVelocity(SQLHSTMT statement, long ownerId, VelocityRecord& record);

// Fills SystemVelocity and every ComponentVelocities entry, taking the
// system's values where a component's own row lacks them.
void loadComponentVelocities(SQLHSTMT statement, long systemId);

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

// Fills Orbits and OrbitCount with the rows S+11..S+49, each with its pair's
// combined spectrum and magnitudes read through a second statement.
void loadOrbits(SQLHDBC connection, SQLHSTMT statement, long systemId);

// Fills Planets and PlanetCount with the rows S+51..S+69.
void loadPlanets(SQLHSTMT statement, long systemId);

}  // namespace vldr
