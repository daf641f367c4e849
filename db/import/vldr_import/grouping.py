"""Grouping stars into systems: the star catalogue's own grouping, joined by
the orbits that bind stars of two groups, and the system's own name."""
import re

from .designations import spelled_designation
from .ids import MAX_COMPONENTS, system_id
from .model import System


class UnionFind:
    """Groups of star ids; each group is named by its smallest id."""

    def __init__(self):
        self.parent = {}

    def find(self, x):
        """The smallest id of x's group (x alone makes a group of its own)."""
        self.parent.setdefault(x, x)
        root = x
        while self.parent[root] != root:
            root = self.parent[root]
        while self.parent[x] != root:
            self.parent[x], x = root, self.parent[x]
        return root

    def union(self, a, b):
        """Joins the groups of a and b."""
        ra, rb = self.find(a), self.find(b)
        if ra != rb:
            self.parent[max(ra, rb)] = min(ra, rb)


def group_as_catalogued(stars, union, path, report):
    """Joins every star with its comp_primary and the stars that share a base
    (HYG's system designation); a comp_primary that is missing is reported."""
    by_base = {}
    for s in stars.values():
        union.find(s.hyg_id)
        if s.comp_primary != s.hyg_id:
            if s.comp_primary in stars:
                union.union(s.hyg_id, s.comp_primary)
            else:
                report.warn(path, s.line, f"star {s.hyg_id}: comp_primary {s.comp_primary} "
                            "is not in the catalogue; kept as a system of its own")
        if s.base:
            if s.base in by_base:
                union.union(s.hyg_id, by_base[s.base])
            else:
                by_base[s.base] = s.hyg_id


def stem(name):
    """A name without a trailing component letter: 'Sirius B' -> 'Sirius'."""
    m = re.match(r'^(.*\S)\s+[A-E]$', name)
    return m.group(1) if m else name


def choose_system_name(system):
    """The system's own name: the primary's name when no other star of the
    system has a different name of its own; otherwise the spelled Bayer or
    Flamsteed name of the primary (so Rigil Kentaurus and Toliman make the
    system Alpha Centauri); otherwise the primary's name; else None."""
    primary = system.stars[0]
    primary_stems = [stem(n) for n in primary.names]
    others = {stem(n) for s in system.stars[1:] for n in s.names}
    conflict = any(o not in primary_stems for o in others)
    if primary_stems and not conflict:
        return primary_stems[0]
    if system.spelled:
        return system.spelled
    return primary_stems[0] if primary_stems else None


def component_order(s):
    """Primary first (the catalogue's component number), then by brightness."""
    return (s.comp if s.comp and s.comp > 0 else 99, s.mag if s.mag is not None else 99.0,
            s.hyg_id)


def build_systems(stars, union, path, report):
    """The Systems of the groups in union, in ID order, with their stars'
    component IDs set; a star beyond a system's capacity is rejected."""
    groups = {}
    for s in stars.values():
        groups.setdefault(union.find(s.hyg_id), []).append(s)
    systems = []
    for members in groups.values():
        members.sort(key=component_order)
        for extra in members[MAX_COMPONENTS:]:
            report.reject(path, extra.line, f"star {extra.hyg_id}: its system already has "
                          f"{MAX_COMPONENTS} components")
        members = members[:MAX_COMPONENTS]
        system = System()
        system.stars = members
        system.id = system_id(members[0].hyg_id)
        for k, s in enumerate(members, 1):
            s.system = system
            s.component_id = system.id + k
        system.spelled = spelled_designation(members[0])
        system.name = choose_system_name(system)
        systems.append(system)
    systems.sort(key=lambda x: x.id)
    return systems
