// Loading the component side of the report: the components with their
// spectra and magnitudes, and the positions and velocities of the system
// and of every component, with a component taking over the system's value
// where it has none of its own.
#include <cstring>

#include "component_loading.h"

#include "column_list.h"
#include "dates.h"
#include "ids.h"
#include "measurement_loading.h"
#include "name_lists.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// The columns of a Components row and the fields they fill.
constexpr ColumnList<ComponentRecord, 9> kComponentColumns{{
    clearedColumn<&ComponentRecord::ID>("ID"),
    clearedColumn<&ComponentRecord::Name>("Name"),
    plainColumn<&ComponentRecord::IsCloseBinary>("IsCloseBinary"),
    flaggedColumn<&ComponentRecord::Mass, &ComponentRecord::hasMass>("Mass"),
    flaggedColumn<&ComponentRecord::Diameter, &ComponentRecord::hasDiameter>("Diameter"),
    clearedColumn<&ComponentRecord::LastUpdated>("LastUpdated"),
    flaggedOrClearedColumn<&ComponentRecord::MassSource, &ComponentRecord::hasMassSource>("MassSource"),
    flaggedOrClearedColumn<&ComponentRecord::DiameterSource, &ComponentRecord::hasDiameterSource>("DiameterSource"),
    plainColumn<&ComponentRecord::IsDiameterArcsec>("IsDiameterArcsec"),
}};

// The columns of a Velocities row and the fields they fill.
constexpr ColumnList<VelocityRecord, 6> kVelocityColumns{{
    flaggedColumn<&VelocityRecord::ProperMotion, &VelocityRecord::hasProperMotion>("ProperMotion"),
    flaggedColumn<&VelocityRecord::PMAngle, &VelocityRecord::hasPMAngle>("PMAngle"),
    flaggedColumn<&VelocityRecord::RadialVelocity, &VelocityRecord::hasRadialVelocity>("RadialVelocity"),
    flaggedColumn<&VelocityRecord::PMSource, &VelocityRecord::hasPMSource>("PMSource"),
    flaggedColumn<&VelocityRecord::RVSource, &VelocityRecord::hasRVSource>("RVSource"),
    clearedColumn<&VelocityRecord::LastUpdated>("LastUpdated"),
}};

// The inheritance rule for one value of a component's own row: a value
// the row has stays (true: it is the component's own); a value only the
// system has is taken over by takeOver and marked present (false).
template <class TakeOver>
bool keepOrInherit(bool& has, bool systemHas, TakeOver takeOver)
{
    if (has) return true;
    if (systemHas) {
        takeOver();
        has = true;
    }
    return false;
}

// Gives a component's own Positions row the system's right ascension,
// declination and distance where the row lacks them, and records which
// values are the component's own. The epoch stays the row's; the
// component's own distance error and source stay as read, even when absent.
void inheritPosition(PositionRecord& own, const PositionRecord& system)
{
    own.ownRA = keepOrInherit(own.hasRA, system.hasRA, [&] {
        own.RA_hr = system.RA_hr;
        own.RA_min = system.RA_min;
        own.RA_sec = system.RA_sec;
    });
    own.ownDec = keepOrInherit(own.hasDec, system.hasDec, [&] {
        own.Dec_deg = system.Dec_deg;
        own.Dec_arcmin = system.Dec_arcmin;
        own.Dec_arcsec = system.Dec_arcsec;
    });
    own.ownDistance = keepOrInherit(own.hasDistance, system.hasDistance, [&] {
        own.Distance = system.Distance;
        own.hasDistanceError = system.hasDistanceError;
        if (system.hasDistanceError) own.DistanceError = system.DistanceError;
        own.hasDistanceSource = system.hasDistanceSource;
        if (system.hasDistanceSource) std::memcpy(own.DistanceSource, system.DistanceSource, sizeof own.DistanceSource);
    });
}

// Gives a component's own Velocities row the system's proper motion, its
// angle and the radial velocity where the row lacks them; a source comes
// only together with the value it documents.
void inheritVelocity(VelocityRecord& own, const VelocityRecord& system)
{
    keepOrInherit(own.hasProperMotion, system.hasProperMotion, [&] {
        own.ProperMotion = system.ProperMotion;
        own.hasPMSource = system.hasPMSource;
        if (system.hasPMSource) std::memcpy(own.PMSource, system.PMSource, sizeof own.PMSource);
    });
    keepOrInherit(own.hasPMAngle, system.hasPMAngle, [&] { own.PMAngle = system.PMAngle; });
    keepOrInherit(own.hasRadialVelocity, system.hasRadialVelocity, [&] {
        own.RadialVelocity = system.RadialVelocity;
        own.hasRVSource = system.hasRVSource;
        if (system.hasRVSource) std::memcpy(own.RVSource, system.RVSource, sizeof own.RVSource);
    });
}

}  // namespace

