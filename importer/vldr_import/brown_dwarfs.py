"""Nearby L, T and Y dwarfs from the SIMPLE archive, flattened to one row per
object (simple_LTY_*.csv): position, parallax, proper motion, radial
velocity, spectral type, names and companion links.

Each row becomes a star of the census, unless a star already there is the
same object (by position, see nearest.find_by_position; only a star without
a spectral type or with an M7 or later type can be). A row that names
itself as the companion of a star (GJ 570 D, Gl 229B, eps Indi B, or a
'Child' link of its companions column) joins that star's system when the
star lies within the stated separation, else within COMPANION_MAX_AU
projected; position alone never makes a companion. A row whose companions
column names its parts ('Parent': Luhman 16 and its A and B) is the system
of those parts, which take its astrometry and, in order, the parts of its
composite type (L7.5+T0.5).

The archive's own faults are mended and reported:
  - a parallax from Hipparcos (HIPPARCOS_REFERENCES) cannot be an L, T or Y
    dwarf's, which Hipparcos could not see: it is its primary's, and is left
    out (GJ 570 D, GJ 229 B, eps Ind B); a companion without a parallax of
    its own takes its primary's distance;
  - a parallax with no reference ('Missing') is left out;
  - an adopted parallax that lies more than PARALLAX_AGREEMENT from the
    median of two or more others gives way to the most precise of them
    (2MASS J1750-0016: 45.16 mas adopted, 110.59 and 108.27 measured);
  - a radial velocity equal to the primary's (within SAME_RV_KM_S) is the
    primary's and is left out.
The schema holds no infrared magnitudes, so none is written.
"""
import math
import re
import statistics

from .csvfile import open_list
from .designations import (CONSTELLATION_GENITIVE, GREEK, GREEK_BY_NAME, gliese_key,
                           gliese_prefix)
from .model import Record, Star
from .names import add_name
from .nearest import describe, find_by_position
from .plausibility import spectral_type_number
from .units import BadValue, angular_separation_arcsec, number

SOURCE = 'SIMPLE'
REQUIRED_COLUMNS = ('source', 'other_names', 'ra_deg', 'dec_deg', 'plx_all', 'pmra_masyr',
                    'pmdec_masyr', 'rv_kms', 'spt', 'companions')
# Objects of the list get catalogue ids from here on: this plus their line.
FIRST_BROWN_DWARF_ID = 2000000
MAS_PER_ARCSEC = 1000.0
# References of parallaxes measured by Hipparcos (van Leeuwen 2007, ESA 1997).
HIPPARCOS_REFERENCES = ('vanL07', 'ESA97', 'Perr97')
NO_REFERENCE = 'Missing'
# How far (a fraction) an adopted parallax may lie from the median of the
# others, when there are at least MEASUREMENTS_TO_OVERRULE of them.
PARALLAX_AGREEMENT = 0.20
MEASUREMENTS_TO_OVERRULE = 2
# A companion found by name: how far from its primary it may be (stated
# separation times COMPANION_SLACK plus COMPANION_SLACK_ARCSEC, else this
# projected distance in AU, which is arcseconds times parsecs).
COMPANION_SLACK = 1.5
COMPANION_SLACK_ARCSEC = 30.0
COMPANION_MAX_AU = 10000.0
SAME_RV_KM_S = 0.1
# The earliest spectral type (M7, as type number) a star already in the
# census may have to be the same object as a row of this list.
EARLIEST_SAME_OBJECT_TYPE = 67
# Surveys whose designations are also written short (WISE J0855-0714), and the
# name each is written with.
SHORT_SURVEYS = {'WISE': 'WISE', 'WISEA': 'WISE', 'WISEP': 'WISE', 'WISEPA': 'WISE',
                 'WISEPC': 'WISE', 'UGPS': 'UGPS', 'DENIS': 'DENIS', 'DENIS-P': 'DENIS',
                 '2MASS': '2MASS', '2MASSI': '2MASS', '2MASSW': '2MASS', 'SDSS': 'SDSS',
                 'ULAS': 'ULAS', 'CFBDS': 'CFBDS', 'SIMP': 'SIMP'}
