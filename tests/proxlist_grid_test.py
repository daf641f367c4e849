"""proxlist answers byte for byte the same whether it reads the rows the
position grid files near its search sphere or every row of Positions, and
the grid stays in step with Positions whatever client changes it.

Random databases (absent right ascension, declination or distance, distance
0, component rows, systems at the same place, rows exactly at the radius)
are searched with random requests of both forms (rings, right-ascension and
declination limits, the 100-entry cut), once with the grid and once on a
copy without it, through the real programs."""
import math
import os
import random
import shutil
import sqlite3
import struct
import subprocess
import tempfile
import unittest

SOURCE = os.environ.get('VLDR_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..'))
BIN_DIR = os.environ.get('VLDR_BIN_DIR', os.path.join(SOURCE, 'build', 'bin'))
LIB_DIR = os.environ.get('VLDR_LIB_DIR', os.path.join(SOURCE, 'build', 'lib'))
DRIVER = ['--driver', os.environ['VLDR_TEST_DRIVER']] if os.environ.get('VLDR_TEST_DRIVER') else []

# The sanitized programs start slowly: there the comparisons are fewer.
SANITIZED = os.environ.get('VLDR_SANITIZED') == '1'
SEEDS, REQUESTS = (1, 8) if SANITIZED else (4, 30)

POSITION_COLUMNS = ('OwnerID', 'RA_hr', 'RA_min', 'RA_sec', 'Dec_deg', 'Dec_arcmin', 'Dec_arcsec', 'Distance')
GALACTIC = ((-0.0672, -0.8727, -0.4835), (0.4927, -0.4504, 0.7445), (-0.8676, -0.1884, 0.4602))


def as_float32(value):
    return struct.unpack('f', struct.pack('f', value))[0]


def galactic(row):
    """The galactic X, Y, Z (light-years) proxlist computes for a Positions row, or None."""
    _, hr, mn, sec, deg, amin, asec, dist = row
    if dist is None:
        return None
    if dist == 0:
        return (0.0, 0.0, 0.0)
    if hr is None or deg is None:
        return None
    alpha = (as_float32(sec or 0) * (1 / 3600) + (mn or 0) * (1 / 60) + hr) * 0.26179938779914913
    s = -1 if deg < 0 else 1
    delta = s * as_float32(asec or 0) * (1 / 3600) + s * (amin or 0) * (1 / 60) + deg
    theta = (90 - delta) * 0.017453292519943278
    e = (dist * math.cos(alpha) * math.sin(theta), dist * math.sin(alpha) * math.sin(theta), dist * math.cos(theta))
    return tuple(sum(m[i] * e[i] for i in range(3)) for m in GALACTIC)


def random_position(rng, owner):
    """A Positions row within about 60 light-years of the Sun, now and then with
    parts absent, a fractional hour or a place very far out."""
    roll = rng.random()
    hr, mn, sec = rng.randrange(24), rng.randrange(60), round(rng.uniform(0, 59.99), 2)
    deg, amin, asec = rng.randrange(-89, 90), rng.randrange(60), round(rng.uniform(0, 59.9), 1)
    dist = round(rng.uniform(0.5, 60), rng.choice((0, 1, 3)))
    if roll < 0.05:
        dist = None
    elif roll < 0.09:
        dist = 0.0
        if rng.random() < 0.5:
            hr = mn = sec = deg = amin = asec = None
    elif roll < 0.12:
        hr = mn = sec = None
    elif roll < 0.15:
        deg = amin = asec = None
    elif roll < 0.2:
        mn, sec, amin, asec = None, None, None, None
    elif roll < 0.22:
        hr += 0.5  # not a plain integer: filed in the catch-all cube
    elif roll < 0.23:
        dist = 3e7  # beyond the numbered cubes
    return (owner, hr, mn, sec, deg, amin, asec, dist)


def random_positions(rng, systems):
    """Rows of `systems` systems, some with a component row of their own and
    some at exactly the place of an earlier system."""
    rows = []
    for n in range(1, systems + 1):
        owner = n * 100
        if rows and rng.random() < 0.1:
            rows.append((owner,) + rng.choice(rows)[1:])
        else:
            rows.append(random_position(rng, owner))
        if rng.random() < 0.1:
            rows.append(random_position(rng, owner + rng.randrange(1, 10)))
    rng.shuffle(rows)
    return rows


def sql_value(value):
    return 'NULL' if value is None else repr(value)


def insert_sql(rows):
    return ''.join(f"INSERT INTO Positions ({', '.join(POSITION_COLUMNS)}) "
                   f"VALUES ({', '.join(sql_value(v) for v in row)});\n" for row in rows)


