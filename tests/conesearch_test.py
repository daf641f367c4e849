"""conesearch answers the Simple Cone Search requests with whole VOTables
and refuses bad ones with the error document; it reads the same rows
through the direction index as by the full scan, and finds exactly the
systems whose angular distance, computed here independently from the
database, lies within the radius. catalogue-download writes the same
columns for every component."""
import csv
import io
import math
import os
import random
import shutil
import sqlite3
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

SOURCE = os.environ.get('VLDR_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..'))
BIN_DIR = os.environ.get('VLDR_BIN_DIR', os.path.join(SOURCE, 'build', 'bin'))
LIB_DIR = os.environ.get('VLDR_LIB_DIR', os.path.join(SOURCE, 'build', 'lib'))
DRIVER = ['--driver', os.environ['VLDR_TEST_DRIVER']] if os.environ.get('VLDR_TEST_DRIVER') else []
FIXTURE = os.path.join(SOURCE, 'tests', 'fixtures', 'conesearch.sql')
SANITIZED = os.environ.get('VLDR_SANITIZED') == '1'
SEEDS, CONES = (1, 10) if SANITIZED else (3, 40)

NS = '{http://www.ivoa.net/xml/VOTable/v1.3}'
HEADER = b'Content-type: text/xml; charset=UTF-8\n\n'
COLUMNS = ('OwnerID', 'RA_hr', 'RA_min', 'RA_sec', 'Dec_deg', 'Dec_arcmin', 'Dec_arcsec', 'Distance')


class Databases:
    """A database built with the indexes and a copy without the direction index."""

    def __init__(self, directory, *sql_files):
        self.dir = directory
        self.index = os.path.join(directory, 'index.db')
        self.scan = os.path.join(directory, 'scan.db')
        subprocess.run([os.path.join(SOURCE, 'db', 'build-db'), '--lib', LIB_DIR, self.index, *sql_files],
                       check=True)
        self.copy_without_index()
        for name in ('index', 'scan'):
            subprocess.run([os.path.join(SOURCE, 'db', 'write-dsn')] + DRIVER +
                           [getattr(self, name), LIB_DIR, os.path.join(directory, name + '-odbc')],
                           check=True, stdout=subprocess.DEVNULL)

    def copy_without_index(self):
        shutil.copyfile(self.index, self.scan)
        con = sqlite3.connect(self.scan)
        con.executescript('DROP TABLE DirectionCells;')
        con.close()

    def env(self, which, **extra):
        config = os.path.join(self.dir, which + '-odbc')
        env = {k: v for k, v in os.environ.items() if k not in ('HTTP_HOST', 'HTTPS')}
        env.update(ODBCSYSINI=config, ODBCINI=os.path.join(config, 'odbc.ini'), **extra)
        return env

    def run(self, query, which='index', **extra):
        env = self.env(which, **extra)
        if query is not None:
            env['QUERY_STRING'] = query
        result = subprocess.run([os.path.join(BIN_DIR, 'conesearch')], env=env, capture_output=True, timeout=60)
        return result.returncode, result.stdout

    def download(self, form):
        result = subprocess.run([os.path.join(BIN_DIR, 'catalogue-download'), form], env=self.env('index'),
                                capture_output=True, timeout=60, check=True)
        return result.stdout


def document(answer):
    """The parsed VOTable of a CGI answer (its header checked)."""
    assert answer.startswith(HEADER), answer[:80]
    return ElementTree.fromstring(answer[len(HEADER):])


def row_ids(answer):
    return [tr.find(NS + 'TD').text for tr in document(answer).iter(NS + 'TR')]


def field_names(answer):
    return [f.get('name') for f in document(answer).iter(NS + 'FIELD')]


def error_of(answer):
    """The message of an error document: its INFO Error and its QUERY_STATUS, which must agree."""
    root = document(answer)
    error = root.find(NS + 'INFO')
    status = root.find(NS + 'RESOURCE').find(NS + 'INFO')
    assert error.get('name') == 'Error' and status.get('value') == 'ERROR'
    assert error.get('value') == status.text
    return error.get('value')


