"""The SQLite writer: the database is built under a temporary name in one
transaction and renamed over the output only when complete, so a site that is
serving keeps reading the old file until the new one is whole."""
import math
import os
import re
import sqlite3

from .layout import TABLES, TEXT_COLUMNS

# The largest double below 2^63: beyond it INT() keeps the real value.
LARGEST_INT64_AS_DOUBLE = 9223372036854774784.0
_NUMERIC_PREFIX = re.compile(r'\s*[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?')
_INTEGER_TEXT = re.compile(r'\s*[+-]?\d+\s*')


def sql_int(value):
    """INT(x) as the programs' SQLite extension defines it: NULL for NULL and
    NaN, an integer unchanged, any other value rounded toward minus infinity
    (text read as a number the way SQLite reads it, 0 when it is none)."""
    if value is None:
        return None
    if isinstance(value, int):
        return value
    if isinstance(value, (bytes, bytearray)):
        value = bytes(value).decode('latin-1')
    if isinstance(value, str):
        if _INTEGER_TEXT.fullmatch(value):
            try:
                number = int(value)
                if -2**63 <= number < 2**63:
                    return number
            except ValueError:
                pass
        m = _NUMERIC_PREFIX.match(value)
        value = float(m.group(0)) if m else 0.0
    if math.isnan(value):
        return None
    if math.isinf(value):
        return value
    floored = math.floor(value)
    if floored > LARGEST_INT64_AS_DOUBLE or floored < -LARGEST_INT64_AS_DOUBLE:
        return float(floored)
    return int(floored)


def open_database(path):
    """A connection to a new database file at path, in autocommit mode, with
    INT() registered (the schema's expression indexes use it) and a rollback
    journal (never WAL: the programs open the file read-only)."""
    con = sqlite3.connect(path, isolation_level=None)
    con.create_function('INT', 1, sql_int, deterministic=True)
    con.execute('PRAGMA journal_mode=DELETE')
    return con


def apply_schema(con, schema_path):
    """Creates the tables and indexes of the schema file (the only place the
    schema is applied)."""
    with open(schema_path, encoding='utf-8') as f:
        con.executescript(f.read())


def insert_rows(con, rowset):
    """Inserts every collected row in one transaction."""
    con.execute('BEGIN')
    for table, columns in TABLES.items():
        # Texts arrive as windows-1252 bytes; CAST stores them as TEXT unchanged.
        marks = ', '.join('CAST(? AS TEXT)' if c in TEXT_COLUMNS else '?' for c in columns)
        con.executemany(f"INSERT INTO {table} ({', '.join(columns)}) VALUES ({marks})",
                        rowset.rows[table])
    con.execute('COMMIT')


def keep_rollback_journal(con):
    """Makes sure the file is left in rollback-journal mode."""
    mode = con.execute('PRAGMA journal_mode=DELETE').fetchone()[0]
    if mode.lower() != 'delete':
        raise sqlite3.OperationalError(f"journal mode is {mode}, not delete")


# The indexes built after the data (display-name lookups by system and the
# position grid of the neighbour search), shared with db/build-db.
INDEXES_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'db', 'indexes.sql')


def build_indexes(con):
    """Builds the indexes that are made after the data (db/indexes.sql), in
    one transaction; needs the INT() this connection registers."""
    with open(INDEXES_PATH, encoding='utf-8') as f:
        script = f.read()
    con.executescript('BEGIN;\n' + script + '\nCOMMIT;')


# What is done to the complete database before it is renamed into place, in
# order; each step takes the connection. Steps that derive data from the
# rows (an index built from them, say) belong here.
FINISHING_STEPS = (build_indexes, keep_rollback_journal)


def finish(con):
    """Runs the finishing steps on the written database."""
    for step in FINISHING_STEPS:
        step(con)


def write_database(rowset, schema_path, out_path):
    """Writes the rows into a new database at out_path.tmp.<pid> following the
    schema, then renames it over out_path. On any failure the temporary file
    is removed, out_path is left as it was, and the exception is raised."""
    tmp = f"{out_path}.tmp.{os.getpid()}"
    if os.path.exists(tmp):
        os.remove(tmp)
    try:
        con = open_database(tmp)
        try:
            apply_schema(con, schema_path)
            insert_rows(con, rowset)
            finish(con)
        finally:
            con.close()
        os.replace(tmp, out_path)
    except BaseException:
        for leftover in (tmp, tmp + '-journal'):
            try:
                os.remove(leftover)
            except OSError:
                pass
        raise