def random_limits(rng):
    parts = []
    if rng.random() < 0.3:
        lo = rng.randrange(24)
        parts += [f'minRAHour={lo}', f'maxRAHour={rng.randrange(lo, 24)}', f'maxRAMin={rng.randrange(60)}']
    if rng.random() < 0.3:
        lo = rng.randrange(-89, 90)
        parts += [f'minDecDeg={lo}', f'maxDecDeg={rng.randrange(lo, 90)}', f'minDecMin={rng.randrange(60)}']
    return parts


def random_request(rng, rows):
    """A query string of either form; now and then its radius is exactly a row's distance from the centre."""
    systems = [r for r in rows if r[0] % 100 == 0]
    places = [p for p in (galactic(r) for r in systems) if p is not None]
    if rng.random() < 0.4 and systems:
        centre_row = rng.choice(systems)
        parts = [f'ID={centre_row[0]}']
        centre = galactic(centre_row) or (0.0, 0.0, 0.0)
    else:
        centre = rng.choice(places) if places and rng.random() < 0.5 else (0.0, 0.0, 0.0)
        centre = tuple(c + rng.uniform(-5, 5) for c in centre)
        parts = [f'X={centre[0]!r}', f'Y={centre[1]!r}', f'Z={centre[2]!r}']
    ly = rng.choice((2, 5, 15, 25, 40, 80, rng.uniform(2, 70)))
    if rng.random() < 0.3 and places:
        ly = max(2.0, math.dist(rng.choice(places), centre))
    parts.append(f'ly={ly!r}')
    if rng.random() < 0.3:
        parts.append(f'minLY={rng.uniform(-1, ly)!r}')
    return '&'.join(parts + random_limits(rng))


class Databases:
    """A database built with the grid, and a copy of it without."""

    def __init__(self, directory, data_sql):
        self.dir = directory
        self.grid = os.path.join(directory, 'grid.db')
        self.scan = os.path.join(directory, 'scan.db')
        data = os.path.join(directory, 'data.sql')
        with open(data, 'w') as f:
            f.write(data_sql)
        subprocess.run([os.path.join(SOURCE, 'db', 'build-db'), '--lib', LIB_DIR, self.grid, data], check=True)
        self.copy_without_grid()
        for name in ('grid', 'scan'):
            subprocess.run([os.path.join(SOURCE, 'db', 'write-dsn')] + DRIVER + [getattr(self, name), LIB_DIR,
                            os.path.join(directory, name + '-odbc')], check=True)

    def copy_without_grid(self):
        shutil.copyfile(self.grid, self.scan)
        con = sqlite3.connect(self.scan)
        con.executescript('DROP TABLE PositionCells;')
        con.close()

    def run(self, which, query):
        code, page, _ = self.run_with_errors(which, query)
        return code, page

    def run_with_errors(self, which, query):
        """Exit status, standard output and standard error of proxlist."""
        config = os.path.join(self.dir, which + '-odbc')
        env = dict(os.environ, QUERY_STRING=query, ODBCSYSINI=config, ODBCINI=os.path.join(config, 'odbc.ini'))
        result = subprocess.run([os.path.join(BIN_DIR, 'proxlist')], env=env, capture_output=True, timeout=60)
        return result.returncode, result.stdout, result.stderr


