"""The cone search and the downloads as astronomers' tools read them: every
answer and both downloads pass `stilts votlint` without a message and
astropy's VOTable parser with every warning an error; pyvo's cone search
and STILTS' coneskymatch, pointed at the site scripts/serve lays out, find
exactly the systems whose angular distance (computed here from the
database) lies within each cone, and read the error document of a refused
request as an error with its message; the README's three examples run.

Run by Debian's /usr/bin/python3, where python3-astropy and python3-pyvo live."""
import concurrent.futures
import io
import math
import os
import re
import signal
import socket
import sqlite3
import subprocess
import tempfile
import time
import unittest
import urllib.request
import warnings

import pyvo
from astropy.io import ascii
from astropy.io.votable import parse

SOURCE = os.environ.get('VLDR_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..', '..'))
START_LIMIT_S = 120  # building the site's database and starting lighttpd
README_BASE = 'http://127.0.0.1:8080'

# (RA, DEC, SR) in degrees: around Alpha Centauri, wide, across 0h, at the
# pole, toward the galactic centre, an empty stretch and a metadata query.
CONES = [(219.9, -60.8, 2.0), (0.0, 0.0, 30.0), (359.5, -10.0, 20.0), (0.0, 90.0, 15.0),
         (266.4, -29.0, 10.0), (100.0, 45.0, 5.0), (10.0, 10.0, 0.0)]
# Refused requests and the message each must carry.
REFUSALS = [('RA=219.9&DEC=-60.8&SR=200', 'The parameter SR must lie from 0 to 180 degrees'),
            ('RA=abc&DEC=0&SR=1', 'The parameter RA must be a decimal number, not "abc".'),
            ('DEC=0&SR=1', 'The parameter RA (right ascension of the centre, ICRS degrees) is required.')]


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def haversine(a, b):
    ra1, dec1, ra2, dec2 = (math.radians(v) for v in (*a, *b))
    h = math.sin((dec2 - dec1) / 2) ** 2 + math.cos(dec1) * math.cos(dec2) * math.sin((ra2 - ra1) / 2) ** 2
    return math.degrees(2 * math.asin(min(1.0, math.sqrt(h))))


def directions(database):
    """system ID -> (RA, Dec) in degrees of every system the cone search can list."""
    con = sqlite3.connect(database)
    rows = con.execute('SELECT OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance '
                       'FROM Positions WHERE OwnerID % 100 = 0 AND RA_hr IS NOT NULL AND Dec_deg IS NOT NULL '
                       'AND (Distance IS NULL OR Distance <> 0)').fetchall()
    con.close()
    places = {}
    for owner, hr, mn, sec, deg, amin, asec, _ in rows:
        s = -1 if deg < 0 else 1
        places[owner] = ((hr + (mn or 0) / 60 + (sec or 0) / 3600) * 15, deg + s * (amin or 0) / 60 + s * (asec or 0) / 3600)
    return places


def readme_examples():
    """The shell and Python blocks of the README's section on astronomers' tools."""
    with open(os.path.join(SOURCE, 'README.md')) as f:
        text = f.read()
    section = text.split("## From astronomers' tools", 1)[1].split('\n## ', 1)[0]
    return re.findall(r'```(sh|python)\n(.*?)```', section, re.S)


