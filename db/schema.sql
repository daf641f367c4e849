-- Schema of the VLDR star-system database.
--
-- IDs: a star system is S, a positive multiple of 100. Its components are
-- S+1..S+9, its orbits (each also standing for the pair it binds) S+11..S+49,
-- its planets and other detected companions S+51..S+69. Detail tables name
-- their system, component or orbit by OwnerID.
--
-- Units: distances in light-years, right ascension in h/m/s, declination in
-- d/m/s with the sign carried by the degrees, proper motion in arcsec/yr and
-- its angle in degrees from north, velocities in km/s, relative errors as
-- fractions. Dates are 'YYYY-MM-DD' text. Yes/no columns hold 0 or 1.
-- Text is windows-1252.

CREATE TABLE CatalogNames (
    Abbreviation    TEXT NOT NULL,
    LongName        TEXT,
    Description     TEXT,
    HasNoCatNumbers INTEGER CHECK (HasNoCatNumbers IN (0, 1))
);
CREATE INDEX CatalogNamesByAbbreviation ON CatalogNames (Abbreviation);

CREATE TABLE Systems (
    ID                 INTEGER PRIMARY KEY CHECK (ID > 0 AND ID % 100 = 0),
    Age                REAL,   -- millions of years
    AgeError           REAL,   -- fraction
    AgeSource          TEXT,
    AgeComment         TEXT,
    Metallicity        REAL,   -- fraction of the Sun's
    MetallicityError   REAL,   -- fraction
    MetallicitySource  TEXT,
    MetallicityComment TEXT,
    ArityComment       TEXT,
    PointsOfInterest   TEXT,
    LastUpdated        TEXT
);

CREATE TABLE ProperNames (
    OwnerID      INTEGER NOT NULL CHECK (OwnerID >= 100),
    Name         TEXT NOT NULL,
    IsSystemName INTEGER NOT NULL DEFAULT 0 CHECK (IsSystemName IN (0, 1)),
    Yes          INTEGER GENERATED ALWAYS AS (1) VIRTUAL
);
CREATE INDEX ProperNamesByOwner ON ProperNames (OwnerID);

CREATE TABLE CatalogNumbers (
    OwnerID      INTEGER NOT NULL CHECK (OwnerID >= 100),
    CatAbbrev    TEXT NOT NULL,
    Value        TEXT NOT NULL,
    IsSystemName INTEGER NOT NULL DEFAULT 0 CHECK (IsSystemName IN (0, 1)),
    Yes          INTEGER GENERATED ALWAYS AS (1) VIRTUAL
);
CREATE INDEX CatalogNumbersByOwner ON CatalogNumbers (OwnerID);
CREATE INDEX CatalogNumbersByDesignation ON CatalogNumbers (CatAbbrev, Value);

CREATE TABLE Components (
    ID               INTEGER PRIMARY KEY CHECK (ID > 100 AND ID % 100 BETWEEN 1 AND 9),
    Name             TEXT,
    IsCloseBinary    INTEGER CHECK (IsCloseBinary IN (0, 1)),
    Mass             REAL,   -- solar masses
    Diameter         REAL,   -- solar diameters, or arcseconds when IsDiameterArcsec
    LastUpdated      TEXT,
    MassSource       TEXT,
    DiameterSource   TEXT,
    IsDiameterArcsec INTEGER CHECK (IsDiameterArcsec IN (0, 1))
);

CREATE TABLE Positions (
    OwnerID        INTEGER NOT NULL UNIQUE CHECK (OwnerID >= 100),
    RA_hr          INTEGER CHECK (RA_hr BETWEEN 0 AND 23),
    RA_min         INTEGER CHECK (RA_min BETWEEN 0 AND 59),
    RA_sec         REAL CHECK (RA_sec >= 0 AND RA_sec < 60),
    Dec_deg        INTEGER CHECK (Dec_deg BETWEEN -90 AND 90),
    Dec_arcmin     INTEGER CHECK (Dec_arcmin BETWEEN 0 AND 59),
    Dec_arcsec     REAL CHECK (Dec_arcsec >= 0 AND Dec_arcsec < 60),
    Distance       REAL,   -- light-years
    DistanceError  REAL,   -- fraction
    DistanceSource TEXT,
    LastUpdated    TEXT,
    Epoch          REAL    -- year
);