LONG_DESIGNATION = re.compile(r'^([0-9A-Z-]+) J(\d{4})[\d.]*([+-]\d{4})[\d.]*$')
SHORT_DESIGNATION = re.compile(r'^([0-9A-Z-]+) J(\d{4})([+-]\d{4})$')
GREEK_ABBREVIATIONS = {k.lower(): k for k in GREEK}
# A name of the first part of a pair ('eps Indi Ba'): the row is the pair.
UNRESOLVED_PART = re.compile(r'[0-9a-z\s][A-D]a$')
CONSTELLATION_BY_GENITIVE = {v: k for k, v in CONSTELLATION_GENITIVE.items()}


class Dwarf(Record):
    """One row: ra hours, dec degrees, parallax and its error in mas,
    proper motion mas/yr (RA times cos Dec), rv km/s."""
    __slots__ = ('line', 'source', 'names', 'ra', 'dec', 'plx', 'plx_error', 'pm_ra', 'pm_dec',
                 'rv', 'spect', 'links', 'parent', 'dist')


def read_brown_dwarfs(path, report):
    """The rows of the list as Dwarfs (rows that cannot be read are rejected);
    None when the header is not the list's."""
    table = open_list(path, REQUIRED_COLUMNS, 'a flattened SIMPLE list', report)
    if table is None:
        return None
    dwarfs = []
    for line, row in table.rows():
        if not row or all(not c.strip() for c in row):
            continue
        try:
            dwarfs.append(read_row(table, row, line, path, report))
        except BadValue as e:
            report.reject(path, line, str(e))
    return dwarfs


def read_row(table, row, line, path, report):
    """The Dwarf of one row, its parallax chosen; BadValue for a value that
    cannot be read."""
    def field(name):
        return table.field(row, name)

    d = Dwarf()
    d.line, d.source = line, field('source')
    d.names = [n.strip() for n in field('other_names').split(';') if n.strip()]
    ra, d.dec = number(field('ra_deg'), 'ra_deg'), number(field('dec_deg'), 'dec_deg')
    if ra is None or d.dec is None or not (0.0 <= ra < 360.0) or not (-90.0 <= d.dec <= 90.0):
        raise BadValue("no usable right ascension or declination")
    d.ra = ra / 15.0
    d.pm_ra, d.pm_dec = number(field('pmra_masyr'), 'pmra_masyr'), number(field('pmdec_masyr'),
                                                                          'pmdec_masyr')
    if d.pm_ra is None or d.pm_dec is None:
        d.pm_ra = d.pm_dec = None
    d.rv = number(field('rv_kms'), 'rv_kms')
    # '>=Y4' is a lower limit: kept as an uncertain type.
    spt = field('spt')
    d.spect = (spt[1:] + ':' if spt.startswith('\u2265') else spt) or None
    d.links = [c.split('|') + ['', '', ''] for c in field('companions').split(';') if c.strip()]
    d.plx, d.plx_error = choose_parallax(d, field('plx_all'), path, report)
    d.dist = MAS_PER_ARCSEC / d.plx if d.plx else None
    return d


def choose_parallax(d, plx_all, path, report):
    """(parallax, error) in mas of a row, or (None, None): every measured
    value but those from Hipparcos or without a reference; the adopted one
    unless it disagrees with the others. Each value left out is reported."""
    measured = []
    for entry in plx_all.split(';'):
        parts = entry.split('|') + ['', '', '', '']
        value, error = number(parts[0], 'plx_all'), number(parts[1], 'plx_all')
        if value is None or value <= 0:
            continue
        reference, adopted = parts[2], parts[3] == 'True'
        if reference in HIPPARCOS_REFERENCES:
            report.override(path, d.line, f"{d.source}: parallax {value:g} mas ({reference}) left "
                            "out: Hipparcos could not see an L, T or Y dwarf, it is the primary's")
            continue
        if reference == NO_REFERENCE:
            report.override(path, d.line, f"{d.source}: parallax {value:g} mas left out: "
                            "it has no reference")
            continue
        measured.append((value, error, reference, adopted))
    if not measured:
        return None, None
    chosen = next((m for m in measured if m[3]), None)
    others = [m for m in measured if m is not chosen]
    if chosen is not None and len(others) >= MEASUREMENTS_TO_OVERRULE:
        median = statistics.median(m[0] for m in others)
        if abs(chosen[0] - median) > PARALLAX_AGREEMENT * median:
            best = min(others, key=lambda m: m[1] if m[1] is not None else math.inf)
            report.override(path, d.line, f"{d.source}: adopted parallax {chosen[0]:g} mas "
                            f"({chosen[2]}) lies {100 * abs(chosen[0] - median) / median:.0f} % "
                            f"from the others' median {median:g}; {best[0]:g} mas ({best[2]}) used")
            chosen = best
    if chosen is None:
        chosen = min(measured, key=lambda m: m[1] if m[1] is not None else math.inf)
    return chosen[0], chosen[1]