std::string componentsStatement(Id systemId)
{
    return composeStatement("SELECT %s FROM Components WHERE ID > %ld AND ID <= %ld ORDER BY ID",
                            selectList(kComponentColumns).c_str(), static_cast<long>(systemId),
                            static_cast<long>(systemId) + kComponentOffsets.last);
}

std::string velocityStatement(Id ownerId)
{
    return composeStatement("SELECT %s FROM Velocities WHERE OwnerID = %ld", selectList(kVelocityColumns).c_str(),
                            static_cast<long>(ownerId));
}

// Reads the Components rows S+1 .. S+9 in ascending ID order. A NULL ID,
// Name, IsCloseBinary or IsDiameterArcsec reads as 0, empty text or false;
// a NULL LastUpdated reads as the zero date, which is never the newest.
// The shared statement keeps the Components cursor open while each
// component's spectrum and magnitudes are read through a second statement.
void loadComponents(Report& r, SQLHDBC connection, SQLHSTMT statement, Id systemId)
{
    const std::string text = componentsStatement(systemId);
    // The columns land here; each fetched row is then copied into the table,
    // and no row is fetched once the table is full.
    ComponentRecord fields;
    const auto bind = [&fields](RowBinder& row) {
        bindColumnList(row, kComponentColumns, fields);
    };
    // A failed query leaves the components out, as every failed query leaves its part out.
    if (!forEachRow(statement, text, bind, [&] {
        ComponentRecord& component = r.Components[r.ComponentCount];
        component = fields;
        loadSpectrumAndMagnitudes(connection, component);
        noteUpdate(r, component.LastUpdated);
        ++r.ComponentCount;
        return r.ComponentCount < kMaxComponents;
    }))
        r.ComponentCount = 0;
}

// Reads the first Velocities row of ownerId into record, cleared first.
bool loadVelocity(SQLHSTMT statement, Id ownerId, VelocityRecord& record)
{
    record = VelocityRecord{};
    const bool found = fetchFirstRow(statement, velocityStatement(ownerId),
                                     [&record](RowBinder& row) { bindColumnList(row, kVelocityColumns, record); });
    if (!found) record = VelocityRecord{};
    return found;
}

// Reads the system's position and, only when the system has one, every
// component's: a component without a row of its own takes a full copy of
// the system's; one with a row takes the system's right ascension,
// declination and distance (with the distance's error and source) where
// its row lacks them.
void loadComponentPositions(Report& r, SQLHSTMT statement, Id systemId)
{
    if (!loadPosition(statement, systemId, r.SystemPosition)) return;
    noteUpdate(r, r.SystemPosition.LastUpdated);
    for (int i = 0; i < r.ComponentCount; ++i) {
        PositionRecord& position = r.ComponentPositions[i];
        position.ownRA = false;
        position.ownDec = false;
        position.ownDistance = false;
        if (!loadPosition(statement, r.Components[i].ID, position)) {
            position = r.SystemPosition;
            continue;
        }
        inheritPosition(position, r.SystemPosition);
        noteUpdate(r, position.LastUpdated);
    }
}

// Reads the system's velocity (cleared when it has none) and every
// component's: a component without a row of its own takes a full copy of
// the system's with hasOwnRow false; one with a row keeps it, hasOwnRow
// set, and takes the system's values where the row lacks them.
void loadComponentVelocities(Report& r, SQLHSTMT statement, Id systemId)
{
    if (loadVelocity(statement, systemId, r.SystemVelocity)) noteUpdate(r, r.SystemVelocity.LastUpdated);
    for (int i = 0; i < r.ComponentCount; ++i) {
        VelocityRecord& velocity = r.ComponentVelocities[i];
        if (!loadVelocity(statement, r.Components[i].ID, velocity)) {
            velocity = r.SystemVelocity;
            velocity.hasOwnRow = false;
            continue;
        }
        noteUpdate(r, velocity.LastUpdated);
        velocity.hasOwnRow = true;
        inheritVelocity(velocity, r.SystemVelocity);
    }
}

void loadComponentNames(Report& r, SQLHSTMT statement)
{
    for (int i = 0; i < r.ComponentCount; ++i) r.ComponentNames[i] = loadNameLists(statement, r.Components[i].ID);
}

}  // namespace vldr