class ServedSite(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix='vldr-vo-')
        # Run by root, scripts/serve serves as an unprivileged user, who must
        # be able to reach the site inside this (otherwise private) folder.
        os.chmod(cls.tmp.name, 0o755)
        cls.port = free_port()
        cls.base = f'http://127.0.0.1:{cls.port}'
        cls.url = cls.base + '/Scripts/conesearch.exe'
        cls.site = os.path.join(cls.tmp.name, 'site')
        cls.log = open(os.path.join(cls.tmp.name, 'serve.log'), 'w')
        cls.server = subprocess.Popen([os.path.join(SOURCE, 'scripts', 'serve'), '--no-install', '--no-build',
                                       '--site', cls.site, '--port', str(cls.port)],
                                      stdout=cls.log, stderr=subprocess.STDOUT, start_new_session=True)
        deadline = time.monotonic() + START_LIMIT_S
        while True:
            try:
                urllib.request.urlopen(cls.base + '/', timeout=5).read()
                break
            except OSError:
                if cls.server.poll() is not None or time.monotonic() > deadline:
                    cls.tearDownClass()
                    raise RuntimeError('scripts/serve did not come up; see its log')
                time.sleep(0.2)
        cls.places = directions(os.path.join(cls.site, 'vldr.db'))

    @classmethod
    def tearDownClass(cls):
        if cls.server.poll() is None:
            os.killpg(cls.server.pid, signal.SIGTERM)
            cls.server.wait(timeout=30)
        cls.log.close()
        cls.tmp.cleanup()

    def expected(self, ra, dec, sr):
        """(IDs certainly in the cone, IDs certainly outside it), as text; rows within
        a micro-degree of the edge may fall either way."""
        if sr == 0:
            return set(), {str(o) for o in self.places}
        near = {str(o) for o, p in self.places.items() if haversine((ra, dec), p) <= sr - 1e-6}
        far = {str(o) for o, p in self.places.items() if haversine((ra, dec), p) > sr + 1e-6}
        return near, far

    def assert_rows(self, cone, found):
        near, far = self.expected(*cone)
        self.assertLessEqual(near, found, cone)
        self.assertFalse(found & far, cone)

    def fetch(self, query):
        with urllib.request.urlopen(f'{self.url}?{query}', timeout=30) as answer:
            self.assertEqual(answer.headers['Content-Type'], 'text/xml; charset=UTF-8')
            return answer.read()

    def test_every_document_passes_votlint_and_strict_astropy(self):
        queries = [f'RA={ra}&DEC={dec}&SR={sr}&VERB={verb}' for verb in (1, 2, 3) for ra, dec, sr in CONES[:2]]
        queries += [f'RA={ra}&DEC={dec}&SR={sr}' for ra, dec, sr in CONES[2:]] + [q for q, _ in REFUSALS]
        files = []
        for n, query in enumerate(queries):
            path = os.path.join(self.tmp.name, f'answer-{n}.xml')
            with open(path, 'wb') as f:
                f.write(self.fetch(query))
            files.append(path)
        files.append(os.path.join(self.site, 'site', 'downloads', 'vldr-catalogue.xml'))
        for path in files:
            with self.subTest(astropy=os.path.basename(path)), warnings.catch_warnings():
                warnings.simplefilter('error')
                parse(path, verify='exception')

        def votlint(path):
            return subprocess.run(['stilts', 'votlint', path], capture_output=True, text=True, timeout=120)
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            for path, result in zip(files, pool.map(votlint, files)):
                with self.subTest(votlint=os.path.basename(path)):
                    self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ''))

    def test_csv_download_reads_as_the_votable(self):
        with warnings.catch_warnings():
            warnings.simplefilter('error')
            table = parse(os.path.join(self.site, 'site', 'downloads', 'vldr-catalogue.xml'),
                          verify='exception').get_first_table().to_table()
        rows = ascii.read(os.path.join(self.site, 'site', 'downloads', 'vldr-catalogue.csv'), format='csv',
                          encoding='utf-8')
        self.assertEqual(rows.colnames, table.colnames)
        self.assertEqual([str(v) for v in rows['component_id']], [str(v) for v in table['component_id']])
        self.assertEqual(list(rows['name']), [str(v) for v in table['name']])

    def test_pyvo_finds_the_systems_of_each_cone(self):
        for cone in CONES:
            with self.subTest(cone=cone):
                found = pyvo.conesearch(self.url, pos=cone[:2], radius=cone[2]).to_table()
                self.assert_rows(cone, {str(v) for v in found['system_id']})

    def test_stilts_finds_the_systems_of_each_cone(self):
        cones = os.path.join(self.tmp.name, 'cones.csv')
        with open(cones, 'w') as f:
            f.write('cone,ra,dec,sr\n' + ''.join(f'{n},{ra},{dec},{sr}\n' for n, (ra, dec, sr) in enumerate(CONES)))
        result = subprocess.run(['stilts', 'coneskymatch', f'in={cones}', 'ifmt=csv', 'ra=ra', 'dec=dec', 'sr=sr',
                                 f'serviceurl={self.url}?', 'find=all', 'parallel=1', 'usefoot=false',
                                 'ocmd=keepcols "cone system_id"', 'ofmt=csv', 'out=-'],
                                capture_output=True, text=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        found = {n: set() for n in range(len(CONES))}
        for line in result.stdout.splitlines()[1:]:
            cone, system = line.split(',')
            found[int(cone)].add(system)
        for n, cone in enumerate(CONES):
            with self.subTest(cone=cone):
                self.assert_rows(cone, found[n])

    def test_refusals_are_errors_to_the_clients(self):
        with self.assertRaisesRegex(pyvo.dal.DALQueryError, 'The parameter SR must lie from 0 to 180 degrees'):
            pyvo.conesearch(self.url, pos=(219.9, -60.8), radius=200)
        for query, message in REFUSALS:
            with self.subTest(query=query):
                with self.assertRaisesRegex(pyvo.dal.DALQueryError, re.escape(message)):
                    pyvo.dal.DALResults(parse(io.BytesIO(self.fetch(query))), url=self.url)
        result = subprocess.run(['stilts', 'cone', f'serviceurl={self.url}?', 'lon=0', 'lat=0', 'radius=200',
                                 'ofmt=csv', 'out=-'], capture_output=True, text=True, timeout=120)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn('Error: The parameter SR must lie from 0 to 180 degrees', result.stderr)

    def test_readme_examples(self):
        examples = readme_examples()
        self.assertEqual([kind for kind, _ in examples], ['sh', 'python', 'python'])
        for kind, code in examples:
            with self.subTest(example=code.splitlines()[0]):
                code = code.replace(README_BASE, self.base)
                command = ['bash', '-c', code] if kind == 'sh' else ['/usr/bin/python3', '-c', code]
                result = subprocess.run(command, capture_output=True, text=True, timeout=120)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertIn('Alpha Centauri', result.stdout)


if __name__ == '__main__':
    unittest.main()