CREATE TABLE Spectra (
    OwnerID         INTEGER NOT NULL UNIQUE CHECK (OwnerID >= 100),
    SpectralClass   TEXT,
    LuminosityClass TEXT,
    SpectrumSource  TEXT,
    LastUpdated     TEXT
);

CREATE TABLE Magnitudes (
    OwnerID        INTEGER NOT NULL UNIQUE CHECK (OwnerID >= 100),
    ApparentVMag   REAL,
    VMagIncrease   REAL,   -- magnitudes brighter at maximum
    VariableType   TEXT,
    VariablePeriod REAL,   -- days
    BminusV        REAL,
    UminusB        REAL,
    RminusI        REAL,
    VMagSource     TEXT,
    LastUpdated    TEXT
);

CREATE TABLE Velocities (
    OwnerID        INTEGER NOT NULL UNIQUE CHECK (OwnerID >= 100),
    ProperMotion   REAL,   -- arcsec/yr
    PMAngle        REAL,   -- degrees from north
    RadialVelocity REAL,   -- km/s
    PMSource       TEXT,
    RVSource       TEXT,
    LastUpdated    TEXT
);

-- An orbit lies in S+11..S+49; its two bodies are components, pairs or
-- planets of the same system.
CREATE TABLE Orbits (
    ID              INTEGER PRIMARY KEY CHECK (ID > 100 AND ID % 100 BETWEEN 11 AND 49),
    PrimaryID       INTEGER NOT NULL CHECK (PrimaryID / 100 = ID / 100 AND
                        (PrimaryID % 100 BETWEEN 1 AND 9 OR PrimaryID % 100 BETWEEN 11 AND 49
                         OR PrimaryID % 100 BETWEEN 51 AND 69)),
    SecondaryID     INTEGER NOT NULL CHECK (SecondaryID / 100 = ID / 100 AND
                        (SecondaryID % 100 BETWEEN 1 AND 9 OR SecondaryID % 100 BETWEEN 11 AND 49
                         OR SecondaryID % 100 BETWEEN 51 AND 69)),
    Period          REAL,   -- years
    SemimajorAxis   REAL,   -- arcseconds, or AU when IsAxisAU
    Eccentricity    REAL,
    Inclination     REAL,   -- degrees
    Omega           REAL,   -- degrees
    PeriastronEpoch REAL,   -- year
    IsAxisJustGap   INTEGER CHECK (IsAxisJustGap IN (0, 1)),
    Source          TEXT,
    PeriodError     REAL,   -- fraction
    LastUpdated     TEXT,
    IsAxisAU        INTEGER CHECK (IsAxisAU IN (0, 1)),
    -- Kept for the record; the programs do not read them. Where a catalogue
    -- gives only a bound on the eccentricity (1: upper, -1: lower),
    -- Eccentricity is NULL and the bound is EccentricityBound.
    EccentricityLimit INTEGER CHECK (EccentricityLimit IN (-1, 1)),
    EccentricityBound REAL,
    Grade           INTEGER CHECK (Grade BETWEEN 1 AND 9)   -- ORB6 grade: 1 definitive .. 5 indeterminate
);

CREATE TABLE Planets (
    ID             INTEGER PRIMARY KEY CHECK (ID > 100 AND ID % 100 BETWEEN 51 AND 69),
    Name           TEXT,
    LastUpdated    TEXT,
    Mass           REAL,   -- Jupiter masses
    MassError      REAL,   -- fraction
    IsMassAMinimum INTEGER CHECK (IsMassAMinimum IN (0, 1)),
    MassSource     TEXT,
    Radius         REAL,   -- Jupiter radii
    RadiusError    REAL,   -- fraction
    RadiusSource   TEXT,
    -- Kept for the record; the programs do not read them. Where the archive
    -- gives only an upper bound on the mass (MassLimit 1) Mass is NULL and the
    -- bound is MassBound; a lower bound (-1) is the Mass, a minimum.
    MassLimit      INTEGER CHECK (MassLimit IN (-1, 1)),
    MassBound      REAL,   -- Jupiter masses
    IsControversial INTEGER CHECK (IsControversial IN (0, 1))   -- the archive doubts the planet
);