class GridAgainstFullScan(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix='vldr-grid-')

    def tearDown(self):
        self.tmp.cleanup()

    def assert_same_pages(self, dbs, queries):
        for query in queries:
            with self.subTest(query=query):
                self.assertEqual(dbs.run('grid', query), dbs.run('scan', query))

    def test_random_databases_and_requests(self):
        for seed in range(SEEDS):
            rng = random.Random(seed)
            rows = random_positions(rng, rng.choice((60, 150, 260)))
            directory = os.path.join(self.tmp.name, str(seed))
            os.mkdir(directory)
            dbs = Databases(directory, insert_sql(rows))
            queries = [random_request(rng, rows) for _ in range(REQUESTS)]
            # Spheres the grid does not serve: not finite, far out, too wide.
            queries += ['X=1e300&ly=5', 'X=2e7&Y=-3e7&ly=1e7', 'ly=100000', 'ly=1e308', '']
            self.assert_same_pages(dbs, queries)

    def test_cut_at_a_hundred_among_systems_at_one_place(self):
        rng = random.Random(7)
        place = (7, 15, 30.5, -12, 30, 15.5, 9.5)
        rows = [(n * 100,) + place for n in range(1, 131)]
        rows += [random_position(rng, n * 100) for n in range(131, 200)]
        dbs = Databases(self.tmp.name, insert_sql(rows))
        self.assert_same_pages(dbs, ['ly=9.5', 'ly=20', 'ID=100&ly=3', 'ID=13500&ly=30', 'minLY=9.5&ly=9.5'])
        code, page = dbs.run('grid', 'ly=9.5')
        self.assertIn(b'144 stars were found', page)  # the cut falls among the 130 at one place

    def test_the_grid_is_what_proxlist_reads(self):
        """Guards the comparisons above against a grid statement that always
        fails (the full scan would then answer both)."""
        rows = [(100, 0, 0, 0, 0, 0, 0, 10.0), (200, 6, 0, 0, 45, 0, 0, 12.0)]
        dbs = Databases(self.tmp.name, insert_sql(rows))
        before = dbs.run('grid', 'ly=20')
        con = sqlite3.connect(dbs.grid)
        con.execute('DELETE FROM PositionCells WHERE OwnerID = 200')
        con.commit()
        con.close()
        after = dbs.run('grid', 'ly=20')
        self.assertIn(b'ID=200', before[1])
        self.assertNotIn(b'ID=200', after[1])


    def test_a_database_without_the_grid_writes_nothing_to_the_error_log(self):
        """Regression: every search on such a database first wrote the failed
        grid statement ("no such table: PositionCells") to standard error."""
        rows = [(100, 0, 0, 0, 0, 0, 0, 10.0), (200, 6, 0, 0, 45, 0, 0, 12.0)]
        dbs = Databases(self.tmp.name, insert_sql(rows))
        for which in ('grid', 'scan'):
            for query in ('ly=20', 'ID=100&ly=30'):
                with self.subTest(which=which, query=query):
                    code, page, errors = dbs.run_with_errors(which, query)
                    self.assertIn(b'ID=200', page)
                    self.assertEqual(errors, b'')


class GridFollowsPositions(unittest.TestCase):
    """Changes to Positions through another SQLite client (Python's, without
    the VLDR extension) keep the grid in step: it equals a grid built anew,
    and proxlist still answers as the full scan does."""

    def test_inserts_updates_deletes_and_replacements(self):
        with tempfile.TemporaryDirectory(prefix='vldr-grid-') as tmp:
            rng = random.Random(11)
            rows = random_positions(rng, 120)
            dbs = Databases(tmp, insert_sql(rows))
            con = sqlite3.connect(dbs.grid)
            owners = [r[0] for r in rows]
            columns = ', '.join(POSITION_COLUMNS)
            marks = ', '.join('?' * len(POSITION_COLUMNS))
            for n in range(121, 141):
                con.execute(f'INSERT INTO Positions ({columns}) VALUES ({marks})', random_position(rng, n * 100))
            for owner in rng.sample(owners, 15):
                con.execute('UPDATE Positions SET Distance = ?, RA_hr = ? WHERE OwnerID = ?',
                            (rng.choice((None, 0.0, rng.uniform(1, 50))), rng.randrange(24), owner))
            for owner in rng.sample(owners, 10):
                con.execute('DELETE FROM Positions WHERE OwnerID = ?', (owner,))
            # A REPLACE on a taken OwnerID removes the old row without a delete trigger.
            for owner in rng.sample([o for o in owners if o % 100 == 0], 10):
                con.execute(f'INSERT OR REPLACE INTO Positions ({columns}) VALUES ({marks})',
                            random_position(rng, owner))
            # A system's row becomes a component's, and back.
            con.execute('UPDATE Positions SET OwnerID = OwnerID + 1 WHERE OwnerID IN (12100, 12200)')
            con.execute('UPDATE Positions SET OwnerID = 12200 WHERE OwnerID = 12201')
            con.execute('UPDATE Positions SET rowid = rowid + 1000 WHERE OwnerID = 12000')
            con.commit()
            kept = sorted(con.execute('SELECT * FROM PositionCells').fetchall(), key=repr)
            con.close()

            dbs.copy_without_grid()
            rebuilt = os.path.join(tmp, 'rebuilt.db')
            shutil.copyfile(dbs.grid, rebuilt)
            subprocess.run([os.path.join(SOURCE, 'db', 'index-db'), '--lib', LIB_DIR, rebuilt], check=True)
            con = sqlite3.connect(rebuilt)
            fresh = sorted(con.execute('SELECT * FROM PositionCells').fetchall(), key=repr)
            rows = con.execute(f'SELECT {columns} FROM Positions').fetchall()
            con.close()
            self.assertEqual(kept, fresh)
            queries = [random_request(rng, rows) for _ in range(REQUESTS)]
            for query in queries:
                with self.subTest(query=query):
                    self.assertEqual(dbs.run('grid', query), dbs.run('scan', query))


if __name__ == '__main__':
    unittest.main()
