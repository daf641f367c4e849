-- Indexes of the VLDR database that are built after the data is loaded
-- (db/index-db; db/build-db runs this file after its data files).
--
-- Needs INT() of the VLDR dialect (vldr_sqlite_ext.so, entry point
-- sqlite3_vldr_dialect_init) and SQLite's built-in math functions. Every
-- object is dropped before it is made again, so the file can run again on
-- a database that already has them.

-- The display name of a system is looked up for the system and all its
-- components at once, by INT(OwnerID/100); these let that lookup seek.
DROP INDEX IF EXISTS ProperNamesBySystem;
CREATE INDEX ProperNamesBySystem ON ProperNames (INT(OwnerID/100));
DROP INDEX IF EXISTS CatalogNumbersBySystem;
CREATE INDEX CatalogNumbersBySystem ON CatalogNumbers (INT(OwnerID/100));

-- The position grid: the galactic X, Y, Z (light-years) of every position
-- row that the neighbour search could list, filed by the cube of 10
-- light-years' edge that holds it. proxlist reads only the rows filed in
-- the cubes around its search sphere. The cube edge (10), the cube limit
-- (1,000,000 cubes from the Sun along each axis) and the catch-all cube
-- (9000000000) are fixed by this file and by proxlist/position_candidates.h.
--
-- A row whose values are not plain numbers, or that lies beyond the cube
-- limit, is filed in the catch-all cube, which every search reads. A row
-- that the search never lists (no distance; a non-zero distance without
-- right ascension or declination; a component's own position) is not
-- filed. The triggers at the end keep the grid in step with Positions
-- whatever client changes it; a client without these functions cannot
-- change Positions at all.
DROP TRIGGER IF EXISTS PositionIndexesAfterInsert;
DROP TRIGGER IF EXISTS PositionIndexesAfterUpdate;
DROP TRIGGER IF EXISTS PositionIndexesAfterDelete;
DROP TRIGGER IF EXISTS PositionCellsAfterInsert;
DROP TRIGGER IF EXISTS PositionCellsAfterUpdate;
DROP TRIGGER IF EXISTS PositionCellsAfterDelete;
DROP VIEW IF EXISTS PositionCellEntries;
DROP TABLE IF EXISTS PositionCells;

CREATE TABLE PositionCells (
    CellX   INTEGER NOT NULL,   -- floor(X / 10), or the catch-all cube
    CellY   INTEGER NOT NULL,
    CellZ   INTEGER NOT NULL,
    OwnerID NOT NULL,           -- the Positions row's OwnerID as stored
    X       REAL,               -- galactic, light-years; NULL in the catch-all cube
    Y       REAL,
    Z       REAL,
    PRIMARY KEY (CellX, CellY, CellZ, OwnerID)
) WITHOUT ROWID;
CREATE INDEX PositionCellsByOwner ON PositionCells (OwnerID);

-- The grid entry of each Positions row that gets one, by the row's rowid.
-- The arithmetic is proxlist's: right ascension and declination from their
-- parts (an absent minute or second counts as 0), the polar angle, the
-- equatorial X, Y, Z and the rotation into the galactic frame.
CREATE VIEW PositionCellEntries AS
SELECT PositionRowID, OwnerID, X, Y, Z,
       CASE WHEN plain AND abs(X) < 1e7 AND abs(Y) < 1e7 AND abs(Z) < 1e7
            THEN CAST(floor(X / 10.0) AS INTEGER) ELSE 9000000000 END AS CellX,
       CASE WHEN plain AND abs(X) < 1e7 AND abs(Y) < 1e7 AND abs(Z) < 1e7
            THEN CAST(floor(Y / 10.0) AS INTEGER) ELSE 9000000000 END AS CellY,
       CASE WHEN plain AND abs(X) < 1e7 AND abs(Y) < 1e7 AND abs(Z) < 1e7
            THEN CAST(floor(Z / 10.0) AS INTEGER) ELSE 9000000000 END AS CellZ
FROM (
    SELECT PositionRowID, OwnerID, plain,
           -0.0672 * ex - 0.8727 * ey - 0.4835 * ez AS X,
           0.4927 * ex - 0.4504 * ey + 0.7445 * ez AS Y,
           -0.8676 * ex - 0.1884 * ey + 0.4602 * ez AS Z
    FROM (
        SELECT PositionRowID, OwnerID, plain,
               CASE WHEN Distance = 0 THEN 0.0 ELSE Distance * cos(alpha) * sin(theta) END AS ex,
               CASE WHEN Distance = 0 THEN 0.0 ELSE Distance * sin(alpha) * sin(theta) END AS ey,
               CASE WHEN Distance = 0 THEN 0.0 ELSE Distance * cos(theta) END AS ez
        FROM (
            SELECT rowid AS PositionRowID, OwnerID, Distance,
                   typeof(OwnerID) = 'integer' AND typeof(Distance) IN ('integer', 'real')
                   AND typeof(RA_hr) IN ('integer', 'null') AND typeof(RA_min) IN ('integer', 'null')
                   AND typeof(RA_sec) IN ('integer', 'real', 'null')
                   AND typeof(Dec_deg) IN ('integer', 'null') AND typeof(Dec_arcmin) IN ('integer', 'null')
                   AND typeof(Dec_arcsec) IN ('integer', 'real', 'null') AS plain,
                   (IFNULL(RA_sec, 0) * (1.0 / 3600) + IFNULL(RA_min, 0) * (1.0 / 60) + RA_hr)
                       * 0.26179938779914913 AS alpha,
                   (90 - ((CASE WHEN Dec_deg < 0 THEN -1 ELSE 1 END) * IFNULL(Dec_arcsec, 0) * (1.0 / 3600)
                          + (CASE WHEN Dec_deg < 0 THEN -1 ELSE 1 END) * IFNULL(Dec_arcmin, 0) * (1.0 / 60)
                          + Dec_deg)) * 0.017453292519943278 AS theta
            FROM Positions
            WHERE NOT (typeof(OwnerID) = 'integer' AND OwnerID % 100 <> 0)
              AND Distance IS NOT NULL
              AND NOT (typeof(Distance) IN ('integer', 'real') AND Distance <> 0
                       AND (RA_hr IS NULL OR Dec_deg IS NULL))
        )
    )
);

INSERT INTO PositionCells (CellX, CellY, CellZ, OwnerID, X, Y, Z)
    SELECT CellX, CellY, CellZ, OwnerID, X, Y, Z FROM PositionCellEntries;

-- The direction index: the equatorial unit vector of every system's
-- position row that the cone search could list, filed by the cube of
-- 1/64's edge that holds it. conesearch reads only the rows filed in the
-- cubes around its cone. The cube size (1/64) and the catch-all cube
-- (9000000000) are fixed by this file and by conesearch/sky_direction.h.
--
-- A row whose values are not plain finite numbers is filed in the catch-all
-- cube, which every search reads. A row that the cone search never lists (a
-- component's own position; no right ascension or declination; distance 0,
-- the Sun, which has no direction) is not filed. The triggers at the end
-- keep the index in step with Positions whatever client changes it.
DROP VIEW IF EXISTS DirectionCellEntries;
DROP TABLE IF EXISTS DirectionCells;

CREATE TABLE DirectionCells (
    CellX   INTEGER NOT NULL,   -- floor(X * 64), or the catch-all cube
    CellY   INTEGER NOT NULL,
    CellZ   INTEGER NOT NULL,
    OwnerID NOT NULL,           -- the Positions row's OwnerID as stored
    X       REAL,               -- equatorial unit vector; NULL in the catch-all cube
    Y       REAL,
    Z       REAL,
    PRIMARY KEY (CellX, CellY, CellZ, OwnerID)
) WITHOUT ROWID;
CREATE INDEX DirectionCellsByOwner ON DirectionCells (OwnerID);

-- The index entry of each Positions row that gets one, by the row's rowid.
-- Right ascension and declination from their parts as the programs compute
-- them (an absent minute or second counts as 0), then the unit vector.
CREATE VIEW DirectionCellEntries AS
SELECT PositionRowID, OwnerID, X, Y, Z,
       CASE WHEN plain AND abs(X) <= 1 AND abs(Y) <= 1 AND abs(Z) <= 1
            THEN CAST(floor(X * 64.0) AS INTEGER) ELSE 9000000000 END AS CellX,
       CASE WHEN plain AND abs(X) <= 1 AND abs(Y) <= 1 AND abs(Z) <= 1
            THEN CAST(floor(Y * 64.0) AS INTEGER) ELSE 9000000000 END AS CellY,
       CASE WHEN plain AND abs(X) <= 1 AND abs(Y) <= 1 AND abs(Z) <= 1
            THEN CAST(floor(Z * 64.0) AS INTEGER) ELSE 9000000000 END AS CellZ
FROM (
    SELECT PositionRowID, OwnerID, plain,
           cos(delta) * cos(alpha) AS X, cos(delta) * sin(alpha) AS Y, sin(delta) AS Z
    FROM (
        SELECT rowid AS PositionRowID, OwnerID,
               typeof(OwnerID) = 'integer'
               AND typeof(RA_hr) = 'integer' AND typeof(RA_min) IN ('integer', 'null')
               AND typeof(RA_sec) IN ('integer', 'real', 'null')
               AND typeof(Dec_deg) = 'integer' AND typeof(Dec_arcmin) IN ('integer', 'null')
               AND typeof(Dec_arcsec) IN ('integer', 'real', 'null') AS plain,
               (IFNULL(RA_sec, 0) * (1.0 / 3600) + IFNULL(RA_min, 0) * (1.0 / 60) + RA_hr)
                   * 0.26179938779914913 AS alpha,
               ((CASE WHEN Dec_deg < 0 THEN -1 ELSE 1 END) * IFNULL(Dec_arcsec, 0) * (1.0 / 3600)
                + (CASE WHEN Dec_deg < 0 THEN -1 ELSE 1 END) * IFNULL(Dec_arcmin, 0) * (1.0 / 60)
                + Dec_deg) * 0.017453292519943278 AS delta
        FROM Positions
        WHERE NOT (typeof(OwnerID) = 'integer' AND OwnerID % 100 <> 0)
          AND RA_hr IS NOT NULL AND Dec_deg IS NOT NULL
          AND NOT (typeof(Distance) IN ('integer', 'real') AND Distance = 0)
    )
);

INSERT INTO DirectionCells (CellX, CellY, CellZ, OwnerID, X, Y, Z)
    SELECT CellX, CellY, CellZ, OwnerID, X, Y, Z FROM DirectionCellEntries;

-- The triggers that keep the position grid and the direction index in step
-- with Positions. A REPLACE that removes a row on a conflict fires no
-- delete trigger, so each insertion first drops whatever the two still
-- hold for its OwnerID.
CREATE TRIGGER PositionIndexesAfterInsert AFTER INSERT ON Positions BEGIN
    DELETE FROM PositionCells WHERE OwnerID = new.OwnerID;
    INSERT INTO PositionCells (CellX, CellY, CellZ, OwnerID, X, Y, Z)
        SELECT CellX, CellY, CellZ, OwnerID, X, Y, Z FROM PositionCellEntries WHERE PositionRowID = new.rowid;
    DELETE FROM DirectionCells WHERE OwnerID = new.OwnerID;
    INSERT INTO DirectionCells (CellX, CellY, CellZ, OwnerID, X, Y, Z)
        SELECT CellX, CellY, CellZ, OwnerID, X, Y, Z FROM DirectionCellEntries WHERE PositionRowID = new.rowid;
END;
CREATE TRIGGER PositionIndexesAfterUpdate AFTER UPDATE ON Positions BEGIN
    DELETE FROM PositionCells WHERE OwnerID IN (old.OwnerID, new.OwnerID);
    INSERT INTO PositionCells (CellX, CellY, CellZ, OwnerID, X, Y, Z)
        SELECT CellX, CellY, CellZ, OwnerID, X, Y, Z FROM PositionCellEntries WHERE PositionRowID = new.rowid;
    DELETE FROM DirectionCells WHERE OwnerID IN (old.OwnerID, new.OwnerID);
    INSERT INTO DirectionCells (CellX, CellY, CellZ, OwnerID, X, Y, Z)
        SELECT CellX, CellY, CellZ, OwnerID, X, Y, Z FROM DirectionCellEntries WHERE PositionRowID = new.rowid;
END;
CREATE TRIGGER PositionIndexesAfterDelete AFTER DELETE ON Positions BEGIN
    DELETE FROM PositionCells WHERE OwnerID = old.OwnerID;
    DELETE FROM DirectionCells WHERE OwnerID = old.OwnerID;
END;
