"""Grouping stars into systems: the star catalogue's own grouping, joined by
the orbits that bind stars of two groups and by common motion, and the
system's own name."""
import math
import re

from .designations import greek_parts, spelled_designation
from .ids import MAX_COMPONENTS, system_id
from .model import System
from .units import angular_separation_arcsec


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
    """A name without a trailing component letter: 'Sirius B' -> 'Sirius',
    '41 Ara Ba' -> '41 Ara'."""
    m = re.match(r'^(.*\S)\s+[A-E][a-e]?$', name)
    return m.group(1) if m else name


# A name that is only an abbreviated designation ('mu Her', '41 Ara'): the
# spelled designation names the system better.
ABBREVIATED_DESIGNATION = re.compile(r'^(?:[a-z]+\d?|\d+) [A-Z][A-Za-z]{1,2}$')


# Names that are survey designations rather than names people use.
SURVEY_NAME = re.compile(r'^(?:IRAS|2MASS[IW]?|C?WISE(?:A|P|PA|PC|NF)?|SCR|UCAC4|DENIS(?:-P)?|SIPS|'
                         r'LEHPM|PM|UPM|1RXS|NLTT|BPS|Gaia|LP|G|MCC|Giclas|ULAS|UGPS|SDSS|CFBDS|'
                         r'SIMP|VHS|PSO) ')


def choose_system_name(system):
    """The system's own name, by preference: a proper name, the spelled Bayer
    or Flamsteed designation, then (returning None) the Gliese, HD or HIP
    number the system designation gives, and a survey name only for a system
    without those. A single star's proper name is its first name that is no
    survey name. A multiple system's is a name its stars share (Sirius for
    Sirius A and B), else the spelled designation of its primary (Alpha
    Centauri, though A and B have names of their own), else a numbered
    catalogue name of the primary, which names the pair as that catalogue saw
    it (Ross 730, Luyten 726-8); a word name of one star alone (Keid) never
    names the system. None when the system designation names it best."""
    primary = system.stars[0]
    catalogued = bool(primary.gl or primary.hd or primary.hip)
    if len(system.stars) == 1:
        names = [stem(n) for n in primary.names]
        proper = [n for n in names if not SURVEY_NAME.match(n)]
        if proper:
            return proper[0]
        if system.spelled or catalogued:
            return system.spelled
        return names[0] if names else None
    holders = {}
    for s in system.stars:
        for n in {stem(n) for n in s.names}:
            holders[n] = holders.get(n, 0) + 1
    ordered = [stem(n) for s in system.stars for n in s.names]
    shared = [n for n in ordered if holders[n] >= 2 and not ABBREVIATED_DESIGNATION.match(n)]
    proper = [n for n in shared if not SURVEY_NAME.match(n)]
    if proper:
        return proper[0]
    if system.spelled:
        return system.spelled
    numbered = [stem(n) for n in primary.names
                if re.search(r'\d', n) and not SURVEY_NAME.match(n)]
    if numbered:
        return numbered[0]
    if not primary.names and primary.luyten:
        return f"Luyten {primary.luyten}"
    if shared and not catalogued:
        return shared[0]
    return None


def component_order(s):
    """Primary first (the catalogue's component number), then by brightness."""
    return (s.comp if s.comp and s.comp > 0 else 99, s.mag if s.mag is not None else 99.0,
            s.hyg_id)


def listed_order(s):
    """In a system with stars of the nearby-star list: by component letter,
    stars without one after the lettered, then by brightness."""
    return (s.letter is None, s.letter or '', s.mag if s.mag is not None else 99.0, s.hyg_id)


def order_members(members):
    """Sorts a system's stars into component order."""
    members.sort(key=listed_order if any(s.listed for s in members) else component_order)


def component_letters(members):
    """The letter of each star of a system, in order: its own letter where it
    has one no other star of the system has, else the first letter left."""
    if not any(s.listed for s in members):
        return [chr(ord('A') + k) for k in range(len(members))]
    own = [s.letter for s in members]
    unique = {l for l in own if l and own.count(l) == 1}
    free = (chr(c) for c in range(ord('A'), ord('Z') + 1) if chr(c) not in unique)
    return [l if l in unique else next(free) for l in own]


def shares_greek_letter(members):
    """Whether another star of the system has the primary's Greek letter
    (alpha-1 and alpha-2 Centauri): the system's designation then has no number."""
    primary = members[0]
    letter = greek_parts(primary.bayer)
    return bool(letter) and any(greek_parts(s.bayer) and greek_parts(s.bayer)[0] == letter[0]
                                and s.con == primary.con for s in members[1:])