# ---------------------------------------------------------------- names

def common_names(d):
    """The names a row is known by, the usual ones first: SIMBAD's common
    names ('NAME Luhman 16'), short designations (DENIS J0255-4700, from the
    list or written from a long one), then the archive's own name."""
    names = [n[5:].strip() for n in d.names if n.startswith('NAME ')]
    designations = [d.source] + d.names
    for text in designations:
        short = short_designation(text)
        if short and short not in names:
            names.append(short)
    if d.source not in names:
        names.append(d.source)
    return names


def short_designation(text):
    """'WISE J0855-0714' for 'WISEA J085510.74-071442.5' or 'DENIS-P J0255-4700';
    None for a name that is no survey designation of SHORT_SURVEYS."""
    m = LONG_DESIGNATION.match(text) or SHORT_DESIGNATION.match(text)
    if not m or m.group(1) not in SHORT_SURVEYS:
        return None
    return f"{SHORT_SURVEYS[m.group(1)]} J{m.group(2)}{m.group(3)}"


def gaia_number(d):
    """The row's Gaia DR3 (EDR3) source number, or None."""
    # A DR2 number is not always the same source's DR3 number: only DR3's are kept.
    for release in ('Gaia DR3 ', 'Gaia EDR3 '):
        for n in d.names:
            if n.startswith(release) and n[len(release):].strip().isdigit():
                return n[len(release):].strip()
    return None


def named_star(text, stars, index):
    """(star, component letter) that a designation names: a Gliese, HD or HIP
    number or a Bayer designation with an optional letter ('GJ 570 D',
    'HD  42581B', 'epsilon IndiB', 'eps Indi A'); (None, letter) when the
    star is not in the census, None when text is no such designation."""
    text = re.sub(r'\s+', ' ', text.strip())
    m = re.match(r'^(?:GJ|Gl|GL|Gliese) ?(\d+(?:\.\d+)?) ?([A-Da-d]?)$', text)
    if m:
        stem = m.group(1)
        star = index.gliese(f"GJ {stem}A") or index.gliese(f"GJ {stem}", allow_a=False)
        return star, m.group(2).upper() or None
    m = re.match(r'^(HD|HIP) ?(\d+) ?([A-D]?)$', text)
    if m:
        table = index.by_hd if m.group(1) == 'HD' else index.by_hip
        return table.get(m.group(2)), m.group(3) or None
    m = re.match(r'^([a-z]+)\.? ([A-Z][a-z]+) ?([A-D]?)[ab]?$', text)
    if m:
        greek = GREEK_BY_NAME.get(m.group(1)) or GREEK_ABBREVIATIONS.get(m.group(1))
        con = m.group(2) if m.group(2) in CONSTELLATION_GENITIVE else \
            CONSTELLATION_BY_GENITIVE.get(m.group(2))
        if greek and con:
            holders = sorted((s for s in stars.values() if s.con == con and s.bayer
                              and s.bayer.split('-')[0] == greek), key=lambda s: s.hyg_id)
            return (holders[0] if holders else None), m.group(3) or None
    return None


def own_letter(d, stars, index):
    """The row's component letter from its own designations ('GJ 570 D': D)."""
    for text in [d.source] + d.names:
        named = named_star(text, stars, index)
        if named and named[1] and named[1] != 'A':
            return named[1]
    return None


