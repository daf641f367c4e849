// Loading the component side of the report: the components with their
// spectra and magnitudes, and the positions and velocities of the system
// and of every component, with a component taking over the system's value
// where it has none of its own.
#include <cstring>

#include "database_session.h"
#include "loaders.h"
#include "number_columns.h"
#include "statement.h"

namespace vldr {
namespace {

// Components of system S have the IDs S+1 .. S+9.
constexpr long kLastComponentOffset = 9;

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

// Makes date the component's date when it is later.
void takeLaterDate(DATE_STRUCT& componentDate, const DATE_STRUCT& date)
{
    if (compareDates(date, componentDate) == 1) componentDate = date;
}

// Reads the spectrum and the magnitudes of a component through a second
// statement, while the shared statement stays on the Components result.
// The component's date becomes the newest of its own and theirs.
void loadComponentDetails(SQLHDBC connection, ComponentRecord& component)
{
    SecondStatement details(connection);
    if (!details.ok()) return;
    if (loadSpectrum(details.get(), component.ID, component.Spectrum)) {
        component.hasSpectrum = true;
        takeLaterDate(component.LastUpdated, component.Spectrum.LastUpdated);
    }
    if (loadMagnitudes(details.get(), component.ID, component.Magnitudes)) {
        component.hasMagnitudes = true;
        takeLaterDate(component.LastUpdated, component.Magnitudes.LastUpdated);
    }
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
        systemId, systemId + kLastComponentOffset);
    if (!runQuery(statement, text)) return;

    SQLINTEGER id = 0;
    char name[kAbbreviationSize] = {};
    unsigned char isCloseBinary = 0, isDiameterArcsec = 0;
    double mass = 0, diameter = 0;  // solar masses; solar diameters or arcseconds
    DATE_STRUCT updated = {};
    char massSource[kAbbreviationSize] = {};
    char diameterSource[kAbbreviationSize] = {};
    SQLLEN idIndicator = 0, nameIndicator = 0, closeBinaryIndicator = 0, massIndicator = 0;
    SQLLEN diameterIndicator = 0, updatedIndicator = 0, massSourceIndicator = 0;
    SQLLEN diameterSourceIndicator = 0, arcsecIndicator = 0;
    bindColumn(statement, 1, SQL_C_LONG, &id, 0, &idIndicator);
    bindText(statement, 2, name, &nameIndicator);
    bindColumn(statement, 3, SQL_C_BIT, &isCloseBinary, 0, &closeBinaryIndicator);
    bindColumn(statement, 4, SQL_C_DOUBLE, &mass, 0, &massIndicator);
    bindColumn(statement, 5, SQL_C_DOUBLE, &diameter, 0, &diameterIndicator);
    bindColumn(statement, 6, SQL_C_DATE, &updated, sizeof updated, &updatedIndicator);
    bindText(statement, 7, massSource, &massSourceIndicator);
    bindText(statement, 8, diameterSource, &diameterSourceIndicator);
    bindColumn(statement, 9, SQL_C_BIT, &isDiameterArcsec, 0, &arcsecIndicator);

