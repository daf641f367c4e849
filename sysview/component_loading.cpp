// Loading the component side of the report: the components with their
// spectra and magnitudes, and the positions and velocities of the system
// and of every component, with a component taking over the system's value
// where it has none of its own.
#include <cstring>

#include "ids.h"
#include "database_session.h"
#include "loaders.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// Clears the presence flags of a spectrum, so that a failed lookup leaves no flag set.
void clearSpectrumFlags(SpectrumRecord& spectrum)
{
    spectrum.hasSpectralClass = false;
    spectrum.hasLuminosityClass = false;
    spectrum.hasSpectrumSource = false;
}

// Clears the presence flags of a magnitudes record, so that a failed lookup leaves no flag set.
void clearMagnitudeFlags(MagnitudeRecord& magnitudes)
{
    magnitudes.hasApparentVMag = false;
    magnitudes.hasVariableType = false;
    magnitudes.hasVMagIncrease = false;
    magnitudes.hasVariablePeriod = false;
    magnitudes.hasBminusV = false;
    magnitudes.hasUminusB = false;
    magnitudes.hasRminusI = false;
    magnitudes.hasVMagSource = false;
}

// Gives a component's own Positions row the system's right ascension,
// declination and distance where the row lacks them, and records which
// values are the component's own. The epoch stays the row's.
void inheritPosition(PositionRecord& own, const PositionRecord& system)
{
    if (own.hasRA) {
        own.ownRA = true;
    } else if (system.hasRA) {
        own.RA_hr = system.RA_hr;
        own.RA_min = system.RA_min;
        own.RA_sec = system.RA_sec;
        own.hasRA = true;
    }
    if (own.hasDec) {
        own.ownDec = true;
    } else if (system.hasDec) {
        own.Dec_deg = system.Dec_deg;
        own.Dec_arcmin = system.Dec_arcmin;
        own.Dec_arcsec = system.Dec_arcsec;
        own.hasDec = true;
    }
    if (own.hasDistance) {
        // The component's own error and source stay as read, even when absent.
        own.ownDistance = true;
    } else if (system.hasDistance) {
        own.Distance = system.Distance;
        own.hasDistance = true;
        own.hasDistanceError = system.hasDistanceError;
        if (system.hasDistanceError) own.DistanceError = system.DistanceError;
        own.hasDistanceSource = system.hasDistanceSource;
        if (system.hasDistanceSource) std::memcpy(own.DistanceSource, system.DistanceSource, sizeof own.DistanceSource);
    }
}

// Gives a component's own Velocities row the system's proper motion, its
// angle and the radial velocity where the row lacks them; a source comes
// only together with the value it documents.
void inheritVelocity(VelocityRecord& own, const VelocityRecord& system)
{
    if (!own.hasProperMotion && system.hasProperMotion) {
        own.ProperMotion = system.ProperMotion;
        own.hasProperMotion = true;
        own.hasPMSource = system.hasPMSource;
        if (system.hasPMSource) std::memcpy(own.PMSource, system.PMSource, sizeof own.PMSource);
    }
    if (!own.hasPMAngle && system.hasPMAngle) {
        own.PMAngle = system.PMAngle;
        own.hasPMAngle = true;
    }
    if (!own.hasRadialVelocity && system.hasRadialVelocity) {
        own.RadialVelocity = system.RadialVelocity;
        own.hasRadialVelocity = true;
        own.hasRVSource = system.hasRVSource;
        if (system.hasRVSource) std::memcpy(own.RVSource, system.RVSource, sizeof own.RVSource);
    }
}

}  // namespace

// Reads the Components rows S+1 .. S+9 in ascending ID order. A NULL ID,
// Name, IsCloseBinary or IsDiameterArcsec reads as 0, empty text or false;
// a NULL LastUpdated reads as the zero date, which is never the newest.
// The shared statement keeps the Components cursor open while each
// component's spectrum and magnitudes are read through a second statement.
void loadComponents(SQLHDBC connection, SQLHSTMT statement, long systemId)
{
    Report& r = report();
    const std::string text = composeStatement(
        "SELECT ID, Name, IsCloseBinary, Mass, Diameter, LastUpdated, MassSource, DiameterSource, "
        "IsDiameterArcsec FROM Components WHERE ID > %ld AND ID <= %ld ORDER BY ID",
        systemId, systemId + kComponentOffsets.last);
    if (!runQuery(statement, text)) return;

    SQLINTEGER id = 0;
    char name[kAbbreviationSize] = {};
    unsigned char isCloseBinary = 0, isDiameterArcsec = 0;
    double mass = 0, diameter = 0;  // solar masses; solar diameters or arcseconds
    DATE_STRUCT updated = {};
    char massSource[kAbbreviationSize] = {};
    char diameterSource[kAbbreviationSize] = {};
    RowBinder row(statement);
    row.bindLong(1, id);
    row.bindText(2, name);
    row.bindBit(3, isCloseBinary);
    row.bindDouble(4, mass);
    row.bindDouble(5, diameter);
    row.bindDate(6, updated);
    row.bindText(7, massSource);
    row.bindText(8, diameterSource);
    row.bindBit(9, isDiameterArcsec);

    while (r.ComponentCount < kMaxComponents && row.fetch()) {
        ComponentRecord& component = r.Components[r.ComponentCount];
        component = ComponentRecord{};
        component.ID = row.has(1) ? id : 0;
        if (row.has(2)) std::memcpy(component.Name, name, sizeof component.Name);
        component.IsCloseBinary = row.isSet(3);
        component.IsDiameterArcsec = row.isSet(9);
        if (row.has(6)) component.LastUpdated = updated;
        component.hasMass = row.has(4);
        component.Mass = mass;
        component.hasDiameter = row.has(5);
        component.Diameter = diameter;
        component.hasMassSource = row.has(7);
        if (component.hasMassSource) std::memcpy(component.MassSource, massSource, sizeof massSource);
        component.hasDiameterSource = row.has(8);
        if (component.hasDiameterSource)
            std::memcpy(component.DiameterSource, diameterSource, sizeof diameterSource);
        component.hasSpectrum = false;
        component.hasMagnitudes = false;
        clearSpectrumFlags(component.Spectrum);
        clearMagnitudeFlags(component.Magnitudes);

        loadSpectrumAndMagnitudes(connection, component);
        noteUpdate(component.LastUpdated);
        ++r.ComponentCount;
    }
}