class FixtureAnswers(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix='vldr-cone-')
        cls.dbs = Databases(cls.tmp.name, FIXTURE)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_whole_answer(self):
        code, answer = self.dbs.run('RA=218&DEC=-62&SR=3&VERB=3', HTTP_HOST='example.org:8080')
        with open(os.path.join(SOURCE, 'tests', 'fixtures', 'conesearch_answer.xml'), 'rb') as f:
            self.assertEqual(answer, f.read())
        self.assertEqual(code, 0)

    def test_whole_error_document(self):
        code, answer = self.dbs.run('RA=1&DEC=2')
        self.assertEqual(answer, HEADER + b'''<?xml version="1.0" encoding="UTF-8"?>
<VOTABLE version="1.3" xmlns="http://www.ivoa.net/xml/VOTable/v1.3"
  xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
  xsi:schemaLocation="http://www.ivoa.net/xml/VOTable/v1.3 http://www.ivoa.net/xml/VOTable/v1.3">
<INFO name="Error" value="The parameter SR (search radius, degrees) is required."/>
<RESOURCE type="results">
<INFO name="QUERY_STATUS" value="ERROR">The parameter SR (search radius, degrees) is required.</INFO>
</RESOURCE>
</VOTABLE>
''')
        self.assertEqual(code, 255)

    def test_refusals(self):
        cases = [
            (None, 'The parameter RA (right ascension of the centre, ICRS degrees) is required.'),
            ('', 'The parameter RA (right ascension of the centre, ICRS degrees) is required.'),
            ('RA=1&SR=1', 'The parameter DEC (declination of the centre, ICRS degrees) is required.'),
            ('RA=as3f&DEC=0&SR=1', 'The parameter RA must be a decimal number, not "as3f".'),
            ('RA=0x10&DEC=0&SR=1', 'The parameter RA must be a decimal number, not "0x10".'),
            ('RA=nan&DEC=0&SR=1', 'The parameter RA must be a decimal number, not "nan".'),
            ('RA=1e999&DEC=0&SR=1', 'The parameter RA must be a decimal number, not "1e999".'),
            ('RA=1&DEC=91&SR=1', 'The parameter DEC must lie from -90 to 90 degrees, not "91".'),
            ('RA=-1&DEC=0&SR=1', 'The parameter RA must lie from 0 to 360 degrees, not "-1".'),
            ('RA=1&DEC=0&SR=-0.5', 'The parameter SR must lie from 0 to 180 degrees, this service\'s largest '
                                   'search radius, not "-0.5".'),
            ('RA=1&DEC=0&SR=180.5', 'The parameter SR must lie from 0 to 180 degrees, this service\'s largest '
                                    'search radius, not "180.5".'),
            ('RA=1&DEC=0&SR=1&VERB=4', 'The parameter VERB must be 1, 2 or 3, not "4".'),
            ('RA=%3Cb%3E%26%22&DEC=0&SR=1', 'The parameter RA must be a decimal number, not "<b>&"".'),
            ('RA=' + 'x' * 60 + '&DEC=0&SR=1',
             'The parameter RA must be a decimal number, not "' + 'x' * 40 + '...".'),
        ]
        for query, message in cases:
            with self.subTest(query=query):
                code, answer = self.dbs.run(query)
                self.assertEqual(error_of(answer), message)
                self.assertEqual(code, 255)

    def test_columns_by_verbosity(self):
        least = ['system_id', 'name', 'ra', 'dec']
        usual = least + ['pos_epoch', 'dist_ly', 'dist_pc', 'dist_err', 'sp_type', 'vmag', 'url']
        most = least + ['pos_epoch', 'dist_ly', 'dist_pc', 'dist_err', 'sp_type', 'lum_class', 'vmag', 'b_v',
                        'ang_dist', 'url']
        for query, names in (('RA=0&DEC=0&SR=0&VERB=1', least), ('RA=0&DEC=0&SR=0', usual),
                             ('ra=0&dec=0&sr=0&verb=2', usual), ('RA=0&DEC=0&SR=0&VERB=3', most)):
            with self.subTest(query=query):
                code, answer = self.dbs.run(query)
                self.assertEqual((code, field_names(answer), row_ids(answer)), (0, names, []))

    def test_rows_of_cones(self):
        """The Sun (distance 0), a component's own row and a row without right
        ascension are never listed; a row without distance is; 0h and the pole are crossed."""
        cases = [
            ('RA=218&DEC=-62&SR=3', ['300', '200', '400']),
            ('RA=0&DEC=0&SR=180', ['800', '700', '900', '400', '200', '300']),
            ('RA=0.01&DEC=0.2&SR=0.5', ['800', '700']),
            ('RA=270&DEC=89.9&SR=0.5', ['900']),
            ('RA=217.42916667&DEC=-62.67947222&SR=0.0001', ['200']),
            ('RA=217.42916667&DEC=-62.67947222&SR=0', []),
            ('RA=100&DEC=-10&SR=20', []),
        ]
        for query, ids in cases:
            for which in ('index', 'scan'):
                with self.subTest(query=query, which=which):
                    self.assertEqual(row_ids(self.dbs.run(query, which)[1]), ids)

    def test_unreadable_database(self):
        os.rename(self.dbs.index, self.dbs.index + '.away')
        try:
            code, answer = self.dbs.run('RA=0&DEC=0&SR=1')
        finally:
            os.rename(self.dbs.index + '.away', self.dbs.index)
        self.assertEqual(error_of(answer),
                         'The catalogue database cannot be read at the moment; please try again later.')
        self.assertEqual(code, 255)

    def test_downloads_have_the_cone_search_columns(self):
        table = ElementTree.fromstring(self.dbs.download('votable'))
        fields = {f.get('name'): (f.get('unit'), f.get('datatype')) for f in table.iter(NS + 'FIELD')}
        cone = document(self.dbs.run('RA=0&DEC=0&SR=0&VERB=3')[1])
        for f in cone.iter(NS + 'FIELD'):
            if f.get('name') != 'ang_dist':
                self.assertEqual(fields[f.get('name')], (f.get('unit'), f.get('datatype')))
        rows = list(csv.reader(io.StringIO(self.dbs.download('csv').decode('utf-8'), newline='')))
        self.assertEqual(rows[0], list(fields))
        self.assertEqual([r[1] for r in rows[1:]], ['101', '201', '202', '301', '401', '601', '701', '801', '901'])
        self.assertEqual(rows[2][:4], ['200', '201', 'Alpha <&> "Centauri\'s"', 'A'])
        self.assertEqual(rows[4][2], "Catalogue \u00e9\u20ac\ufffd d'Europe 1 & 2")
        self.assertEqual(len(list(table.iter(NS + 'TR'))), 9)


