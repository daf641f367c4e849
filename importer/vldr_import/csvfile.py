"""Reading catalogue files: text decoding, release dates and CSV tables with
the line number of every row (for the report)."""
import csv
import datetime
import os
import re


def open_text(path):
    """The text of a catalogue: UTF-8 (with or without a byte-order mark),
    falling back to windows-1252 for files that are not UTF-8."""
    with open(path, 'rb') as f:
        raw = f.read()
    try:
        text = raw.decode('utf-8-sig')
    except UnicodeDecodeError:
        text = raw.decode('cp1252', errors='replace')
    return text


def file_date(path, given):
    """The release date of an input (YYYY-MM-DD): given, else a YYYY-MM-DD in
    the file name, else the file's modification date."""
    if given:
        return given
    m = re.search(r'(\d{4})-(\d{2})-(\d{2})', os.path.basename(path))
    if m:
        return m.group(0)
    return datetime.date.fromtimestamp(os.path.getmtime(path)).isoformat()


class CsvTable:
    """One CSV file: its header (column names without surrounding blanks) and
    its rows. Leading '#' comment lines are skipped when asked; a file without
    a header has header None and no columns."""

    def __init__(self, path, skip_comments=False, has_header=True):
        self.path = path
        lines = open_text(path).splitlines()
        self.first = 0
        if skip_comments:
            while self.first < len(lines) and lines[self.first].startswith('#'):
                self.first += 1
        self.reader = csv.reader(lines[self.first:])
        self.header = None
        if has_header:
            try:
                self.header = [h.strip() for h in next(self.reader)]
            except StopIteration:
                self.header = None
        self.columns = {name: i for i, name in enumerate(self.header or [])}

    @property
    def header_line(self):
        """The line number (from 1) of the header."""
        return self.first + 1

    def missing(self, names):
        """The names of the wanted columns that the header lacks."""
        return [n for n in names if n not in self.columns]

    def rows(self):
        """Yields (line number, list of fields) for every row after the header."""
        for row in self.reader:
            yield self.first + self.reader.line_num, row

    def field(self, row, name):
        """The named field of row without surrounding blanks; '' when the column
        is missing or the row is short."""
        i = self.columns.get(name)
        return row[i].strip() if i is not None and i < len(row) else ''


def open_list(path, required, kind, report):
    """The CsvTable of a star list, or None (refused in the report, naming
    kind) when its header lacks a required column."""
    table = CsvTable(path)
    if table.header is None or table.missing(required):
        report.refuse(f"{path}:1", f"not {kind}: needs columns {', '.join(required)}")
        return None
    return table
