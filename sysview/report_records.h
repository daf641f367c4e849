// The rows the report of one system is loaded from: components with their
// magnitudes, the orbits between them, the planets and the system's own row.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "field_limits.h"
#include "ids.h"
#include "records.h"

namespace vldr {

// One Magnitudes row.
struct MagnitudeRecord {
    bool hasApparentVMag = false;
    double ApparentVMag = 0;     // apparent visual magnitude
    bool hasVariableType = false;
    char VariableType[kVariableTypeSize] = {};  // variable-star type code
    bool hasVMagIncrease = false;
    double VMagIncrease = 0;     // magnitudes brighter at maximum
    bool hasVariablePeriod = false;
    double VariablePeriod = 0;   // days
    bool hasBminusV = false;
    double BminusV = 0;
    bool hasUminusB = false;
    double UminusB = 0;
    bool hasRminusI = false;
    double RminusI = 0;
    bool hasVMagSource = false;
    char VMagSource[kAbbreviationSize] = {};
    DATE_STRUCT LastUpdated = {};
};

// One Components row with the rows attached to the same ID.
struct ComponentRecord {
    Id ID = 0;                        // S+1 .. S+9
    char Name[kAbbreviationSize] = {};  // letter or short name
    bool IsCloseBinary = false;
    bool IsDiameterArcsec = false;
    DATE_STRUCT LastUpdated = {};     // newest of the Components, Spectra and Magnitudes dates
    bool hasSpectrum = false;
    bool hasMagnitudes = false;
    SpectrumRecord Spectrum;
    MagnitudeRecord Magnitudes;
    bool hasMass = false;
    double Mass = 0;                  // solar masses
    bool hasDiameter = false;
    double Diameter = 0;              // solar diameters, or arcseconds when IsDiameterArcsec
    bool hasMassSource = false;
    char MassSource[kAbbreviationSize] = {};
    bool hasDiameterSource = false;
    char DiameterSource[kAbbreviationSize] = {};
};

// Values derived from a component's apparent magnitude and distance.
struct ComponentPhotometry {
    double AbsoluteVMag = 0;       // absolute visual magnitude, or kNoAbsoluteMagnitude
    double Luminosity = 0;         // visual luminosity (Sun = 1), or kNoValue
    double ComfortZone = 0;        // sqrt(Luminosity) (AU), or kNoValue
    double AbsoluteVMagAtMax = 0;  // at maximum brightness, or kNoAbsoluteMagnitude
    double LuminosityAtMax = 0;    // at maximum brightness, or kNoValue
};

// One Orbits row with the pair's combined spectrum and photometry.
struct OrbitRecord {
    Id ID = 0;             // S+11 .. S+49; also the pair it binds
    Id PrimaryID = 0;      // a component, pair or planet
    Id SecondaryID = 0;
    bool hasPeriod = false;
    bool hasSemimajorAxis = false;
    bool hasEccentricity = false;
    bool hasInclination = false;
    bool hasOmega = false;
    bool hasPeriastronEpoch = false;
    bool hasSource = false;
    bool hasPeriodError = false;
    double Period = 0;           // years
    double SemimajorAxis = 0;    // arcseconds, or AU when IsAxisAU
    double Eccentricity = 0;
    double Inclination = 0;      // degrees
    double Omega = 0;            // degrees
    double PeriastronEpoch = 0;  // year
    bool IsAxisJustGap = false;  // the axis is only an observed separation
    bool IsAxisAU = false;       // the axis is in astronomical units
    char Source[kNameSize] = {};
    double PeriodError = 0;      // fraction
    DATE_STRUCT LastUpdated = {};
    bool hasSpectrum = false;
    bool hasMagnitudes = false;
    SpectrumRecord Spectrum;
    MagnitudeRecord Magnitudes;
};

// One Planets row.
struct PlanetRecord {
    Id ID = 0;                   // S+51 .. S+69
    char Name[kNameSize] = {};
    DATE_STRUCT LastUpdated = {};
    bool hasMass = false;
    double Mass = 0;             // Jupiter masses
    bool hasMassError = false;
    double MassError = 0;        // fraction
    bool IsMassAMinimum = false;
    bool hasMassSource = false;
    char MassSource[kNameSize] = {};
    bool hasRadius = false;
    double Radius = 0;           // Jupiter units
    bool hasRadiusError = false;
    double RadiusError = 0;      // fraction
    bool hasRadiusSource = false;
    char RadiusSource[kNameSize] = {};
};

// One system-wide estimate of the Systems row (age or heavy-element
// abundance): its value, standard error, source and comment, each with a
// presence flag.
struct SystemEstimate {
    bool hasValue = false;
    double Value = 0;               // age: millions of years; abundance: fraction of the Sun's
    bool hasError = false;
    double Error = 0;               // fraction
    bool hasSource = false;
    char Source[kNameSize] = {};
    bool hasComment = false;
    char Comment[kCommentSize] = {};
};

// The Systems row of one system; a presence flag for every column but the date.
struct SystemRecord {
    SystemEstimate Age;
    SystemEstimate Metallicity;
    bool hasArityComment = false;
    char ArityComment[kCommentSize] = {};
    bool hasPointsOfInterest = false;
    char PointsOfInterest[kPointsOfInterestSize] = {};
    DATE_STRUCT LastUpdated = {};
};

}  // namespace vldr