def as_float32(value):
    return struct.unpack('f', struct.pack('f', value))[0]


def direction(row):
    """(RA, Dec) in degrees of a Positions row as the service reads it, or None when it is not listed."""
    owner, hr, mn, sec, deg, amin, asec, dist = row
    if owner % 100 or hr is None or deg is None or dist == 0:
        return None
    ra = (as_float32(sec or 0) / 3600 + (mn or 0) / 60 + hr) * 15
    s = -1 if deg < 0 else 1
    return ra, s * as_float32(asec or 0) / 3600 + s * (amin or 0) / 60 + deg


def haversine(a, b):
    """Angular distance (degrees) by the haversine formula."""
    ra1, dec1, ra2, dec2 = (math.radians(v) for v in (*a, *b))
    h = math.sin((dec2 - dec1) / 2) ** 2 + math.cos(dec1) * math.cos(dec2) * math.sin((ra2 - ra1) / 2) ** 2
    return math.degrees(2 * math.asin(min(1.0, math.sqrt(h))))


def random_rows(rng, systems):
    rows = []
    for n in range(1, systems + 1):
        for owner in [n * 100] + ([n * 100 + 1] if rng.random() < 0.1 else []):
            roll = rng.random()
            hr, mn, sec = rng.randrange(24), rng.randrange(60), round(rng.uniform(0, 59.999), 3)
            deg, amin, asec = rng.randrange(-89, 90), rng.randrange(60), round(rng.uniform(0, 59.99), 2)
            if rng.random() < 0.1:
                deg = rng.choice((89, -89, 0))
            dist = round(rng.uniform(1, 60), 2)
            if roll < 0.05:
                dist = None
            elif roll < 0.08:
                dist = 0.0
            elif roll < 0.11:
                hr = mn = sec = None
            elif roll < 0.14:
                mn = sec = amin = asec = None
            rows.append((owner, hr, mn, sec, deg, amin, asec, dist))
    rng.shuffle(rows)
    return rows


def write_rows(path, rows):
    with open(path, 'w') as f:
        for row in rows:
            values = ', '.join('NULL' if v is None else repr(v) for v in row)
            f.write(f"INSERT INTO Positions ({', '.join(COLUMNS)}) VALUES ({values});\n")


