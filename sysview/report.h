// The state of one sysview request: everything the report page shows about
// a system's components, their positions and motions, the orbits between
// them and their planets, loaded once and then printed section by section.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "field_limits.h"
#include "ids.h"
#include "records.h"

namespace vldr {

// Capacities, one entry per ID of each range of a system S (ids.h), so
// that a loader that queries exactly its range can never overflow its table.
inline constexpr int kMaxComponents = kComponentOffsets.count();  // 9
inline constexpr int kMaxOrbits = kOrbitOffsets.count();          // 39
inline constexpr int kMaxPlanets = kPlanetOffsets.count();        // 19
// Distinct planet IDs an orbit table can name (last two digits 51 to 99).
inline constexpr int kMaxCompanions = kIdsPerSystem - kPlanetOffsets.first;  // 49

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
    int ID = 0;                       // S+1 .. S+9
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
    int ID = 0;            // S+11 .. S+49; also the pair it binds
    int PrimaryID = 0;     // a component, pair or planet
    int SecondaryID = 0;
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
    int ID = 0;                  // S+51 .. S+69
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

// The report of one system. Filled by the loaders in the driver's order,
// then only read by the sections.
struct Report {
    OrbitRecord Orbits[kMaxOrbits];
    ComponentPhotometry Photometry[kMaxComponents];  // index-aligned with Components
    DATE_STRUCT NewestUpdate = {};                   // newest LastUpdated seen
    ComponentRecord Components[kMaxComponents];      // ascending ID
    PositionRecord ComponentPositions[kMaxComponents];
    VelocityRecord ComponentVelocities[kMaxComponents];
    VelocityRecord SystemVelocity;
    PositionRecord SystemPosition;
    PlanetRecord Planets[kMaxPlanets];               // ascending ID
    int ComponentCount = 0;
    int OrbitCount = 0;
    int PlanetCount = 0;
};

// The one report of this process.
Report& report();

// Three-way comparison of two dates: 1 when a is later, -1 when earlier, 0 when equal.
int compareDates(const DATE_STRUCT& a, const DATE_STRUCT& b);

// Makes candidate the record's date when it is later (a component's or a
// pair's date becomes the newest of its own rows).
void takeLaterDate(DATE_STRUCT& date, const DATE_STRUCT& candidate);

// The newest-update rule: makes date the report's NewestUpdate when it is later.
void noteUpdate(const DATE_STRUCT& date);

// English name of month 1..12; an empty text for any other number.
const char* monthName(int month);

// Index of the first record with this ID in Components, Orbits or Planets; -1 when none.
int findComponent(int id);
int findOrbit(int id);
int findPlanet(int id);

// True when x is a member of orbit i, or of any orbit that contains orbit i
// directly or through further orbits. Ends on cyclic orbit data.
bool isInOrbitTree(int orbitIndex, int x);

// Writes into ids (room for kMaxCompanions) the planets that belong to
// component x through the orbit hierarchy, each once, in the order the orbit
// table first names them; sets count to the number written.
void findCompanions(int x, int& count, int* ids);

}  // namespace vldr