    while (r.ComponentCount < kMaxComponents && fetchRow(statement)) {
        ComponentRecord& component = r.Components[r.ComponentCount];
        component = ComponentRecord{};
        component.ID = isPresent(idIndicator) ? id : 0;
        if (isPresent(nameIndicator)) std::memcpy(component.Name, name, sizeof component.Name);
        component.IsCloseBinary = isPresent(closeBinaryIndicator) && isCloseBinary != 0;
        component.IsDiameterArcsec = isPresent(arcsecIndicator) && isDiameterArcsec != 0;
        if (isPresent(updatedIndicator)) component.LastUpdated = updated;
        component.hasMass = isPresentNumber(mass, massIndicator);
        component.Mass = mass;
        component.hasDiameter = isPresentNumber(diameter, diameterIndicator);
        component.Diameter = diameter;
        component.hasMassSource = isPresent(massSourceIndicator);
        if (component.hasMassSource) std::memcpy(component.MassSource, massSource, sizeof massSource);
        component.hasDiameterSource = isPresent(diameterSourceIndicator);
        if (component.hasDiameterSource)
            std::memcpy(component.DiameterSource, diameterSource, sizeof diameterSource);
        component.hasSpectrum = false;
        component.hasMagnitudes = false;
        clearSpectrumFlags(component.Spectrum);
        clearMagnitudeFlags(component.Magnitudes);

        loadComponentDetails(connection, component);
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
    SQLLEN apparent = 0, increase = 0, variableType = 0, period = 0, bMinusV = 0, uMinusB = 0;
    SQLLEN rMinusI = 0, source = 0, updated = 0;
    bindColumn(statement, 1, SQL_C_DOUBLE, &record.ApparentVMag, 0, &apparent);
    bindColumn(statement, 2, SQL_C_DOUBLE, &record.VMagIncrease, 0, &increase);
    bindText(statement, 3, record.VariableType, &variableType);
    bindColumn(statement, 4, SQL_C_DOUBLE, &record.VariablePeriod, 0, &period);
    bindColumn(statement, 5, SQL_C_DOUBLE, &record.BminusV, 0, &bMinusV);
    bindColumn(statement, 6, SQL_C_DOUBLE, &record.UminusB, 0, &uMinusB);
    bindColumn(statement, 7, SQL_C_DOUBLE, &record.RminusI, 0, &rMinusI);
    bindText(statement, 8, record.VMagSource, &source);
    bindColumn(statement, 9, SQL_C_DATE, &record.LastUpdated, sizeof record.LastUpdated, &updated);
    const bool fetched = fetchRow(statement);
    // The bound storage is the caller's record: release it before returning.
    SQLFreeStmt(statement, SQL_UNBIND);
    if (!fetched) return false;
    record.hasApparentVMag = isPresentNumber(record.ApparentVMag, apparent);
    record.hasVMagIncrease = isPresentNumber(record.VMagIncrease, increase);
    record.hasVariableType = isPresent(variableType);
    record.hasVariablePeriod = isPresentNumber(record.VariablePeriod, period);
    record.hasBminusV = isPresentNumber(record.BminusV, bMinusV);
    record.hasUminusB = isPresentNumber(record.UminusB, uMinusB);
    record.hasRminusI = isPresentNumber(record.RminusI, rMinusI);
    record.hasVMagSource = isPresent(source);
    if (!isPresent(updated)) record.LastUpdated = DATE_STRUCT{};
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
    SQLLEN properMotion = 0, angle = 0, radialVelocity = 0, pmSource = 0, rvSource = 0, updated = 0;
    bindColumn(statement, 1, SQL_C_DOUBLE, &record.ProperMotion, 0, &properMotion);
    bindColumn(statement, 2, SQL_C_DOUBLE, &record.PMAngle, 0, &angle);
    bindColumn(statement, 3, SQL_C_DOUBLE, &record.RadialVelocity, 0, &radialVelocity);
    bindText(statement, 4, record.PMSource, &pmSource);
    bindText(statement, 5, record.RVSource, &rvSource);
    bindColumn(statement, 6, SQL_C_DATE, &record.LastUpdated, sizeof record.LastUpdated, &updated);
    const bool fetched = fetchRow(statement);
    SQLFreeStmt(statement, SQL_UNBIND);
    if (!fetched) {
        record = VelocityRecord{};
        return false;
    }
    record.hasProperMotion = isPresentNumber(record.ProperMotion, properMotion);
    record.hasPMAngle = isPresentNumber(record.PMAngle, angle);
    record.hasRadialVelocity = isPresentNumber(record.RadialVelocity, radialVelocity);
    record.hasPMSource = isPresent(pmSource);
    record.hasRVSource = isPresent(rvSource);
    if (!isPresent(updated)) record.LastUpdated = DATE_STRUCT{};
    noteUpdate(record.LastUpdated);
    return true;
}

// Reads the system's position and, only when the system has one, every
// component's: a component without a row of its own takes a full copy of
// the system's; one with a row takes the system's right ascension,
// declination and distance (with the distance's error and source) where
// its row lacks them.
bool loadComponentPositions(SQLHSTMT statement, long systemId)
{
    Report& r = report();
    if (!loadPosition(statement, systemId, r.SystemPosition)) return false;
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
    return true;
}

// Reads the system's velocity (cleared when it has none) and every
// component's: a component without a row of its own takes a full copy of
// the system's with hasOwnRow false; one with a row keeps it, hasOwnRow
// set, and takes the system's values where the row lacks them.
bool loadComponentVelocities(SQLHSTMT statement, long systemId)
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
    return true;
}

}  // namespace vldr
