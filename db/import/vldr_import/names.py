"""Star names: the IAU list and lists of common names by designation."""
from .csvfile import CsvTable


def add_name(star, name):
    """Gives star the name unless it has it already."""
    if name not in star.names:
        star.names.append(name)


def read_iau_names(path, index, report):
    """Adds the IAU names to their stars, found by HIP or by designation."""
    table = CsvTable(path)
    if table.header is None or 'Proper Names' not in table.columns:
        report.refuse(f"{path}:1", "not an IAU name list: no 'Proper Names' column")
        return
    for line, row in table.rows():
        if not row:
            continue
        name = table.field(row, 'Proper Names')
        if not name:
            report.reject(path, line, "no name")
            continue
        hip = table.field(row, 'HIP')
        star = index.by_hip.get(hip) if hip else None
        if star is None:
            star = index.designation(table.field(row, 'Designation'))
        if star is None:
            report.count('names for stars outside the star catalogue')
            continue
        add_name(star, name)


def read_names(path, index, report):
    """Adds common names from 'name,GJ designation' lines."""
    table = CsvTable(path, has_header=False)
    for line, row in table.rows():
        if not row or not row[0].strip():
            continue
        if len(row) < 2:
            report.reject(path, line, "no designation after the name")
            continue
        name, designation = row[0].strip(), row[1].strip()
        star = index.designation(designation)
        if star is None:
            report.count('names for stars outside the star catalogue')
            continue
        add_name(star, name)
