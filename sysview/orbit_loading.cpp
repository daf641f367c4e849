#include "orbit_loading.h"

#include <string>

#include "dates.h"
#include "ids.h"
#include "measurement_loading.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {

// A NULL bit reads as false, a NULL source as empty text, and a NULL date
// as the zero date, which is never the newest.
void loadOrbits(Report& r, SQLHDBC connection, SQLHSTMT statement, Id systemId)
{
    const std::string text = composeStatement(
        "SELECT ID, PrimaryID, SecondaryID, Period, SemimajorAxis, Eccentricity, Inclination, Omega, "
        "PeriastronEpoch, IsAxisJustGap, Source, PeriodError, LastUpdated, IsAxisAU FROM Orbits "
        "WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
        static_cast<long>(systemId) + kOrbitOffsets.first, static_cast<long>(systemId) + kOrbitOffsets.last);
    // The columns land here; each fetched row is then copied into the table.
    OrbitRecord fields;
    const auto bind = [&fields](RowBinder& row) {
        row.bindColumns(fields.ID, fields.PrimaryID, fields.SecondaryID, flagged(fields.Period, fields.hasPeriod),
                        flagged(fields.SemimajorAxis, fields.hasSemimajorAxis),
                        flagged(fields.Eccentricity, fields.hasEccentricity),
                        flagged(fields.Inclination, fields.hasInclination), flagged(fields.Omega, fields.hasOmega),
                        flagged(fields.PeriastronEpoch, fields.hasPeriastronEpoch), fields.IsAxisJustGap,
                        flaggedOrCleared(fields.Source, fields.hasSource),
                        flagged(fields.PeriodError, fields.hasPeriodError), clearedWhenNull(fields.LastUpdated),
                        fields.IsAxisAU);
    };
    // A failed query leaves the orbits out, as every failed query leaves its part out.
    if (!forEachRow(statement, text, bind, [&] {
        OrbitRecord orbit = fields;
        loadSpectrumAndMagnitudes(connection, orbit);
        noteUpdate(r, orbit.LastUpdated);
        if (r.OrbitCount < kMaxOrbits) r.Orbits[r.OrbitCount++] = orbit;
        return true;
    }))
        r.OrbitCount = 0;
}

// A NULL bit reads as false, a NULL name as empty text, and a NULL date as
// the zero date.
void loadPlanets(Report& r, SQLHSTMT statement, Id systemId)
{
    const std::string text = composeStatement(
        "SELECT ID, Name, LastUpdated, Mass, MassError, IsMassAMinimum, MassSource, Radius, RadiusError, "
        "RadiusSource FROM Planets WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
        static_cast<long>(systemId) + kPlanetOffsets.first, static_cast<long>(systemId) + kPlanetOffsets.last);
    PlanetRecord fields;
    const auto bind = [&fields](RowBinder& row) {
        row.bindColumns(fields.ID, clearedWhenNull(fields.Name), clearedWhenNull(fields.LastUpdated),
                        flagged(fields.Mass, fields.hasMass), flagged(fields.MassError, fields.hasMassError),
                        fields.IsMassAMinimum, flagged(fields.MassSource, fields.hasMassSource),
                        flagged(fields.Radius, fields.hasRadius), flagged(fields.RadiusError, fields.hasRadiusError),
                        flagged(fields.RadiusSource, fields.hasRadiusSource));
    };
    if (!forEachRow(statement, text, bind, [&] {
        noteUpdate(r, fields.LastUpdated);
        if (r.PlanetCount < kMaxPlanets) r.Planets[r.PlanetCount++] = fields;
        return true;
    }))
        r.PlanetCount = 0;
}

}  // namespace vldr