// Reads the first Magnitudes row of ownerId into record and folds its date
// into the newest-update date. A NULL LastUpdated reads as the zero date.
bool loadMagnitudes(SQLHSTMT statement, long ownerId, MagnitudeRecord& record)
{
    const std::string text = composeStatement(
        "SELECT ApparentVMag, VMagIncrease, VariableType, VariablePeriod, BminusV, UminusB, RminusI, "
        "VMagSource, LastUpdated FROM Magnitudes WHERE OwnerID = %ld",
        ownerId);
    if (!runQuery(statement, text)) return false;
    RowBinder row(statement);
    row.bindDouble(1, record.ApparentVMag);
    row.bindDouble(2, record.VMagIncrease);
    row.bindText(3, record.VariableType);
    row.bindDouble(4, record.VariablePeriod);
    row.bindDouble(5, record.BminusV);
    row.bindDouble(6, record.UminusB);
    row.bindDouble(7, record.RminusI);
    row.bindText(8, record.VMagSource);
    row.bindDate(9, record.LastUpdated);
    if (!row.fetch()) return false;
    record.hasApparentVMag = row.has(1);
    record.hasVMagIncrease = row.has(2);
    record.hasVariableType = row.has(3);
    record.hasVariablePeriod = row.has(4);
    record.hasBminusV = row.has(5);
    record.hasUminusB = row.has(6);
    record.hasRminusI = row.has(7);
    record.hasVMagSource = row.has(8);
    if (!row.has(9)) record.LastUpdated = DATE_STRUCT{};
    noteUpdate(record.LastUpdated);
    return true;
}

// Reads the first Velocities row of ownerId into record, cleared first,
// and folds its date into the newest-update date. hasOwnRow stays false.
bool loadVelocity(SQLHSTMT statement, long ownerId, VelocityRecord& record)
{
    record = VelocityRecord{};
    const std::string text = composeStatement(
        "SELECT ProperMotion, PMAngle, RadialVelocity, PMSource, RVSource, LastUpdated FROM Velocities "
        "WHERE OwnerID = %ld",
        ownerId);
    if (!runQuery(statement, text)) return false;
    RowBinder row(statement);
    row.bindDouble(1, record.ProperMotion);
    row.bindDouble(2, record.PMAngle);
    row.bindDouble(3, record.RadialVelocity);
    row.bindText(4, record.PMSource);
    row.bindText(5, record.RVSource);
    row.bindDate(6, record.LastUpdated);
    if (!row.fetch()) {
        record = VelocityRecord{};
        return false;
    }
    record.hasProperMotion = row.has(1);
    record.hasPMAngle = row.has(2);
    record.hasRadialVelocity = row.has(3);
    record.hasPMSource = row.has(4);
    record.hasRVSource = row.has(5);
    if (!row.has(6)) record.LastUpdated = DATE_STRUCT{};
    noteUpdate(record.LastUpdated);
    return true;
}

// Reads the system's position and, only when the system has one, every
// component's: a component without a row of its own takes a full copy of
// the system's; one with a row takes the system's right ascension,
// declination and distance (with the distance's error and source) where
// its row lacks them.
void loadComponentPositions(SQLHSTMT statement, long systemId)
{
    Report& r = report();
    if (!loadPosition(statement, systemId, r.SystemPosition)) return;
    noteUpdate(r.SystemPosition.LastUpdated);
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
        noteUpdate(position.LastUpdated);
    }
}

// Reads the system's velocity (cleared when it has none) and every
// component's: a component without a row of its own takes a full copy of
// the system's with hasOwnRow false; one with a row keeps it, hasOwnRow
// set, and takes the system's values where the row lacks them.
void loadComponentVelocities(SQLHSTMT statement, long systemId)
{
    Report& r = report();
    loadVelocity(statement, systemId, r.SystemVelocity);
    for (int i = 0; i < r.ComponentCount; ++i) {
        VelocityRecord& velocity = r.ComponentVelocities[i];
        if (!loadVelocity(statement, r.Components[i].ID, velocity)) {
            velocity = r.SystemVelocity;
            velocity.hasOwnRow = false;
            continue;
        }
        velocity.hasOwnRow = true;
        inheritVelocity(velocity, r.SystemVelocity);
    }
}

}  // namespace vldr
