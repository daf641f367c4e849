// Rows read by both programs: the spectrum and the position of one owner
// (a system, a component or an orbit), and the velocity row beside them.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "field_limits.h"
#include "ids.h"
#include "row_binder.h"

namespace vldr {

// The Spectra row of one owner.
struct SpectrumRecord {
    bool hasSpectralClass = false;
    char SpectralClass[kNameSize] = {};
    bool hasLuminosityClass = false;
    char LuminosityClass[kNameSize] = {};
    bool hasSpectrumSource = false;
    char SpectrumSource[kAbbreviationSize] = {};  // source abbreviation
    DATE_STRUCT LastUpdated = {};
};

// The Positions row of one owner.
struct PositionRecord {
    bool hasRA = false;
    bool hasDec = false;
    bool hasDistance = false;
    bool hasDistanceError = false;
    bool hasDistanceSource = false;
    // Set by the report for a component: the value came from its own row
    // rather than from its system's.
    bool ownRA = false;
    bool ownDec = false;
    bool ownDistance = false;
    unsigned char RA_hr = 0;    // hours of right ascension
    unsigned char RA_min = 0;   // minutes of right ascension
    float RA_sec = 0;           // seconds of right ascension
    short Dec_deg = 0;          // whole degrees; its sign is the declination's
    unsigned char Dec_arcmin = 0;
    float Dec_arcsec = 0;
    double Distance = 0;        // from the Sun (light-years)
    double DistanceError = 0;   // relative standard error (fraction)
    char DistanceSource[kAbbreviationSize] = {};
    DATE_STRUCT LastUpdated = {};
    double Epoch = 0;           // epoch of the position (year)
};

// One row of a scan of Positions: the position with the OwnerID it belongs to.
struct OwnedPositionRow {
    PositionRecord position;
    Id OwnerID = 0;
    bool hasOwner = false;
};

// One Velocities row.
struct VelocityRecord {
    bool hasProperMotion = false;
    bool hasPMAngle = false;
    bool hasRadialVelocity = false;
    bool hasPMSource = false;
    bool hasRVSource = false;
    bool hasOwnRow = false;           // components: the row is the component's own
    double ProperMotion = 0;          // arcsec/yr
    double PMAngle = 0;               // degrees from north
    double RadialVelocity = 0;        // km/s
    char PMSource[kAbbreviationSize] = {};
    char RVSource[kAbbreviationSize] = {};
    DATE_STRUCT LastUpdated = {};
};

// The statement that reads the Spectra row of ownerId.
std::string spectrumStatement(Id ownerId);

// The statement that reads the Positions row of ownerId.
std::string positionStatement(Id ownerId);

// Reads the Spectra row of ownerId into record. True when a row was
// fetched; false (record untouched) when the query fails or there is no row.
bool loadSpectrum(SQLHSTMT statement, Id ownerId, SpectrumRecord& record);

// Reads the Positions row of ownerId into record, setting its five presence
// flags (not the own flags). True when a row was fetched; false (record
// untouched) when the query fails or there is no row.
bool loadPosition(SQLHSTMT statement, Id ownerId, PositionRecord& record);

// Binds the seven columns every query of Positions starts with (RA_hr,
// RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, as columns 1
// to 7) into record; each fetch sets hasRA, hasDec and hasDistance.
void bindPositionColumns(RowBinder& row, PositionRecord& record);

// After a fetch of those columns: hasRA from RA_hr, hasDec from Dec_deg,
// hasDistance from Distance (a distance that is not finite is absent), as
// the fetch itself sets them; for a caller that clears record between fetches.
void readPositionPresence(const RowBinder& row, PositionRecord& record);

}  // namespace vldr
