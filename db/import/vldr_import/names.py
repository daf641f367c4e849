"""Star names: the IAU list and lists of common names by designation."""
from .csvfile import CsvTable


def add_name(star, name):
    """Gives star the name unless it has it already. A name that differs from
    one it has only in letter case replaces it: the name lists spell names
    more carefully than the star catalogue (van Maanen's Star)."""
    for k, known in enumerate(star.names):
        if known.casefold() == name.casefold():
            star.names[k] = name
            return
    star.names.append(name)


class GroupNames:
    """The names already given to each group of stars (a system to be), so a
    name list that finds another star of the group does not name it twice."""

    def __init__(self, stars, union):
        self.union = union
        self.names = {}
        for s in stars.values():
            self.names.setdefault(union.find(s.hyg_id), set()).update(n.casefold() for n in s.names)

    def add(self, star, name):
        """Gives star the name unless a star of its group has it."""
        known = self.names.setdefault(self.union.find(star.hyg_id), set())
        if name.casefold() in known and name.casefold() not in {n.casefold() for n in star.names}:
            return
        known.add(name.casefold())
        add_name(star, name)


def read_iau_names(path, index, groups, report):
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
        groups.add(star, name)


def read_names(path, index, groups, report):
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
        groups.add(star, name)