def named_primary(d, stars, index):
    """(primary, stated separation in arcsec or None, the text that named it)
    of a row that names itself a companion, or (None, None, None)."""
    for name, relationship, separation, *_ in d.links:
        if relationship == 'Child':
            named = named_star(name, stars, index)
            if named and named[0] is not None:
                return named[0], number(separation, 'companions'), name
    for text in [d.source] + d.names:
        named = named_star(text, stars, index)
        if named and named[0] is not None and named[1] and named[1] != 'A':
            return named[0], None, text
    return None, None, None


# ---------------------------------------------------------------- merging

def merge_brown_dwarfs(dwarfs, stars, index, grid, union, reach, path, date, report):
    """Adds the rows to stars (as stars of their own, parts of a system, or
    companions of a star of the census), joining systems in union; rows
    beyond reach (parsecs, when not 0) are left out. Every decision that is
    not plain is reported."""
    by_source = {d.source: d for d in dwarfs}
    parts_of = {}
    for d in dwarfs:
        parts = [by_source[n] for n, rel, *_ in d.links if rel == 'Parent' and n in by_source]
        if parts:
            parts_of[d.source] = parts
            for p in parts:
                p.parent = d
    # The position match passes over (as if taken) every star of an earlier type.
    earlier_types = {s.hyg_id for s in stars.values() if not may_be_same_object(s)}
    for d in dwarfs:
        if d.parent is not None:
            continue
        primary, separation, naming = named_primary(d, stars, index)
        if primary is not None and not near_enough(d, primary, separation, path, naming, report):
            primary = None
        if primary is None:
            same = find_by_position(d, grid, earlier_types) if d.plx else None
            if same is not None:
                confirm(d, same, path, date, report)
            elif own_system_allowed(d, reach, path, report):
                add_members(d, parts_of.get(d.source) or [d], None, None, stars, index, union,
                            path, date, report)
            continue
        add_members(d, parts_of.get(d.source) or [d], primary, naming, stars, index, union, path,
                    date, report)


def own_system_allowed(d, reach, path, report):
    """Whether a row that is no companion may be a system of its own: it has a
    parallax, and lies within reach (parsecs, when not 0). Rejected otherwise."""
    if not d.plx:
        report.reject(path, d.line, f"{d.source}: no parallax of its own and no primary "
                      "found by name")
        return False
    dist = MAS_PER_ARCSEC / d.plx
    if reach and dist > reach:
        report.reject(path, d.line, f"{d.source} at {dist:.2f} pc lies beyond the "
                      f"census ({reach:g} pc)")
        return False
    return True


def add_members(d, members, primary, naming, stars, index, union, path, date, report):
    """Adds the stars of row d (itself, or its parts), as companions of
    primary when it is not None, joined into one system in union."""
    unresolved = [n for n in d.names if UNRESOLVED_PART.search(n)]
    if len(members) == 1 and unresolved:
        report.warn(path, d.line, f"{d.source}: one row for a pair the archive does not resolve "
                    f"('{unresolved[0]}' names its first part): one component")
    first = None
    for k, part in enumerate(members):
        star = add_star(part, d, k, stars, index, path, date, report)
        if star is None:
            continue
        if primary is not None:
            join_primary(part, star, primary, naming, path, report)
            union.union(primary.hyg_id, star.hyg_id)
        if first is None:
            first = star
        union.union(first.hyg_id, star.hyg_id)
        index.add(star)
    if len(members) > 1:
        report.count('brown-dwarf systems resolved into their parts')


def may_be_same_object(star):
    """Whether a star of the census may be the object of a row: it has no
    spectral type, or an M7 or later one."""
    if not star.spect or star.spect[0] in 'LTY':
        return True
    t = spectral_type_number(star.spect)
    return t is not None and t >= EARLIEST_SAME_OBJECT_TYPE


def near_enough(d, primary, separation, path, naming, report):
    """Whether a row named as primary's companion lies close enough to it."""
    sep = angular_separation_arcsec(d.ra * 15.0, d.dec, primary.ra * 15.0, primary.dec)
    if separation:
        limit = separation * COMPANION_SLACK + COMPANION_SLACK_ARCSEC
    else:
        limit = COMPANION_MAX_AU / primary.dist if primary.dist else 0.0
    if sep <= limit:
        return True
    report.conflict(path, d.line, f"{d.source}: named a companion of {describe(primary)} "
                    f"('{naming}') but {sep:.0f}\" from it, beyond {limit:.0f}\"; not joined")
    return False


