// Loading of a system's orbits (each with its pair's combined spectrum and
// photometry) and of its planets.
#include "database_session.h"
#include "loaders.h"
#include "number_columns.h"
#include "statement.h"

namespace vldr {
namespace {

// Orbit and planet IDs of system S lie in S+11..S+49 and S+51..S+69.
constexpr long kFirstOrbitOffset = 11;
constexpr long kLastOrbitOffset = 49;
constexpr long kFirstPlanetOffset = 51;
constexpr long kLastPlanetOffset = 69;

// Makes date the record's date when it is later.
void takeLaterDate(DATE_STRUCT& date, const DATE_STRUCT& candidate)
{
    if (compareDates(candidate, date) > 0) date = candidate;
}

// Reads the pair's combined spectrum and photometry (stored under the
// orbit's own ID) through a second statement, while the Orbits cursor
// stays open on the shared one. Without a second statement the orbit
// simply has neither.
void loadPairData(SQLHDBC connection, OrbitRecord& orbit)
{
    SecondStatement details(connection);
    if (!details.ok()) return;
    if (loadSpectrum(details.get(), orbit.ID, orbit.Spectrum)) {
        orbit.hasSpectrum = true;
        takeLaterDate(orbit.LastUpdated, orbit.Spectrum.LastUpdated);
    }
    if (loadMagnitudes(details.get(), orbit.ID, orbit.Magnitudes)) {
        orbit.hasMagnitudes = true;
        takeLaterDate(orbit.LastUpdated, orbit.Magnitudes.LastUpdated);
    }
}

}  // namespace

void loadOrbits(SQLHDBC connection, SQLHSTMT statement, long systemId)
{
    Report& r = report();
    const std::string text = composeStatement(
        "SELECT ID, PrimaryID, SecondaryID, Period, SemimajorAxis, Eccentricity, Inclination, Omega, "
        "PeriastronEpoch, IsAxisJustGap, Source, PeriodError, LastUpdated, IsAxisAU FROM Orbits "
        "WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
        systemId + kFirstOrbitOffset, systemId + kLastOrbitOffset);
    if (!runQuery(statement, text)) return;

    // The columns land here; each fetched row is then copied into the table.
    OrbitRecord row;
    unsigned char isAxisJustGap = 0, isAxisAU = 0;
    SQLLEN id = 0, primary = 0, secondary = 0, period = 0, axis = 0, eccentricity = 0;
    SQLLEN inclination = 0, omega = 0, periastron = 0, justGap = 0, source = 0, periodError = 0;
    SQLLEN updated = 0, axisAU = 0;
    bindColumn(statement, 1, SQL_C_LONG, &row.ID, 0, &id);
    bindColumn(statement, 2, SQL_C_LONG, &row.PrimaryID, 0, &primary);
    bindColumn(statement, 3, SQL_C_LONG, &row.SecondaryID, 0, &secondary);
    bindColumn(statement, 4, SQL_C_DOUBLE, &row.Period, 0, &period);
    bindColumn(statement, 5, SQL_C_DOUBLE, &row.SemimajorAxis, 0, &axis);
    bindColumn(statement, 6, SQL_C_DOUBLE, &row.Eccentricity, 0, &eccentricity);
    bindColumn(statement, 7, SQL_C_DOUBLE, &row.Inclination, 0, &inclination);
    bindColumn(statement, 8, SQL_C_DOUBLE, &row.Omega, 0, &omega);
    bindColumn(statement, 9, SQL_C_DOUBLE, &row.PeriastronEpoch, 0, &periastron);
    bindColumn(statement, 10, SQL_C_BIT, &isAxisJustGap, 0, &justGap);
    bindText(statement, 11, row.Source, &source);
    bindColumn(statement, 12, SQL_C_DOUBLE, &row.PeriodError, 0, &periodError);
    bindColumn(statement, 13, SQL_C_DATE, &row.LastUpdated, sizeof row.LastUpdated, &updated);
    bindColumn(statement, 14, SQL_C_BIT, &isAxisAU, 0, &axisAU);

    while (fetchRow(statement)) {
        OrbitRecord orbit = row;
        orbit.hasPeriod = isPresentNumber(orbit.Period, period);
        orbit.hasSemimajorAxis = isPresentNumber(orbit.SemimajorAxis, axis);
        orbit.hasEccentricity = isPresentNumber(orbit.Eccentricity, eccentricity);
        orbit.hasInclination = isPresentNumber(orbit.Inclination, inclination);
        orbit.hasOmega = isPresentNumber(orbit.Omega, omega);
        orbit.hasPeriastronEpoch = isPresentNumber(orbit.PeriastronEpoch, periastron);
        orbit.hasSource = isPresent(source);
        orbit.hasPeriodError = isPresentNumber(orbit.PeriodError, periodError);
        // A NULL bit reads as false; a NULL date is never the newest.
        orbit.IsAxisJustGap = isPresent(justGap) && isAxisJustGap != 0;
        orbit.IsAxisAU = isPresent(axisAU) && isAxisAU != 0;
        if (!orbit.hasSource) orbit.Source[0] = '\0';
        if (!isPresent(updated)) orbit.LastUpdated = DATE_STRUCT{};
        orbit.hasSpectrum = false;
        orbit.hasMagnitudes = false;
        orbit.Spectrum = SpectrumRecord{};
        orbit.Magnitudes = MagnitudeRecord{};

        loadPairData(connection, orbit);
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
        systemId + kFirstPlanetOffset, systemId + kLastPlanetOffset);
    if (!runQuery(statement, text)) return;

    PlanetRecord row;
    unsigned char isMassAMinimum = 0;
    SQLLEN id = 0, name = 0, updated = 0, mass = 0, massError = 0, minimum = 0, massSource = 0;
    SQLLEN radius = 0, radiusError = 0, radiusSource = 0;
    bindColumn(statement, 1, SQL_C_LONG, &row.ID, 0, &id);
    bindText(statement, 2, row.Name, &name);
    bindColumn(statement, 3, SQL_C_DATE, &row.LastUpdated, sizeof row.LastUpdated, &updated);
    bindColumn(statement, 4, SQL_C_DOUBLE, &row.Mass, 0, &mass);
    bindColumn(statement, 5, SQL_C_DOUBLE, &row.MassError, 0, &massError);
    bindColumn(statement, 6, SQL_C_BIT, &isMassAMinimum, 0, &minimum);
    bindText(statement, 7, row.MassSource, &massSource);
    bindColumn(statement, 8, SQL_C_DOUBLE, &row.Radius, 0, &radius);
    bindColumn(statement, 9, SQL_C_DOUBLE, &row.RadiusError, 0, &radiusError);
    bindText(statement, 10, row.RadiusSource, &radiusSource);

    while (fetchRow(statement)) {
        PlanetRecord planet = row;
        planet.hasMass = isPresentNumber(planet.Mass, mass);
        planet.hasMassError = isPresentNumber(planet.MassError, massError);
        planet.hasMassSource = isPresent(massSource);
        planet.hasRadius = isPresentNumber(planet.Radius, radius);
        planet.hasRadiusError = isPresentNumber(planet.RadiusError, radiusError);
        planet.hasRadiusSource = isPresent(radiusSource);
        planet.IsMassAMinimum = isPresent(minimum) && isMassAMinimum != 0;
        if (!isPresent(name)) planet.Name[0] = '\0';
        if (!isPresent(updated)) planet.LastUpdated = DATE_STRUCT{};
        noteUpdate(planet.LastUpdated);
        if (r.PlanetCount < kMaxPlanets) r.Planets[r.PlanetCount++] = planet;
    }
}

}  // namespace vldr
