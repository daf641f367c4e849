"""Generates a VLDR database of many star systems for the benchmark.

    python3 bench/generate_database.py OUT.db SYSTEMS [--lib DIR]

Systems are spread evenly through a sphere around the Sun at about the
density of the solar neighbourhood (0.0024 systems per cubic light-year), so
a search of a given radius finds about as many systems at every size. Each
system has a position, a catalogue designation as its system name (a fifth
of them a proper name too), one to three components with spectra and
magnitudes, and a share of them orbits, planets and velocities. Besides:

- system 100 is the Sun ("Sol"), at distance 0, with no other system within
  5 light-years, so searches there can list nothing;
- system 200 is rich: four components, names and designations for each,
  orbits between them and two planets (the sysview benchmark page);
- ten systems spread over the whole ID range are named "... Aurigae" (the
  name search with a match list of ten).

The rows are written with Python's sqlite3 in one transaction, then the
indexes made after the data are built (db/index-db, which needs the
extension from --lib DIR, $VLDR_LIB_DIR or build/lib).
"""
import argparse
import math
import os
import random
import sqlite3
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
SCHEMA = os.path.join(HERE, '..', 'db', 'schema.sql')
INDEX_DB = os.path.join(HERE, '..', 'db', 'index-db')

DENSITY = 0.0024          # systems per cubic light-year near the Sun
EMPTY_AROUND_SUN = 5.0    # light-years without any system but the Sun
RICH_SYSTEM = 200
MATCH_NAME = 'Aurigae'
MATCHES = 10
CATALOG = 'VB'            # abbreviation of the benchmark's own catalogue

SPECTRAL_CLASSES = ('M0', 'M2', 'M3.5', 'M4', 'M5.5', 'K0', 'K5', 'G2', 'G8', 'F5', 'A1', 'DA2')


def sphere_radius(systems):
    """Radius (light-years) of the sphere that holds `systems` at DENSITY."""
    return (systems / DENSITY / (4 / 3 * math.pi)) ** (1 / 3)


def sexagesimal(value, whole_places):
    """(whole, minutes, seconds) of a non-negative value, seconds rounded to whole_places."""
    whole = int(value)
    minutes = int((value - whole) * 60)
    seconds = round(((value - whole) * 60 - minutes) * 60, whole_places)
    return whole, minutes, min(seconds, 59.99)


def random_place(rng, radius):
    """Right ascension (h, m, s), declination (d, m, s) and distance (light-years) of a point
    uniformly in the shell from EMPTY_AROUND_SUN to radius."""
    distance = (rng.uniform(EMPTY_AROUND_SUN ** 3, radius ** 3)) ** (1 / 3)
    ra = rng.uniform(0, 24)
    dec = math.degrees(math.asin(rng.uniform(-0.999, 0.999)))
    hr, mn, sec = sexagesimal(ra, 2)
    deg, amin, asec = sexagesimal(abs(dec), 1)
    if deg == 0 and dec < 0:
        dec = -dec  # the database cannot hold a declination between 0 and -1 degree
    return (hr, mn, sec, deg if dec >= 0 else -deg, amin, asec, round(distance, 3))


class Rows:
    def __init__(self):
        self.tables = {}

    def add(self, table, **values):
        self.tables.setdefault((table, tuple(values)), []).append(tuple(values.values()))

    def write(self, con):
        for (table, columns), rows in self.tables.items():
            marks = ', '.join('?' * len(columns))
            con.executemany(f"INSERT INTO {table} ({', '.join(columns)}) VALUES ({marks})", rows)


def add_component(rows, rng, component, name=None):
    rows.add('Components', ID=component, Name=name, Mass=round(rng.uniform(0.1, 2), 2), LastUpdated='2024-06-01')
    rows.add('Spectra', OwnerID=component, SpectralClass=rng.choice(SPECTRAL_CLASSES), LuminosityClass='V',
             SpectrumSource=CATALOG, LastUpdated='2024-06-01')
    rows.add('Magnitudes', OwnerID=component, ApparentVMag=round(rng.uniform(-1, 16), 2),
             BminusV=round(rng.uniform(0, 2), 2), VMagSource=CATALOG, LastUpdated='2024-06-01')


