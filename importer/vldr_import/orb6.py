"""The Sixth Catalog of Orbits of Visual Binary Stars (ORB6), "orbital
elements" text layout: two fixed-width lines per orbit."""
import re

from .csvfile import open_text
from .designations import gliese_stem, split_gliese
from .grouping import component_letters, order_members
from .model import Orbit
from .units import DAYS_PER_YEAR, HOURS_PER_YEAR, BadValue, julian_date_to_year, number

FIRST_LINE = re.compile(r'^\d{6}\.\d{2}[+-]\d{6}\.\d')
PERIOD_TO_YEARS = {'y': 1.0, 'd': 1 / DAYS_PER_YEAR, 'c': 100.0, 'h': 1 / HOURS_PER_YEAR,
                   'm': 1 / (HOURS_PER_YEAR * 60.0)}
AXIS_TO_ARCSEC = {'a': 1.0, 'm': 0.001, 'M': 60.0}
# ORB6 grades (column 151): 1 definitive ... 5 indeterminate; 7, 8 and 9 are
# special classes (9: astrometric, the photocentre's orbit).
INDETERMINATE_GRADE = 5


def column(line, first, last):
    """Columns first..last (1-based, inclusive) of a fixed-width line; ORB6
    writes '.' for a value it does not give, which reads as empty."""
    value = line[first - 1:last].strip()
    return '' if value == '.' else value


def pair_members(designation):
    """The two members named by the component part of a discoverer designation:
    'RHD   1AB' -> ('A', 'B'); 'LDS 494AC' -> ('A', 'C'); 'STF1523AB,C' ->
    ('AB', 'C'); none given -> ('A', 'B'); None for sub-components."""
    m = re.search(r'\d\s*([A-Za-z,]*)$', designation)
    letters = m.group(1) if m else ''
    if ',' in letters:
        first, second = letters.split(',', 1)
        return first, second
    if len(letters) == 2 and letters.isupper():
        return letters[0], letters[1]
    if letters == '':
        return 'A', 'B'
    return None


def read_orb6(path, date, stars, index, union, report):
    """Reads ORB6 orbits whose two members are both in the star catalogue. The
    primary is found by its HIP (else HD) number; the members by the Gliese
    designation that shares the primary's number and carries the orbit's
    component letter, or, for an AB pair of a two-star system, by that system.
    Members from two systems join them into one (in union). Returns the Orbits,
    those of INDETERMINATE_GRADE among them (reported; for the caller to leave
    out)."""
    lines = open_text(path).splitlines()
    hyg_systems = systems_before_orbits(stars, union)
    orbits = []
    i = 0
    while i < len(lines):
        line1 = lines[i]
        if not FIRST_LINE.match(line1):
            i += 1
            continue
        line_no = i + 1
        line2 = lines[i + 1] if i + 1 < len(lines) else ''
        i += 2
        report.count('orb6 orbits read')
        orbit = read_orbit(path, line_no, line1, line2, date, index, union, hyg_systems, report)
        if orbit is not None:
            orbits.append(orbit)
    return orbits


def systems_before_orbits(stars, union):
    """{hyg id: the stars of its system} as the star catalogue groups them."""
    root = {s.hyg_id: union.find(s.hyg_id) for s in stars.values()}
    members = {}
    for star_id, r in root.items():
        members.setdefault(r, []).append(stars[star_id])
    return {star_id: members[r] for star_id, r in root.items()}


def read_orbit(path, line_no, line1, line2, date, index, union, hyg_systems, report):
    """The Orbit of one catalogue entry, or None when it is not an orbit of two
    stars here (counted or reported)."""
    hip, hd = column(line2, 46, 51), column(line1, 46, 51)
    primary_star = index.by_hip.get(hip) if hip else None
    if primary_star is None and hd:
        primary_star = index.by_hd.get(hd)
    if primary_star is None:
        return None      # not a pair of this star catalogue
    members = pair_members(column(line1, 31, 44))
    if members is None:
        report.count('orb6 orbits of sub-components')
        return None
    try:
        o = orbital_elements(line1, line2)
    except BadValue as e:
        report.reject(path, line_no, str(e))
        return None
    o.line, o.date = line_no, date
    if not attach_members(o, members, primary_star, hip, index, hyg_systems, path, report):
        return None
    for sid in (o.primary_pair or ()) + ((o.primary,) if o.primary is not None else ()):
        union.union(sid, o.secondary)
    # The pair stays one system; an orbit the catalogue calls indeterminate is
    # not shown as a fact (the caller leaves it out, and no copy of it either).
    if o.grade == INDETERMINATE_GRADE:
        report.reject(path, line_no, f"orbit {''.join(members)} of HIP {hip or '-'} "
                      f"({o.source}): grade {INDETERMINATE_GRADE}, indeterminate; left out")
        report.count('orb6 orbits of grade 5 left out')
    return o