class ConesAgainstIndependentDistances(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix='vldr-cone-')

    def tearDown(self):
        self.tmp.cleanup()

    def check_cones(self, dbs, rows, cones):
        places = {r[0]: direction(r) for r in rows if direction(r)}
        for ra, dec, sr in cones:
            query = f'RA={ra!r}&DEC={dec!r}&SR={sr!r}'
            with self.subTest(query=query):
                code, answer = dbs.run(query)
                self.assertEqual((code, answer), dbs.run(query, 'scan'))
                found = set(row_ids(answer))
                near = {str(o) for o, p in places.items() if haversine((ra, dec), p) <= sr - 1e-7}
                far = {str(o) for o, p in places.items() if haversine((ra, dec), p) > sr + 1e-7}
                self.assertLessEqual(near, found)
                self.assertFalse(found & far)

    def test_random_databases_and_cones(self):
        for seed in range(SEEDS):
            rng = random.Random(seed)
            rows = random_rows(rng, rng.choice((200, 400)))
            directory = os.path.join(self.tmp.name, str(seed))
            os.mkdir(directory)
            write_rows(os.path.join(directory, 'rows.sql'), rows)
            dbs = Databases(directory, os.path.join(directory, 'rows.sql'))
            places = [direction(r) for r in rows if direction(r)]
            cones = []
            for _ in range(CONES):
                ra, dec = rng.choice(places) if rng.random() < 0.5 else (rng.uniform(0, 360), rng.uniform(-90, 90))
                cones.append((round(ra, 4), round(dec, 4), rng.choice((0.5, 1, 3, 10, 30, 90, 179.9))))
            cones += [(0.0, 90.0, 5.0), (359.99, -90.0, 2.0), (0.0, 0.0, 180.0)]
            self.check_cones(dbs, rows, cones)

    def test_the_index_is_what_is_read(self):
        """Guards the comparisons above against an index statement that always fails."""
        directory = self.tmp.name
        write_rows(os.path.join(directory, 'rows.sql'), [(100, 1, 0, 0, 10, 0, 0, 5.0), (200, 1, 0, 4, 10, 0, 0, 5.0)])
        dbs = Databases(directory, os.path.join(directory, 'rows.sql'))
        con = sqlite3.connect(dbs.index)
        con.execute('DELETE FROM DirectionCells WHERE OwnerID = 200')
        con.commit()
        con.close()
        self.assertEqual(row_ids(dbs.run('RA=15&DEC=10&SR=1')[1]), ['100'])
        self.assertEqual(row_ids(dbs.run('RA=15&DEC=10&SR=1', 'scan')[1]), ['100', '200'])

    def test_non_finite_seconds_are_read_alike(self):
        """Regression: an infinite second of arc gave the index a NULL cube, so that the row could not be filed."""
        write_rows(os.path.join(self.tmp.name, 'rows.sql'),
                   [(100, 1, 0, 0.0, 10, 0, 0, 5.0), (200, 1, 0, 4, 10, 0, 0, 5.0)])
        dbs = Databases(self.tmp.name, os.path.join(self.tmp.name, 'rows.sql'))
        con = sqlite3.connect(dbs.index)
        con.execute('PRAGMA ignore_check_constraints = 1')
        con.execute('UPDATE Positions SET RA_sec = 9e999 WHERE OwnerID = 100')
        con.execute('UPDATE Positions SET Dec_arcsec = 9e999 WHERE OwnerID = 200')
        con.commit()
        con.close()
        dbs.copy_without_index()
        answer = dbs.run('RA=15&DEC=10&SR=1')
        self.assertEqual(answer, dbs.run('RA=15&DEC=10&SR=1', 'scan'))
        self.assertEqual(row_ids(answer[1]), ['100', '200'])

    def test_the_index_follows_positions(self):
        """Changes through another client (Python's sqlite3) keep the index as a fresh build makes it."""
        rng = random.Random(5)
        rows = random_rows(rng, 150)
        write_rows(os.path.join(self.tmp.name, 'rows.sql'), rows)
        dbs = Databases(self.tmp.name, os.path.join(self.tmp.name, 'rows.sql'))
        con = sqlite3.connect(dbs.index)
        owners = [r[0] for r in rows]
        for owner in rng.sample(owners, 15):
            con.execute('UPDATE Positions SET RA_hr = ?, Dec_deg = ? WHERE OwnerID = ?',
                        (rng.randrange(24), rng.randrange(-89, 90), owner))
        for owner in rng.sample(owners, 10):
            con.execute('DELETE FROM Positions WHERE OwnerID = ?', (owner,))
        for owner in rng.sample([o for o in owners if o % 100 == 0], 5):
            con.execute('INSERT OR REPLACE INTO Positions (OwnerID, RA_hr, Dec_deg, Distance) VALUES (?, 3, 4, 0)',
                        (owner,))
        con.execute('UPDATE Positions SET Distance = 0 WHERE OwnerID = ?', (owners[0],))
        con.commit()
        kept = sorted(con.execute('SELECT * FROM DirectionCells').fetchall(), key=repr)
        rows = con.execute(f"SELECT {', '.join(COLUMNS)} FROM Positions").fetchall()
        con.close()
        rebuilt = os.path.join(self.tmp.name, 'rebuilt.db')
        shutil.copyfile(dbs.index, rebuilt)
        subprocess.run([os.path.join(SOURCE, 'db', 'index-db'), '--lib', LIB_DIR, rebuilt], check=True)
        con = sqlite3.connect(rebuilt)
        self.assertEqual(kept, sorted(con.execute('SELECT * FROM DirectionCells').fetchall(), key=repr))
        con.close()
        dbs.copy_without_index()
        self.check_cones(dbs, rows, [(rng.uniform(0, 360), rng.uniform(-90, 90), 20.0) for _ in range(10)])


if __name__ == '__main__':
    unittest.main()