def add_system(rows, rng, system, place, match_systems):
    number = system // 100
    rows.add('Systems', ID=system, LastUpdated='2024-06-01')
    hr, mn, sec, deg, amin, asec, distance = place
    rows.add('Positions', OwnerID=system, RA_hr=hr, RA_min=mn, RA_sec=sec, Dec_deg=deg, Dec_arcmin=amin,
             Dec_arcsec=asec, Distance=distance, DistanceError=0.02, DistanceSource=CATALOG,
             LastUpdated='2024-06-01', Epoch=2000.0)
    rows.add('CatalogNumbers', OwnerID=system, CatAbbrev=CATALOG, Value=str(number), IsSystemName=1)
    if system in match_systems:
        rows.add('ProperNames', OwnerID=system, Name=f'{number} {MATCH_NAME}', IsSystemName=1)
    elif rng.random() < 0.2:
        rows.add('ProperNames', OwnerID=system, Name=f'Star {number}', IsSystemName=1)
    components = rng.choice((1, 1, 1, 2, 2, 3))
    for c in range(1, components + 1):
        add_component(rows, rng, system + c, 'ABC'[c - 1])
    if rng.random() < 0.3:
        rows.add('Velocities', OwnerID=system, ProperMotion=round(rng.uniform(0, 2), 3),
                 PMAngle=round(rng.uniform(0, 360), 1), RadialVelocity=round(rng.uniform(-80, 80), 1),
                 PMSource=CATALOG, RVSource=CATALOG, LastUpdated='2024-06-01')
    if components >= 2 and rng.random() < 0.5:
        rows.add('Orbits', ID=system + 11, PrimaryID=system + 1, SecondaryID=system + 2,
                 Period=round(rng.uniform(1, 500), 2), SemimajorAxis=round(rng.uniform(0.1, 20), 3),
                 Eccentricity=round(rng.uniform(0, 0.9), 3), Inclination=60.0, Omega=30.0,
                 PeriastronEpoch=1990.5, Source=CATALOG, LastUpdated='2024-06-01')
    if rng.random() < 0.05:
        rows.add('Planets', ID=system + 51, Name='b', Mass=round(rng.uniform(0.01, 5), 3), MassSource=CATALOG,
                 LastUpdated='2024-06-01')
        rows.add('Orbits', ID=system + 12, PrimaryID=system + 1, SecondaryID=system + 51,
                 Period=round(rng.uniform(0.01, 10), 4), SemimajorAxis=round(rng.uniform(0.02, 5), 3),
                 Eccentricity=0.1, IsAxisAU=1, Source=CATALOG, LastUpdated='2024-06-01')


