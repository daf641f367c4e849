"""Star names: the IAU list and lists of common names by designation."""
import re

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
        self.members = {}
        for s in stars.values():
            self.names.setdefault(union.find(s.hyg_id), set()).update(n.casefold() for n in s.names)
            self.members.setdefault(union.find(s.hyg_id), []).append(s)

    def numbered_holder(self, star, name):
        """The star of star's group whose Giclas number the name is ('Giclas
        208-045' is G 208-45, GJ 1245 B, though the list names GJ 1245), or
        star itself."""
        m = re.fullmatch(r'Giclas (\d+)-(\d+)', name)
        if not m:
            return star
        wanted = ('G', f"{int(m.group(1))}-{int(m.group(2))}")
        for s in self.members.get(self.union.find(star.hyg_id), ()):
            if any(a == 'G' and re.sub(r'\d+', lambda d: str(int(d.group(0))), v) == wanted[1]
                   for a, v in s.more_numbers):
                return s
        return star

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
        holder = groups.numbered_holder(star, name)
        if holder is not star:
            report.warn(path, line, f"name '{name}' given to {designation} is the Giclas number "
                        "of another star of its system, which takes it")
        groups.add(holder, name)
