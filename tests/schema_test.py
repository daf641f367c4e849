"""The database refuses rows that break the ID scheme, db/build-db never
leaves a half-built file in place of a good one, and every statement the
programs send that selects the rows of one system or component seeks an index."""
import glob
import os
import re
import subprocess
import tempfile
import unittest

SOURCE = os.environ.get('VLDR_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..'))
BUILD_DB = os.path.join(SOURCE, 'db', 'build-db')
LIB_DIR = os.environ.get('VLDR_LIB_DIR', os.path.join(SOURCE, 'build', 'lib'))


def build(path, sql):
    """Runs db/build-db with one data file holding sql; returns its exit status."""
    data = path + '.sql'
    with open(data, 'w') as f:
        f.write(sql)
    return subprocess.run([BUILD_DB, '--lib', LIB_DIR, path, data], capture_output=True).returncode


def program_statements():
    """Every statement text in the programs' sources (adjacent C++ string
    literals joined) that begins with SELECT or WITH, with sample values in
    place of its printf conversions. A statement whose SELECT list comes from
    a column table ("SELECT %s ...") is taken whole from column_list_test.cpp,
    which holds the text each one composes."""
    literal = re.compile(r'"((?:[^"\\]|\\.)*)"')
    samples = {'%': '%', 'ld': '1200', 'lld': '0', 'd': '1200', 's': 'x', '.17g': '1.5'}
    found = []
    sources = sorted(sum((glob.glob(os.path.join(SOURCE, d, '*.[ch]*')) for d in ('common', 'sysview', 'proxlist', 'conesearch')), []))
    sources.append(os.path.join(SOURCE, 'tests', 'column_list_test.cpp'))
    for source in sources:
        with open(source) as f:
            text = f.read()
        for run in re.finditer(r'"(?:[^"\\]|\\.)*"(?:\s*"(?:[^"\\]|\\.)*")*', text):
            statement = ''.join(literal.findall(run.group(0)))
            if statement.startswith(('SELECT ', 'WITH ')) and not statement.startswith('SELECT %s '):
                found.append(re.sub(r'%(%|lld|ld|d|s|\.17g)', lambda m: samples[m.group(1)], statement))
    return found


def query_plan(db, statement):
    """The EXPLAIN QUERY PLAN lines of statement on db (with INT() loaded)."""
    result = subprocess.run(['sqlite3', '-batch', db,
                             f".load '{os.path.join(LIB_DIR, 'vldr_sqlite_ext.so')}' sqlite3_vldr_dialect_init",
                             'EXPLAIN QUERY PLAN ' + statement], capture_output=True, text=True, check=True)
    return result.stdout


class IdScheme(unittest.TestCase):
    VALID = """
        INSERT INTO Systems (ID) VALUES (1200);
        INSERT INTO Components (ID, Name) VALUES (1201, 'A'), (1202, 'B');
        INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1211, 1201, 1202);
        INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1212, 1211, 1251);
        INSERT INTO Planets (ID, Name) VALUES (1251, 'b');
        INSERT INTO Positions (OwnerID, Distance) VALUES (1200, 10);
    """

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.db = os.path.join(self.dir.name, 'vldr.db')

    def tearDown(self):
        self.dir.cleanup()

    def test_valid_rows_are_accepted(self):
        self.assertEqual(build(self.db, self.VALID), 0)

    def test_rows_outside_their_id_ranges_are_refused(self):
        refused = {
            'system not a multiple of 100': "INSERT INTO Systems (ID) VALUES (1250);",
            'component in the orbit range': "INSERT INTO Components (ID) VALUES (1210);",
            'component of no system': "INSERT INTO Components (ID) VALUES (5);",
            'orbit in the planet range': "INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1250, 1201, 1202);",
            'orbit member from another system':
                "INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1213, 1301, 1202);",
            'orbit member at S+50': "INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1213, 1201, 1250);",
            'orbit member at S+70': "INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1213, 1201, 1270);",
            'orbit member at S+10': "INSERT INTO Orbits (ID, PrimaryID, SecondaryID) VALUES (1213, 1210, 1202);",
            'planet in the orbit range': "INSERT INTO Planets (ID) VALUES (1249);",
            'planet beyond S+69': "INSERT INTO Planets (ID) VALUES (1270);",
            'second position of one owner': "INSERT INTO Positions (OwnerID) VALUES (1200);",
            # a name of "system 0" would resolve to no system at all
            'name of no system': "INSERT INTO ProperNames (OwnerID, Name) VALUES (5, 'Nowhere');",
        }
        for reason, sql in refused.items():
            with self.subTest(reason):
                self.assertNotEqual(build(self.db, self.VALID + sql), 0)
                self.assertFalse(os.path.exists(self.db))

    def test_failed_build_keeps_the_previous_database(self):
        self.assertEqual(build(self.db, self.VALID), 0)
        before = open(self.db, 'rb').read()
        self.assertNotEqual(build(self.db, "INSERT INTO Planets (ID) VALUES (1249);"), 0)
        self.assertEqual(open(self.db, 'rb').read(), before)
        self.assertEqual([f for f in os.listdir(self.dir.name) if '.tmp.' in f], [])


