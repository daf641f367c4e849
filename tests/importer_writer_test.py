"""Tests of the importer's SQLite writer: INT() as the programs' extension
defines it, the journal mode of the file written, and the column widths the
importer cuts texts to.

Run by CTest with VLDR_SOURCE_DIR and VLDR_EXTENSION_PATH set; from tests/ by
hand:  python3 -m unittest -v importer_writer_test
"""
import math
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.environ.get('VLDR_SOURCE_DIR',
                            os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXTENSION = os.environ.get('VLDR_EXTENSION_PATH',
                           os.path.join(SOURCE_DIR, 'build', 'lib', 'vldr_sqlite_ext.so'))
SCHEMA = os.path.join(SOURCE_DIR, 'db', 'schema.sql')

sys.path.insert(0, os.path.join(SOURCE_DIR, 'importer'))
from vldr_import import layout, writer  # noqa: E402
from vldr_import.report import Report  # noqa: E402

# SQL literals of every storage class, with the edges of the integer range.
INT_ARGUMENTS = ['NULL', '0', '7', '-7', '4611686018427387904', '-9223372036854775808', '2.5',
                 '-2.5', '0.999999', '-0.000001', '1e18', '9.3e18', '-9.3e18', '1e300', "'12'",
                 "' 12 '", "'12.7'", "'-12.7'", "'1e3'", "'abc'", "''", "'3abc'", "X'332E39'"]


class IntFunctionTest(unittest.TestCase):
    """The importer's INT() gives what the extension gives, for every kind of value."""

    @classmethod
    def setUpClass(cls):
        # Regression: a missing extension or shell used to skip these cases,
        # which CTest counted as passed; what the comparison needs must be there.
        missing = [what for what, there in (('the SQLite extension ' + EXTENSION, os.path.exists(EXTENSION)),
                                            ('the sqlite3 shell', shutil.which('sqlite3')))
                   if not there]
        if missing:
            raise AssertionError('cannot compare INT() without ' + ' and '.join(missing))

    def statements(self):
        return [f"SELECT quote(INT({value}));" for value in INT_ARGUMENTS]

    def extension_results(self):
        script = f".load {EXTENSION} sqlite3_vldr_dialect_init\n" + '\n'.join(self.statements())
        result = subprocess.run(['sqlite3', '-batch', ':memory:'], input=script, capture_output=True,
                                text=True, check=True)
        return result.stdout.splitlines()

    def importer_results(self):
        con = sqlite3.connect(':memory:')
        con.create_function('INT', 1, writer.sql_int, deterministic=True)
        results = [con.execute(sql).fetchone()[0] for sql in self.statements()]
        con.close()
        return results

    def test_every_kind_of_value(self):
        for value, want, got in zip(INT_ARGUMENTS, self.extension_results(), self.importer_results()):
            with self.subTest(value=value):
                self.assertEqual(got, want)

    def test_nan_and_integer_division_of_owner_ids(self):
        self.assertEqual(writer.sql_int(1201 // 100), 12)
        self.assertEqual(writer.sql_int(-0.5), -1)
        self.assertIsNone(writer.sql_int(math.nan))


class WrittenFileTest(unittest.TestCase):
    """The file is whole, in rollback-journal mode, and takes INT() indexes."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='vldr-writer-')
        self.db = os.path.join(self.dir, 'out.db')
        self.schema = os.path.join(self.dir, 'schema.sql')
        with open(SCHEMA, encoding='utf-8') as f:
            schema = f.read()
        with open(self.schema, 'w', encoding='utf-8') as f:
            f.write(schema + '\nPRAGMA journal_mode=WAL;\n'
                    'CREATE INDEX NamesBySystem ON ProperNames (INT(OwnerID/100));\n')
        self.rows = layout.RowSet(Report(open(os.devnull, 'w')))
        self.rows.add('Systems', ID=1200, LastUpdated=self.rows.text('2014-01-01'))
        self.rows.add('ProperNames', OwnerID=1201, Name=self.rows.text('Ra\u00efs'), IsSystemName=0)

    def tearDown(self):
        self.rows.report.stream.close()
        shutil.rmtree(self.dir, ignore_errors=True)

    def test_a_schema_that_asks_for_wal_still_gives_a_rollback_journal_file(self):
        writer.write_database(self.rows, self.schema, self.db)
        self.assertEqual(sorted(os.listdir(self.dir)), ['out.db', 'schema.sql'])
        with open(self.db, 'rb') as f:
            header = f.read(20)
        self.assertEqual(header[18:20], b'\x01\x01')    # read and write versions 1: not WAL
        con = sqlite3.connect(self.db)
        self.assertEqual(con.execute('PRAGMA journal_mode').fetchone(), ('delete',))
        con.close()

    def test_rows_go_through_an_int_index_and_keep_windows_1252_text(self):
        writer.write_database(self.rows, self.schema, self.db)
        con = sqlite3.connect(self.db)
        con.text_factory = bytes
        con.create_function('INT', 1, writer.sql_int, deterministic=True)
        self.assertEqual(con.execute('SELECT Name FROM ProperNames WHERE INT(OwnerID/100) = 12').fetchall(),
                         [('Ra\u00efs'.encode('cp1252'),)])
        con.close()


class ColumnWidthTest(unittest.TestCase):
    """The importer cuts texts to the widths the programs bind."""

    # Each width of the importer's layout, with the field of
    # common/field_limits.h that the programs read it into.
    FIELDS = {'NAME_WIDTH': 'kNameSize', 'ABBREV_WIDTH': 'kAbbreviationSize',
              'VARTYPE_WIDTH': 'kVariableTypeSize', 'DESCRIPTION_WIDTH': 'kDescriptionSize',
              'LONGNAME_WIDTH': 'kLongNameSize'}

    def field_widths(self):
        """The characters each bound text field of field_limits.h holds."""
        with open(os.path.join(SOURCE_DIR, 'common', 'field_limits.h'), encoding='utf-8') as f:
            text = f.read()
        return {m.group(1): int(m.group(2))
                for m in re.finditer(r'constexpr std::size_t (k\w+Size) = textFieldSize\((\d+)\);', text)}

    def test_every_width_of_the_layout_is_checked(self):
        widths = {name for name in vars(layout) if name.endswith('_WIDTH')}
        self.assertEqual(widths, set(self.FIELDS))

    def test_widths_are_the_bound_widths(self):
        fields = self.field_widths()
        for width, field in self.FIELDS.items():
            with self.subTest(width=width):
                self.assertIn(field, fields)
                if width == 'LONGNAME_WIDTH':
                    # Fetched with one character to spare, so no stored long name is cut.
                    self.assertLess(getattr(layout, width), fields[field])
                else:
                    self.assertEqual(getattr(layout, width), fields[field])


if __name__ == '__main__':
    unittest.main()
