"""scripts/publish-db renames a checked copy over the live database, and
refuses a damaged or incomplete file with a message, leaving the live file
as it was. (The load test publishes with it under load.)"""
import hashlib
import os
import shutil
import sqlite3
import subprocess
import tempfile
import unittest

SOURCE = os.environ.get('VLDR_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..'))
LIB_DIR = os.environ.get('VLDR_LIB_DIR', os.path.join(SOURCE, 'build', 'lib'))
FIXTURES = [os.path.join(SOURCE, 'tests', 'fixtures', name)
            for name in ('hostile.sql', 'report_components.sql', 'report_orbits.sql')]


def digest(path):
    with open(path, 'rb') as f:
        return hashlib.sha256(f.read()).hexdigest()


def zero_middle_page(path):
    """A database with one page in the middle overwritten by zeros."""
    with open(path, 'r+b') as f:
        header = f.read(100)
        page_size = int.from_bytes(header[16:18], 'big')
        pages = int.from_bytes(header[28:32], 'big')
        f.seek(page_size * (pages // 2))
        f.write(bytes(page_size))


def cut_in_half(path):
    """A copy that stopped halfway."""
    size = os.path.getsize(path)
    with open(path, 'r+b') as f:
        f.truncate(size // 2)


def overwritten(path):
    """A file of the right size that is not a database."""
    with open(path, 'wb') as f:
        f.write(b'x' * 4096)


def changed_by(sql):
    def change(path):
        db = sqlite3.connect(path)
        db.executescript(sql)
        db.close()
    return change


class PublishDb(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix='vldr-publish-')
        cls.good = os.path.join(cls.folder, 'good.db')
        subprocess.run([os.path.join(SOURCE, 'db', 'build-db'), '--lib', LIB_DIR, cls.good] + FIXTURES,
                       check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        self.site = tempfile.mkdtemp(dir=self.folder)
        self.live = os.path.join(self.site, 'vldr.db')
        with open(self.live, 'wb') as f:
            f.write(b'the old database')
        os.chmod(self.live, 0o444)

    def publish(self, new):
        return subprocess.run([os.path.join(SOURCE, 'scripts', 'publish-db'), '--lib', LIB_DIR, new, self.live],
                              capture_output=True, text=True)

    def test_a_sound_file_replaces_the_live_one_and_keeps_its_mode(self):
        result = self.publish(self.good)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(digest(self.live), digest(self.good))
        self.assertEqual(os.stat(self.live).st_mode & 0o777, 0o444)
        self.assertEqual(os.listdir(self.site), ['vldr.db'])

    def test_damaged_and_incomplete_files_are_refused_and_the_live_file_stays(self):
        # Regression: a copy over the live file served pages with sections
        # silently missing (zeroed page) or failed answers (half a file).
        cases = [
            ('a zeroed page', zero_middle_page, 'PRAGMA integrity_check finds it damaged'),
            ('half a file', cut_in_half, 'it is incomplete: '),
            ('no grid', changed_by('DROP TABLE PositionCells;'), 'it has no position grid'),
            ('a stale grid', changed_by('DELETE FROM PositionCells WHERE OwnerID = '
                                        '(SELECT min(OwnerID) FROM PositionCells);'),
             'its position grid is not in step with Positions'),
            ('a view for a table', changed_by('DROP TABLE Planets; CREATE VIEW Planets AS SELECT 1 AS ID;'),
             'it lacks tables or columns of the VLDR schema (tables, not views): Planets.'),
            ('a missing column', changed_by('ALTER TABLE Orbits DROP COLUMN Source;'),
             'it lacks tables or columns of the VLDR schema (tables, not views): Orbits.Source'),
            ('no systems', changed_by('DELETE FROM Systems;'), 'it holds no star system'),
            ('not SQLite', overwritten, 'it is not an SQLite database'),
        ]
        before = digest(self.live)
        for label, spoil, message in cases:
            with self.subTest(label):
                new = os.path.join(self.site, 'new.db')
                shutil.copyfile(self.good, new)
                spoil(new)
                result = self.publish(new)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn(f'publish-db: refused {new}: {message}', result.stderr)
                self.assertTrue(result.stderr.endswith(f'; {self.live} is unchanged\n'), result.stderr)
                self.assertEqual(digest(self.live), before)
                self.assertEqual(sorted(os.listdir(self.site)), ['new.db', 'vldr.db'])


if __name__ == '__main__':
    unittest.main()
