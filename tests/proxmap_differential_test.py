"""proxmap draws exactly the systems proxlist lists, in the same order, for
the same query string, and answers every request proxlist refuses (or
cannot serve) with proxlist's own bytes; its drawing is well-formed XML.

Random databases (those of proxlist_grid_test, with awkward names, spectra
and magnitudes added) and the shipped one are searched with random requests
of both forms through the real programs; the links are read out of both
answers."""
import os
import random
import re
import shutil
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

from proxlist_grid_test import (DRIVER, LIB_DIR, BIN_DIR, SANITIZED, SOURCE, insert_sql, random_positions,
                                random_request)

SEEDS, REQUESTS = (1, 8) if SANITIZED else (3, 25)

# Names as catalogues hold them, with every character a page must escape
# and windows-1252 letters (SQL text: X'..' are windows-1252 bytes).
NAMES = ("'A & B'", "'<script>x</script>'", "'Barnard''s \"Star\"'", "CAST(X'C9' AS TEXT) || 'toile'",
         "'Jahrei' || CAST(X'DF' AS TEXT) || ' ' || CAST(X'96' AS TEXT) || ' 1'", "'Plain'")
CLASSES = ("'G2'", "'M4.5'", "'DA2'", "'sdK7'", "'L3'", "'B9'", "''", "NULL")
STAR_LINK = re.compile(rb'<a class="star" href="sysview\.exe\?ID=(\d+)">')
LIST_LINK = re.compile(rb'<BR><A HREF="sysview\.exe\?ID=(\d+)">')


def details_sql(rng, rows):
    """Names, first-component spectra and magnitudes for some systems of rows."""
    sql = []
    for owner in sorted({r[0] for r in rows if r[0] % 100 == 0}):
        if rng.random() < 0.6:
            sql.append(f"INSERT INTO ProperNames (OwnerID, Name, IsSystemName) VALUES ({owner}, "
                       f"{rng.choice(NAMES)}, 1);\n")
        if rng.random() < 0.7:
            sql.append(f"INSERT INTO Spectra (OwnerID, SpectralClass, LuminosityClass) VALUES ({owner + 1}, "
                       f"{rng.choice(CLASSES)}, {rng.choice(('NULL', repr('V'), repr('VII')))});\n")
        if rng.random() < 0.6:
            sql.append(f"INSERT INTO Magnitudes (OwnerID, ApparentVMag) VALUES ({owner + 1}, "
                       f"{round(rng.uniform(-2, 20), 2)});\n")
    return ''.join(sql)


class Site:
    """A database with its data source, and the two programs run on it."""

    def __init__(self, directory, database):
        self.config = os.path.join(directory, 'odbc')
        subprocess.run([os.path.join(SOURCE, 'db', 'write-dsn')] + DRIVER + [database, LIB_DIR, self.config],
                       check=True, capture_output=True)

    def run(self, program, query):
        env = dict(os.environ, QUERY_STRING=query, ODBCSYSINI=self.config,
                   ODBCINI=os.path.join(self.config, 'odbc.ini'))
        result = subprocess.run([os.path.join(BIN_DIR, program)], env=env, capture_output=True, timeout=60)
        return result.returncode, result.stdout


class MapAgainstList(unittest.TestCase):
    def setUp(self):
        self.drawn = 0  # dots drawn over the test, so that it is never compared empty

    def tearDown(self):
        self.assertGreater(self.drawn, 50)

    def assert_map_draws_the_list(self, site, query):
        with self.subTest(query=query):
            listed = site.run('proxlist', query)
            drawn = site.run('proxmap', query)
            if not listed[1].startswith(b'Content-type: text/html') or b'No star name matching ID' in listed[1]:
                self.assertEqual(drawn, listed)  # a refusal or the not-found page
                return
            self.assertEqual(drawn[0], 0)
            ids = STAR_LINK.findall(drawn[1])
            self.assertEqual(ids, LIST_LINK.findall(listed[1]))
            self.drawn += len(ids)
            self.assert_drawing_is_xml(drawn[1])

    def assert_drawing_is_xml(self, page):
        text = page.decode('cp1252', errors='strict')
        start, end = text.find('<svg '), text.find('</svg>')
        if start < 0:
            self.assertIn('Internal error', text)
            return
        svg = ElementTree.fromstring(text[start:end + len('</svg>')])
        self.assertEqual(svg.tag, '{http://www.w3.org/2000/svg}svg')

    def test_random_databases_and_requests(self):
        with tempfile.TemporaryDirectory(prefix='vldr-map-') as tmp:
            for seed in range(SEEDS):
                rng = random.Random(seed)  # the seeds proxlist_grid_test builds valid databases from
                rows = random_positions(rng, rng.choice((60, 150, 260)))
                directory = os.path.join(tmp, str(seed))
                os.mkdir(directory)
                data = os.path.join(directory, 'data.sql')
                with open(data, 'w') as f:
                    f.write(insert_sql(rows) + details_sql(rng, rows))
                database = os.path.join(directory, 'map.db')
                subprocess.run([os.path.join(SOURCE, 'db', 'build-db'), '--lib', LIB_DIR, database, data],
                               check=True, capture_output=True)
                site = Site(directory, database)
                queries = [random_request(rng, rows) for _ in range(REQUESTS)]
                # Refused and unservable requests, and views.
                queries += ['ID=150', 'ly=1', 'minRAHour=30', 'ID=99900', 'ly=1e308', 'ly=100000&Turn=-90&Tilt=0',
                            'Tilt=90&ly=40']
                for query in queries:
                    self.assert_map_draws_the_list(site, query)

    def test_shipped_database(self):
        with tempfile.TemporaryDirectory(prefix='vldr-map-') as tmp:
            database = os.path.join(tmp, 'vldr.db')
            subprocess.run([os.path.join(SOURCE, 'importer', 'import-catalogues'), database], check=True,
                           capture_output=True, timeout=300)
            site = Site(tmp, database)
            rng = random.Random(5)
            queries = ['ID=100', 'ID=100&ly=15&Turn=0&Tilt=90', '', 'ly=33', 'X=3&Y=-2&Z=1&ly=8&minLY=2',
                       'ID=7145700&ly=12', 'ID=100&maxRAHour=12&minDecDeg=-30&maxDecDeg=30']
            queries += [f'ID=100&ly={rng.uniform(2, 34):.2f}&minLY={rng.uniform(0, 5):.1f}' for _ in range(4)]
            for query in queries:
                self.assert_map_draws_the_list(site, query)


if __name__ == '__main__':
    unittest.main()