def orbital_elements(line1, line2):
    """An Orbit with the elements in years, arcseconds and degrees; BadValue
    for a number or unit that cannot be read."""
    o = Orbit()
    period, unit = number(column(line1, 62, 73), 'P'), column(line1, 74, 74)
    if period is not None:
        if unit not in PERIOD_TO_YEARS:
            raise BadValue(f"unknown period unit '{unit}'")
        o.period = period * PERIOD_TO_YEARS[unit]
        perr = number(column(line2, 62, 73), 'P error')
        if perr and period:
            o.period_error = abs(perr / period)
    axis, unit = number(column(line1, 77, 85), 'a'), column(line1, 86, 86)
    if axis is not None:
        if unit not in AXIS_TO_ARCSEC:
            raise BadValue(f"unknown axis unit '{unit}'")
        o.axis = axis * AXIS_TO_ARCSEC[unit]
        o.is_au = 0
    o.inclination = number(column(line1, 89, 96), 'i')
    o.node = number(column(line1, 99, 106), 'node')
    epoch, unit = number(column(line1, 110, 121), 'T'), column(line1, 122, 122)
    if epoch is not None:
        o.epoch = periastron_year(epoch, unit)
    o.eccentricity = number(column(line1, 125, 132), 'e')
    o.source = column(line1, 160, 167) or 'ORB6'
    grade = column(line1, 151, 151)
    o.grade = int(grade) if grade.isdigit() and grade != '0' else None
    return o


def periastron_year(epoch, unit):
    """The year of a periastron epoch given in ORB6's unit code."""
    if unit == 'y':
        return epoch
    if unit == 'd':
        return julian_date_to_year(epoch + 2400000.0)
    if unit == 'm':
        return julian_date_to_year(epoch + 2400000.5)
    if unit == 'c':
        return epoch * 100.0
    raise BadValue(f"unknown periastron epoch unit '{unit}'")


def listed_member(group, letter):
    """The star of a group with stars of the nearby-star list that gets this
    component letter (Proxima Centauri, C of Alpha Centauri), or None."""
    if not any(s.listed for s in group):
        return None
    members = list(group)
    order_members(members)
    for star, given in zip(members, component_letters(members)):
        if given == letter:
            return star
    return None


def attach_members(o, members, primary_star, hip, index, hyg_systems, path, report):
    """Sets o.primary (or o.primary_pair) and o.secondary to hyg ids; reports and
    returns False when a member is not in the star catalogue."""
    first, second = members

    def member(letter):
        parts = split_gliese(primary_star.gl) if primary_star.gl else None
        if parts and len(letter) == 1:
            stem, _ = gliese_stem(parts[1])
            found = index.gliese(f"{parts[0]} {stem}{letter}", allow_a=False)
            if found is not None:
                return found
            if letter == 'A' and not gliese_stem(parts[1])[1]:
                return primary_star
        return listed_member(hyg_systems.get(primary_star.hyg_id, []), letter)

    a_star = member(first) if len(first) == 1 else None
    b_star = member(second)
    if (a_star is None or b_star is None) and (first, second) == ('A', 'B'):
        group = hyg_systems.get(primary_star.hyg_id, [])
        if len(group) == 2:
            a_star = primary_star
            b_star = group[0] if group[1] is primary_star else group[1]
    line_no = o.line
    if len(first) > 1:
        # A pair as the primary ('AB,C'): both letters must name stars.
        pair = [member(c) for c in first] if first.isalpha() and first.isupper() else [None]
        if None in pair or b_star is None:
            report.warn(path, line_no, f"orbit {first},{second} of HIP {hip or '-'} skipped: "
                        "a member is not in the star catalogue")
            return False
        o.primary_pair = tuple(p.hyg_id for p in pair)
        o.secondary = b_star.hyg_id
        return True
    if a_star is None or b_star is None or a_star is b_star:
        missing = second if b_star is None or a_star is b_star else first
        report.warn(path, line_no, f"orbit {first}{second} of HIP {hip or '-'} skipped: "
                    f"member {missing} is not in the star catalogue")
        return False
    o.primary, o.secondary = a_star.hyg_id, b_star.hyg_id
    return True
