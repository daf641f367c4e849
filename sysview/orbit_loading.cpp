// Loading of a system's orbits (each with its pair's combined spectrum and
// photometry) and of its planets.
#include "ids.h"
#include "database_session.h"
#include "loaders.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {

void loadOrbits(SQLHDBC connection, SQLHSTMT statement, long systemId)
{
    Report& r = report();
    const std::string text = composeStatement(
        "SELECT ID, PrimaryID, SecondaryID, Period, SemimajorAxis, Eccentricity, Inclination, Omega, "
        "PeriastronEpoch, IsAxisJustGap, Source, PeriodError, LastUpdated, IsAxisAU FROM Orbits "
        "WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
        systemId + kOrbitOffsets.first, systemId + kOrbitOffsets.last);
    if (!runQuery(statement, text)) return;

    // The columns land here; each fetched row is then copied into the table.
    OrbitRecord fields;
    unsigned char isAxisJustGap = 0, isAxisAU = 0;
    RowBinder row(statement);
    row.bindLong(1, fields.ID);
    row.bindLong(2, fields.PrimaryID);
    row.bindLong(3, fields.SecondaryID);
    row.bindDouble(4, fields.Period);
    row.bindDouble(5, fields.SemimajorAxis);
    row.bindDouble(6, fields.Eccentricity);
    row.bindDouble(7, fields.Inclination);
    row.bindDouble(8, fields.Omega);
    row.bindDouble(9, fields.PeriastronEpoch);
    row.bindBit(10, isAxisJustGap);
    row.bindText(11, fields.Source);
    row.bindDouble(12, fields.PeriodError);
    row.bindDate(13, fields.LastUpdated);
    row.bindBit(14, isAxisAU);

    while (row.fetch()) {
        OrbitRecord orbit = fields;
        orbit.hasPeriod = row.has(4);
        orbit.hasSemimajorAxis = row.has(5);
        orbit.hasEccentricity = row.has(6);
        orbit.hasInclination = row.has(7);
        orbit.hasOmega = row.has(8);
        orbit.hasPeriastronEpoch = row.has(9);
        orbit.hasSource = row.has(11);
        orbit.hasPeriodError = row.has(12);
        // A NULL bit reads as false; a NULL date is never the newest.
        orbit.IsAxisJustGap = row.isSet(10);
        orbit.IsAxisAU = row.isSet(14);
        if (!orbit.hasSource) orbit.Source[0] = '\0';
        if (!row.has(13)) orbit.LastUpdated = DATE_STRUCT{};
        orbit.hasSpectrum = false;
        orbit.hasMagnitudes = false;
        orbit.Spectrum = SpectrumRecord{};
        orbit.Magnitudes = MagnitudeRecord{};

        loadSpectrumAndMagnitudes(connection, orbit);
        noteUpdate(orbit.LastUpdated);
        if (r.OrbitCount < kMaxOrbits) r.Orbits[r.OrbitCount++] = orbit;
    }
}

void loadPlanets(SQLHSTMT statement, long systemId)
{
    Report& r = report();
    const std::string text = composeStatement(
        "SELECT ID, Name, LastUpdated, Mass, MassError, IsMassAMinimum, MassSource, Radius, RadiusError, "
        "RadiusSource FROM Planets WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
        systemId + kPlanetOffsets.first, systemId + kPlanetOffsets.last);
    if (!runQuery(statement, text)) return;

    PlanetRecord fields;
    unsigned char isMassAMinimum = 0;
    RowBinder row(statement);
    row.bindLong(1, fields.ID);
    row.bindText(2, fields.Name);
    row.bindDate(3, fields.LastUpdated);
    row.bindDouble(4, fields.Mass);
    row.bindDouble(5, fields.MassError);
    row.bindBit(6, isMassAMinimum);
    row.bindText(7, fields.MassSource);
    row.bindDouble(8, fields.Radius);
    row.bindDouble(9, fields.RadiusError);
    row.bindText(10, fields.RadiusSource);

    while (row.fetch()) {
        PlanetRecord planet = fields;
        planet.hasMass = row.has(4);
        planet.hasMassError = row.has(5);
        planet.hasMassSource = row.has(7);
        planet.hasRadius = row.has(8);
        planet.hasRadiusError = row.has(9);
        planet.hasRadiusSource = row.has(10);
        planet.IsMassAMinimum = row.isSet(6);
        if (!row.has(2)) planet.Name[0] = '\0';
        if (!row.has(3)) planet.LastUpdated = DATE_STRUCT{};
        noteUpdate(planet.LastUpdated);
        if (r.PlanetCount < kMaxPlanets) r.Planets[r.PlanetCount++] = planet;
    }
}

}  // namespace vldr