def build_systems(stars, union, path, report, nearest_path=None):
    """The Systems of the groups in union, in ID order, with their stars'
    component IDs set; a star beyond a system's capacity is rejected (on the
    line of the star catalogue, path, or of the nearby-star list that gave it)."""
    groups = {}
    for s in stars.values():
        groups.setdefault(union.find(s.hyg_id), []).append(s)
    systems = []
    for members in groups.values():
        order_members(members)
        for extra in members[MAX_COMPONENTS:]:
            where, line = (nearest_path, extra.listed) if extra.listed else (path, extra.line)
            report.reject(where, line, f"star {extra.hyg_id}: its system already has "
                          f"{MAX_COMPONENTS} components")
        members = members[:MAX_COMPONENTS]
        system = System()
        system.stars = members
        system.id = system_id(members[0].hyg_id)
        system.letters = component_letters(members)
        if any(s.listed for s in members):
            by_letter = sorted(zip(system.letters, members), key=lambda pair: pair[0])
            system.letters = [letter for letter, _ in by_letter]
            system.stars = members = [s for _, s in by_letter]
        for k, s in enumerate(members, 1):
            s.system = system
            s.component_id = system.id + k
        system.spelled = spelled_designation(members[0], numbered=not shares_greek_letter(members))
        system.name = choose_system_name(system)
        systems.append(system)
    systems.sort(key=lambda x: x.id)
    return systems


# Two systems are one when their stars move together: closer than this
# (projected), at distances within COMMON_DISTANCE and with proper motions
# that differ by less than COMMON_MOTION of their size, which must be at least
# MIN_COMMON_MOTION_MAS (mas/yr), so that the motion says something.
COMMON_MOTION_AU = 10000.0
COMMON_DISTANCE = 0.05
COMMON_MOTION = 0.10
MIN_COMMON_MOTION_MAS = 100.0


def join_common_motion_pairs(stars, union, path_of, report):
    """Joins in union the groups of stars that move together (Wolf 629 with
    Wolf 630), each join a line of the report; a join that would give a
    system more than MAX_COMPONENTS stars is not made."""
    sizes = {}
    for s in stars.values():
        sizes[union.find(s.hyg_id)] = sizes.get(union.find(s.hyg_id), 0) + 1
    moving = sorted((s for s in stars.values() if s.dist and s.pm_ra is not None
                     and math.hypot(s.pm_ra, s.pm_dec) >= MIN_COMMON_MOTION_MAS),
                    key=lambda s: s.hyg_id)
    by_cell = {}
    for s in moving:
        by_cell.setdefault(math.floor(s.dec), []).append(s)
    for s in moving:
        reach_deg = COMMON_MOTION_AU / s.dist / 3600.0
        for row in range(math.floor(s.dec - reach_deg), math.floor(s.dec + reach_deg) + 1):
            for t in by_cell.get(row, ()):
                if t.hyg_id <= s.hyg_id or union.find(t.hyg_id) == union.find(s.hyg_id):
                    continue
                why = moving_together(s, t)
                if why is None:
                    continue
                a, b = union.find(s.hyg_id), union.find(t.hyg_id)
                if sizes[a] + sizes[b] > MAX_COMPONENTS:
                    continue
                union.union(a, b)
                sizes[union.find(a)] = sizes[a] + sizes[b]
                report.warn(*path_of(t), f"joined to the system of the star of line "
                            f"{path_of(s)[1]} of {path_of(s)[0]}: {why}")
                report.count('systems joined by their common motion')


def moving_together(s, t):
    """Why two stars are one system by their motion, or None."""
    au = angular_separation_arcsec(s.ra * 15.0, s.dec, t.ra * 15.0, t.dec) * s.dist
    if au >= COMMON_MOTION_AU or abs(s.dist - t.dist) > COMMON_DISTANCE * s.dist:
        return None
    size = math.hypot(s.pm_ra, s.pm_dec)
    if math.hypot(s.pm_ra - t.pm_ra, s.pm_dec - t.pm_dec) > COMMON_MOTION * size:
        return None
    return (f"{au:.0f} AU apart (less than {COMMON_MOTION_AU:g}), at {t.dist:g} and {s.dist:g} pc, "
            f"with proper motions within {100 * COMMON_MOTION:g} %")