def add_sun_and_rich_system(rows):
    rows.add('Systems', ID=100, Age=4600.0, LastUpdated='2024-06-01')
    rows.add('Positions', OwnerID=100, Distance=0.0, LastUpdated='2024-06-01')
    rows.add('ProperNames', OwnerID=100, Name='Sol', IsSystemName=1)
    rows.add('Components', ID=101, Name='Sun', Mass=1.0, LastUpdated='2024-06-01')
    rows.add('Spectra', OwnerID=101, SpectralClass='G2', LuminosityClass='V', LastUpdated='2024-06-01')
    rows.add('Magnitudes', OwnerID=101, ApparentVMag=-26.74, BminusV=0.65, LastUpdated='2024-06-01')

    s = RICH_SYSTEM
    rng = random.Random(s)
    rows.add('Systems', ID=s, Age=5000.0, AgeError=0.2, Metallicity=1.1, ArityComment='quadruple',
             PointsOfInterest='A benchmark system.', LastUpdated='2024-06-01')
    rows.add('Positions', OwnerID=s, RA_hr=14, RA_min=39, RA_sec=36.5, Dec_deg=-60, Dec_arcmin=50,
             Dec_arcsec=2.3, Distance=6.5, DistanceError=0.01, DistanceSource=CATALOG, LastUpdated='2024-06-01',
             Epoch=2000.0)
    rows.add('Velocities', OwnerID=s, ProperMotion=3.7, PMAngle=281.5, RadialVelocity=-22.4, PMSource=CATALOG,
             RVSource=CATALOG, LastUpdated='2024-06-01')
    rows.add('ProperNames', OwnerID=s, Name='Rich System', IsSystemName=1)
    rows.add('CatalogNumbers', OwnerID=s, CatAbbrev=CATALOG, Value='2', IsSystemName=1)
    rows.add('CatalogNumbers', OwnerID=s, CatAbbrev='HIP', Value='71683', IsSystemName=0)
    for c in range(1, 5):
        add_component(rows, rng, s + c, 'ABCD'[c - 1])
        rows.add('ProperNames', OwnerID=s + c, Name=f'Rich {"ABCD"[c - 1]}', IsSystemName=0)
        rows.add('CatalogNumbers', OwnerID=s + c, CatAbbrev='HD', Value=str(128620 + c), IsSystemName=0)
        rows.add('Velocities', OwnerID=s + c, ProperMotion=3.7, PMAngle=281.5, RadialVelocity=-22.4 + c,
                 LastUpdated='2024-06-01')
    orbits = ((11, 1, 2, 79.9), (12, 3, 4, 2.1), (13, 11, 12, 5000.0), (14, 1, 51, 0.03), (15, 4, 52, 0.5))
    for offset, primary, secondary, period in orbits:
        rows.add('Orbits', ID=s + offset, PrimaryID=s + primary, SecondaryID=s + secondary, Period=period,
                 SemimajorAxis=round(period ** (2 / 3), 3), Eccentricity=0.3, Inclination=79.2, Omega=231.6,
                 PeriastronEpoch=1955.6, Source=CATALOG, PeriodError=0.01, LastUpdated='2024-06-01',
                 IsAxisAU=1)
    for offset, name in ((51, 'b'), (52, 'c')):
        rows.add('Planets', ID=s + offset, Name=name, Mass=0.003, MassError=0.1, IsMassAMinimum=1,
                 MassSource=CATALOG, LastUpdated='2024-06-01')


def generate(out, systems, lib=None, seed=20240611):
    """Writes a database of `systems` systems (at least 12) to out, replacing it."""
    rng = random.Random(seed)
    radius = sphere_radius(systems)
    last = systems * 100
    match_systems = {300 + round(k * (last - 400) / (MATCHES - 1) / 100) * 100 for k in range(MATCHES)}
    tmp = out + '.tmp'
    if os.path.exists(tmp):
        os.remove(tmp)
    con = sqlite3.connect(tmp, isolation_level=None)
    with open(SCHEMA) as f:
        con.executescript(f.read())
    con.execute('BEGIN')
    con.execute("INSERT INTO CatalogNames (Abbreviation, LongName, HasNoCatNumbers) VALUES "
                f"('{CATALOG}', 'Benchmark Catalogue', 0), ('HIP', 'Hipparcos', 0), ('HD', 'Henry Draper', 0)")
    rows = Rows()
    add_sun_and_rich_system(rows)
    for system in range(300, last + 1, 100):
        add_system(rows, rng, system, random_place(rng, radius), match_systems)
        if system % 100000 == 0:
            rows.write(con)
            rows = Rows()
    rows.write(con)
    con.execute('COMMIT')
    con.close()
    command = [INDEX_DB] + (['--lib', lib] if lib else []) + [tmp]
    subprocess.run(command, check=True)
    os.replace(tmp, out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('out')
    parser.add_argument('systems', type=int)
    parser.add_argument('--lib', help='folder of vldr_sqlite_ext.so')
    args = parser.parse_args()
    generate(args.out, args.systems, args.lib)


if __name__ == '__main__':
    main()
