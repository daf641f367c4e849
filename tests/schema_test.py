"""The database refuses rows that break the ID scheme, and db/build-db never
leaves a half-built file in place of a good one."""
import os
import subprocess
import tempfile
import unittest

SOURCE = os.environ.get('VLDR_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..'))
BUILD_DB = os.path.join(SOURCE, 'db', 'build-db')


def build(path, sql):
    """Runs db/build-db with one data file holding sql; returns its exit status."""
    data = path + '.sql'
    with open(data, 'w') as f:
        f.write(sql)
    return subprocess.run([BUILD_DB, path, data], capture_output=True).returncode


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


if __name__ == '__main__':
    unittest.main()
