#include "orbit_loading.h"

#include <string>

#include "column_list.h"
#include "dates.h"
#include "ids.h"
#include "measurement_loading.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// The columns of an Orbits row and the fields they fill.
constexpr ColumnList<OrbitRecord, 14> kOrbitColumns{{
    plainColumn<&OrbitRecord::ID>("ID"),
    plainColumn<&OrbitRecord::PrimaryID>("PrimaryID"),
    plainColumn<&OrbitRecord::SecondaryID>("SecondaryID"),
    flaggedColumn<&OrbitRecord::Period, &OrbitRecord::hasPeriod>("Period"),
    flaggedColumn<&OrbitRecord::SemimajorAxis, &OrbitRecord::hasSemimajorAxis>("SemimajorAxis"),
    flaggedColumn<&OrbitRecord::Eccentricity, &OrbitRecord::hasEccentricity>("Eccentricity"),
    flaggedColumn<&OrbitRecord::Inclination, &OrbitRecord::hasInclination>("Inclination"),
    flaggedColumn<&OrbitRecord::Omega, &OrbitRecord::hasOmega>("Omega"),
    flaggedColumn<&OrbitRecord::PeriastronEpoch, &OrbitRecord::hasPeriastronEpoch>("PeriastronEpoch"),
    plainColumn<&OrbitRecord::IsAxisJustGap>("IsAxisJustGap"),
    flaggedOrClearedColumn<&OrbitRecord::Source, &OrbitRecord::hasSource>("Source"),
    flaggedColumn<&OrbitRecord::PeriodError, &OrbitRecord::hasPeriodError>("PeriodError"),
    clearedColumn<&OrbitRecord::LastUpdated>("LastUpdated"),
    plainColumn<&OrbitRecord::IsAxisAU>("IsAxisAU"),
}};

// The columns of a Planets row and the fields they fill.
constexpr ColumnList<PlanetRecord, 10> kPlanetColumns{{
    plainColumn<&PlanetRecord::ID>("ID"),
    clearedColumn<&PlanetRecord::Name>("Name"),
    clearedColumn<&PlanetRecord::LastUpdated>("LastUpdated"),
    flaggedColumn<&PlanetRecord::Mass, &PlanetRecord::hasMass>("Mass"),
    flaggedColumn<&PlanetRecord::MassError, &PlanetRecord::hasMassError>("MassError"),
    plainColumn<&PlanetRecord::IsMassAMinimum>("IsMassAMinimum"),
    flaggedColumn<&PlanetRecord::MassSource, &PlanetRecord::hasMassSource>("MassSource"),
    flaggedColumn<&PlanetRecord::Radius, &PlanetRecord::hasRadius>("Radius"),
    flaggedColumn<&PlanetRecord::RadiusError, &PlanetRecord::hasRadiusError>("RadiusError"),
    flaggedColumn<&PlanetRecord::RadiusSource, &PlanetRecord::hasRadiusSource>("RadiusSource"),
}};

}  // namespace

std::string orbitsStatement(Id systemId)
{
    return composeStatement("SELECT %s FROM Orbits WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
                            selectList(kOrbitColumns).c_str(), static_cast<long>(systemId) + kOrbitOffsets.first,
                            static_cast<long>(systemId) + kOrbitOffsets.last);
}

std::string planetsStatement(Id systemId)
{
    return composeStatement("SELECT %s FROM Planets WHERE ID >= %ld AND ID <= %ld ORDER BY ID",
                            selectList(kPlanetColumns).c_str(), static_cast<long>(systemId) + kPlanetOffsets.first,
                            static_cast<long>(systemId) + kPlanetOffsets.last);
}

// A NULL bit reads as false, a NULL source as empty text, and a NULL date
// as the zero date, which is never the newest.
void loadOrbits(Report& r, SQLHDBC connection, SQLHSTMT statement, Id systemId)
{
    const std::string text = orbitsStatement(systemId);
    // The columns land here; each fetched row is then copied into the table.
    OrbitRecord fields;
    const auto bind = [&fields](RowBinder& row) {
        bindColumnList(row, kOrbitColumns, fields);
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
    const std::string text = planetsStatement(systemId);
    PlanetRecord fields;
    const auto bind = [&fields](RowBinder& row) {
        bindColumnList(row, kPlanetColumns, fields);
    };
    if (!forEachRow(statement, text, bind, [&] {
        noteUpdate(r, fields.LastUpdated);
        if (r.PlanetCount < kMaxPlanets) r.Planets[r.PlanetCount++] = fields;
        return true;
    }))
        r.PlanetCount = 0;
}

}  // namespace vldr