def confirm(d, star, path, date, report):
    """A star of the census that is the row's object: the row confirms it and
    gives the type it lacks."""
    star.brown_dwarf = d.line
    changed = ''
    if not star.spect and d.spect:
        star.spect, star.sources['spect'] = d.spect, SOURCE
        changed = f"; spectrum {d.spect}"
    report.override(path, d.line, f"{d.source} is {describe(star)} of the census, which keeps "
                    f"its values{changed}")
    for name in common_names(d):
        add_name(star, name)
    report.count('brown dwarfs already in the census')


def add_star(part, whole, k, stars, index, path, date, report):
    """The Star of a row (part of whole, the k-th, or whole itself), or None
    when its id cannot be used."""
    hyg_id = FIRST_BROWN_DWARF_ID + part.line
    if hyg_id in stars:
        report.reject(path, part.line, f"id {hyg_id} for a brown dwarf is taken")
        return None
    s = Star()
    s.hyg_id, s.line, s.brown_dwarf, s.date = hyg_id, part.line, part.line, date
    s.comp, s.comp_primary = k + 1, hyg_id
    s.ra, s.dec = whole.ra, whole.dec
    if part is not whole and part.ra is not None:
        s.ra, s.dec = part.ra, part.dec
    s.pm_ra, s.pm_dec, s.rv = whole.pm_ra, whole.pm_dec, whole.rv
    plx, plx_error = (part.plx, part.plx_error) if part.plx else (whole.plx, whole.plx_error)
    if plx:
        s.dist = MAS_PER_ARCSEC / plx
        s.dist_error = plx_error / plx if plx_error else None
    s.spect = part.spect or whole.spect
    if part is not whole:
        parts = re.split(r'\s*\+\s*', whole.spect or '')
        s.spect = part.spect or (parts[k] if k < len(parts) else None)
    s.letter = own_letter(part, stars, index) if part is whole else part_letter(part, k)
    names = common_names(part) if part is whole else \
        [f"{n} {s.letter}" for n in common_names(whole)[:1]] + [part.source]
    # Designations (Gl 229B, eps Indi B) are catalogue numbers, not names.
    for name in names:
        if named_star(name, {}, index) is None:
            add_name(s, name)
    gaia = gaia_number(part)
    if gaia:
        s.more_numbers.append(('Gaia', gaia))
    for text in [part.source] + part.names:
        if re.match(r'^(?:GJ|Gl|GL|Gliese) ?\d', text) and gliese_key(text):
            key = gliese_key(text.replace('Gliese', 'GJ'))
            s.gl = f"{gliese_prefix(key)} {key}"
            break
    s.sources = {'dist': SOURCE, 'pm': SOURCE, 'rv': SOURCE, 'spect': SOURCE}
    stars[hyg_id] = s
    report.count('brown dwarfs added')
    return s


def part_letter(part, k):
    """A part's letter: the last letter of its name (WISE J1049-5319A), else
    A, B, ... in order."""
    m = re.search(r'[\d\s]([A-D])$', part.source)
    return m.group(1) if m else chr(ord('A') + k)


def join_primary(d, star, primary, naming, path, report):
    """Makes star a companion of primary: the primary's distance where the
    row has no parallax of its own, and no radial velocity that is the
    primary's."""
    star.comp = 2
    what = [f"companion of {describe(primary)} by its name '{naming}'"]
    if star.dist is None and primary.dist is not None:
        star.dist, star.dist_error = primary.dist, None
        star.sources['dist'] = primary.source('dist', 'HYG')
        what.append(f"takes its distance {primary.dist:g} pc (no parallax of its own)")
    if star.rv is not None and primary.rv is not None and abs(star.rv - primary.rv) <= SAME_RV_KM_S:
        what.append(f"radial velocity {star.rv:g} km/s left out (the primary's)")
        star.rv = None
    report.override(path, d.line, f"{d.source}: " + '; '.join(what))
    report.count('brown dwarfs joined to their primaries')