class IndexedLookups(unittest.TestCase):
    """A statement that selects the rows of one system or component must
    seek an index, or each request slows down with every system added."""

    # Statements that read a whole table by design: the catalogue registry,
    # the neighbour search's full scan, the name search's substring match and
    # the catalogue download's components.
    WHOLE_TABLE = re.compile(r'FROM CatalogNames$|FROM Positions$|LIKE |FROM Components c ')

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        cls.db = os.path.join(cls.dir.name, 'vldr.db')
        assert build(cls.db, IdScheme.VALID) == 0

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_every_lookup_of_one_system_or_component_seeks_an_index(self):
        statements = program_statements()
        # A floor that shows the sources were found: each statement is written once.
        self.assertGreaterEqual(len(statements), 19, statements)
        for statement in statements:
            if self.WHOLE_TABLE.search(statement):
                continue
            with self.subTest(statement=statement):
                plan = query_plan(self.db, statement)
                # SCAN lines name whole-table reads; the neighbour grid's
                # counting tables xs and ys are a handful of numbers.
                scans = [line for line in plan.splitlines()
                         if re.search(r'\bSCAN (?!xs\b|ys\b|CONSTANT ROW)', line)]
                self.assertEqual(scans, [], plan)
                self.assertRegex(plan, r'SEARCH \w+ USING')

    def test_display_name_lookups_use_the_system_indexes(self):
        statements = [s for s in program_statements() if 'INT(OwnerID/100)' in s]
        self.assertEqual(len(statements), 2)
        for statement in statements:
            self.assertRegex(query_plan(self.db, statement), r'USING INDEX (ProperNames|CatalogNumbers)BySystem')

    def test_the_neighbour_search_reads_the_grid_by_its_key(self):
        [statement] = [s for s in program_statements() if 'PositionCells' in s]
        self.assertIn('SEARCH c USING PRIMARY KEY (CellX=? AND CellY=? AND CellZ>? AND CellZ<?)',
                      query_plan(self.db, statement))

    def test_the_cone_search_reads_the_direction_index_by_its_key(self):
        [statement] = [s for s in program_statements() if 'DirectionCells' in s]
        self.assertIn('SEARCH c USING PRIMARY KEY (CellX=? AND CellY=? AND CellZ>? AND CellZ<?)',
                      query_plan(self.db, statement))


class IndexBuild(unittest.TestCase):
    def test_building_again_gives_the_same_indexes(self):
        with tempfile.TemporaryDirectory() as tmp:
            db = os.path.join(tmp, 'vldr.db')
            self.assertEqual(build(db, IdScheme.VALID), 0)
            dump = subprocess.run(['sqlite3', db, '.dump'], capture_output=True, check=True).stdout
            subprocess.run([os.path.join(SOURCE, 'db', 'index-db'), '--lib', LIB_DIR, db], check=True)
            self.assertEqual(subprocess.run(['sqlite3', db, '.dump'], capture_output=True, check=True).stdout, dump)

    def test_a_missing_extension_is_named(self):
        with tempfile.TemporaryDirectory() as tmp:
            result = subprocess.run([BUILD_DB, '--lib', tmp, os.path.join(tmp, 'vldr.db')],
                                    capture_output=True, text=True)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn('vldr_sqlite_ext.so not found', result.stderr)
            self.assertFalse(os.path.exists(os.path.join(tmp, 'vldr.db')))


if __name__ == '__main__':
    unittest.main()
