"""A modern nearby-star list in the Southern Stars layout (Nearest.csv: the
10-parsec sample of the Gaia era): the authoritative source for the stars it
holds.

Each row is cross-matched with the star catalogue by HIP, Gliese or HD number
(one that no other row shares), else by position (allowing for proper
motion). A matched star takes the list's distance, position, proper motion,
radial velocity, spectrum, magnitudes and identifiers where the list gives
them, and each such override is reported; a difference beyond DISTANCE_TOLERANCE
or POSITION_TOLERANCE_ARCSEC is reported as a conflict. A row that matches no
star becomes a star of its own. Rows that share an identifier or a name
(without component letters), and rows without either that sit next to the
row before, are one system; the component letters and the orbits of the list
are kept.
"""
import math
import re

from .csvfile import open_list
from .designations import (gliese_key, gliese_prefix, gliese_stem, listed_bayer,
                           listed_flamsteed, listed_variable, split_gliese)
from .grouping import listed_order
from .ids import fits_system_id
from .model import Orbit, Record, Star
from .names import add_name
from .spectra import parse_spectrum
from .units import BadValue, angular_separation_arcsec, number
from .variables import identifiers, variable_type_code

SOURCE = 'SS10pc'
REQUIRED_COLUMNS = ('RA', 'Dec', 'pmRA', 'pmDec', 'V', 'B', 'Dist', 'RV', 'Spec', 'Comp',
                    'IDs', 'Names')
# Stars the star catalogue lacks get catalogue ids from here on: this plus
# their line in the list, so a list loaded again gives the same IDs.
FIRST_ADDED_ID = 1000000
# Differences between the two catalogues worth reporting.
DISTANCE_TOLERANCE = 0.05           # fraction of the list's distance
POSITION_TOLERANCE_ARCSEC = 10.0
# Position matching: allowed separation, arcseconds plus the proper motion
# (arcsec/yr) of this many years, and the fraction the distances may differ.
MATCH_ARCSEC = 10.0
MATCH_MOTION_YEARS = 16.0
MATCH_DISTANCE = 0.25
# A row with neither identifiers nor names belongs to the row before when
# this close (arcseconds) and at the same distance (fraction).
COMPANION_ARCSEC = 300.0
COMPANION_DISTANCE = 0.05
ARCSEC_PER_SECOND_OF_TIME = 15.0
# Luminosity classes of the star catalogue that say more than the list's
# plain V, and are kept over it.
MORE_SPECIFIC_THAN_DWARF = ('IV', 'IV-V', 'IV/V', 'V-IV')


class ListedStar(Record):
    """One row of the list: ra hours, dec degrees, dist parsecs, proper motion
    mas/yr (RA times cos Dec), rv km/s; ids and names as listed."""
    __slots__ = ('line', 'ids', 'names', 'ra', 'dec', 'pm_ra', 'pm_dec', 'mag', 'ci', 'dist',
                 'rv', 'spect', 'comp', 'orbit', 'variability', 'star')


def sexagesimal(text, column):
    """'14 29 42.95' or '-62 40 46.2' as a number of hours or degrees."""
    text = (text or '').strip()
    if not text:
        return None
    parts = text.split()
    try:
        values = [abs(float(p)) for p in parts]
    except ValueError:
        raise BadValue(f"column {column}: '{text}' is not a sexagesimal value")
    if len(values) > 3 or any(math.isnan(v) or math.isinf(v) for v in values):
        raise BadValue(f"column {column}: '{text}' is not a sexagesimal value")
    value = sum(v / 60 ** k for k, v in enumerate(values))
    return -value if text.startswith('-') else value


def read_nearest(path, date, report):
    """The rows of the list as ListedStars; rows that cannot be read are
    rejected in the report. None when the header is not the list's."""
    table = open_list(path, REQUIRED_COLUMNS, 'a Southern Stars star list', report)
    if table is None:
        return None
    listed = []
    seen = {}
    for line, row in table.rows():
        if not row or all(not c.strip() for c in row):
            continue
        # A row repeated whole is one star listed twice (Wolf 630 B).
        key = tuple(c.strip() for c in row)
        if key in seen:
            report.reject(path, line, f"the same row as line {seen[key]}: one star, listed twice")
            continue
        seen[key] = line
        try:
            listed.append(read_row(table, row, line, date))
        except BadValue as e:
            report.reject(path, line, str(e))
    return listed


def read_row(table, row, line, date):
    """The ListedStar of one row; BadValue when a value cannot be read."""
    def field(name):
        return table.field(row, name)

    r = ListedStar()
    r.line = line
    r.ids = [i for i in identifiers(field('IDs')) if i]
    r.names = [n for n in identifiers(field('Names')) if n]
    r.ra, r.dec = sexagesimal(field('RA'), 'RA'), sexagesimal(field('Dec'), 'Dec')
    if r.ra is None or r.dec is None:
        raise BadValue("no right ascension or declination")
    if not (0.0 <= r.ra < 24.0) or not (-90.0 <= r.dec <= 90.0):
        raise BadValue("right ascension or declination out of range")
    pm_ra_seconds, pm_dec = number(field('pmRA'), 'pmRA'), number(field('pmDec'), 'pmDec')
    if pm_ra_seconds is not None and pm_dec is not None:
        # RA motion in seconds of time a year, Dec motion in arcseconds a year.
        r.pm_ra = pm_ra_seconds * ARCSEC_PER_SECOND_OF_TIME * 1000.0 * math.cos(math.radians(r.dec))
        r.pm_dec = pm_dec * 1000.0
    r.mag, blue = number(field('V'), 'V'), number(field('B'), 'B')
    if r.mag is not None and blue is not None:
        r.ci = round(blue - r.mag, 3)
    r.dist = number(field('Dist'), 'Dist')
    if r.dist is not None and r.dist <= 0:
        raise BadValue(f"column Dist: {r.dist} is not a distance")
    r.rv = number(field('RV'), 'RV')
    r.spect = field('Spec') or None
    r.comp = field('Comp') or None
    r.orbit = listed_orbit(field, line, date)
    vtype = field('Vtype')
    if vtype:
        r.variability = (variable_type_code(vtype), number(field('Vmin'), 'Vmin'),
                         number(field('Vper'), 'Vper'), date)
    return r


def listed_orbit(field, line, date):
    """The orbit of a row's pair (period in years, axis in arcseconds), or None."""
    period, axis = number(field('P'), 'P'), number(field('a'), 'a')
    if period is None and axis is None:
        return None
    o = Orbit()
    o.line, o.date, o.source, o.rank = line, date, SOURCE, 1
    o.period, o.axis = period, axis
    o.is_au = 0 if axis is not None else None
    o.eccentricity = number(field('e'), 'e')
    o.inclination = number(field('i'), 'i')
    o.node = number(field('n'), 'n')
    o.epoch = number(field('T'), 'T')
    return o


# ---------------------------------------------------------------- matching

def shared_identifiers(listed):
    """The identifiers that more than one row carries (a system's, not a star's)."""
    seen, shared = set(), set()
    for r in listed:
        for i in set(r.ids):
            (shared if i in seen else seen).add(i)
    return shared


def find_by_identifier(r, index, shared, taken):
    """The catalogue star of row r by an identifier only it carries."""
    for ident in r.ids:
        if ident in shared:
            continue
        star = None
        m = re.match(r'^(HIP|HD|HR) (\d+)$', ident)
        if m:
            star = index.designation(ident)
        elif re.match(r'^GJ \S', ident):
            star = index.gliese(ident, allow_a=False)
        if star is not None and star.hyg_id not in taken:
            return star
    return None


def find_by_position(r, grid, taken):
    """The nearest catalogue star within the matching distance of row r."""
    best, best_sep = None, None
    motion = math.hypot(r.pm_ra or 0.0, r.pm_dec or 0.0) / 1000.0
    reach = MATCH_ARCSEC + motion * MATCH_MOTION_YEARS
    for then, _now, s in grid.near(r.ra * 15.0, r.dec):
        if s.hyg_id in taken:
            continue
        sep = angular_separation_arcsec(r.ra * 15.0, r.dec, *then)
        if sep > reach:
            continue
        if r.dist and s.dist and abs(s.dist - r.dist) > MATCH_DISTANCE * r.dist:
            continue
        if best_sep is None or sep < best_sep:
            best, best_sep = s, sep
    return best


def describe(star):
    """A short name of a catalogue star for the report."""
    for label, value in (('HIP', star.hip), ('', star.gl), ('HD', star.hd)):
        if value:
            return f"{label} {value}".strip()
    if star.names:
        return star.names[0]
    if star.more_numbers:
        return ' '.join(star.more_numbers[0])
    return f"id {star.hyg_id}"


def merge_nearest(listed, stars, index, grid, union, path, date, report):
    """Merges the list into the star catalogue: overrides matched stars, adds
    the others, groups the rows into systems (in union) and returns the list's
    orbits, with hyg ids as members. date is the list's release date."""
    shared = shared_identifiers(listed)
    taken = set()
    matches = {}
    # Identifiers first, so that a row matched by position never takes a
    # star that a later row names.
    for r in listed:
        star = find_by_identifier(r, index, shared, taken)
        if star is not None:
            taken.add(star.hyg_id)
            matches[r.line] = (star, 'identifier')
    for r in listed:
        if r.line not in matches:
            star = find_by_position(r, grid, taken)
            if star is not None:
                taken.add(star.hyg_id)
                matches[r.line] = (star, 'position')
    for r in listed:
        if r.line in matches:
            star, how = matches[r.line]
            report_conflicts(r, star, how, path, report)
            override(r, star, path, report)
            report.count('nearby-list stars matched')
        else:
            star = add_star(r, stars, path, report)
            if star is None:
                continue
            report.count('nearby-list stars added')
        r.star = star
        take_identifiers(r, star, shared)
        for name in usable_names(r.names):
            add_name(star, name)
        star.listed = r.line
        star.date = date
        star.letter = component_letter(r, star)
    leave_out_superseded(listed, stars, taken, path, report)
    for r in listed:
        if r.star is not None:
            index.add(r.star)
    group_rows(listed, union)
    give_primaries_system_designations(listed, union, shared)
    return list_orbits(listed, union, path, report)


def leave_out_superseded(listed, stars, taken, path, report):
    """Leaves out the catalogue stars that no row matched though the list
    names them (by a HIP or Gliese number that rows share): the list holds
    the star, elsewhere or at another distance."""
    named = {}
    for r in listed:
        for ident in r.ids:
            if ident.startswith('HIP '):
                named.setdefault(('HIP', ident[4:].strip()), r.line)
            elif ident.startswith('GJ '):
                named.setdefault(('GJ', gliese_key(ident)), r.line)
    for hyg_id in [i for i, s in stars.items() if i not in taken and not s.listed]:
        s = stars[hyg_id]
        line = named.get(('HIP', s.hip)) or named.get(('GJ', gliese_key(s.gl)))
        if line is not None:
            report.override(path, line, f"{describe(s)} left out: this list holds it, though "
                            "not where the star catalogue puts it")
            report.count('nearby-list superseded stars')
            del stars[hyg_id]


def report_conflicts(r, star, how, path, report):
    """Reports distances and positions that differ beyond the tolerances."""
    if r.dist and star.dist and abs(star.dist - r.dist) > DISTANCE_TOLERANCE * r.dist:
        report.conflict(path, r.line, f"{describe(star)} (matched by {how}): distance "
                        f"{r.dist:g} pc here, {star.dist:g} pc in the star catalogue "
                        f"({100 * (star.dist - r.dist) / r.dist:+.1f} %)")
    sep = angular_separation_arcsec(r.ra * 15.0, r.dec, star.ra * 15.0, star.dec)
    if sep > POSITION_TOLERANCE_ARCSEC:
        report.conflict(path, r.line, f"{describe(star)} (matched by {how}): position "
                        f"{sep:.1f}\" from the star catalogue's")


def override(r, star, path, report):
    """Takes the row's values over the star's, reporting what changed."""
    changed = []
    if r.dist is not None and r.dist != star.dist:
        changed.append(f"distance {star.dist:g} -> {r.dist:g} pc")
        star.dist = r.dist
        star.sources['dist'] = SOURCE
    if (r.ra, r.dec) != (star.ra, star.dec):
        changed.append('position')
        star.ra, star.dec = r.ra, r.dec
    if r.pm_ra is not None:
        changed.append('proper motion')
        star.pm_ra, star.pm_dec = r.pm_ra, r.pm_dec
        star.sources['pm'] = SOURCE
    if r.rv is not None and r.rv != star.rv:
        changed.append('radial velocity')
        star.rv = r.rv
        star.sources['rv'] = SOURCE
    if r.spect and r.spect != star.spect:
        spect = more_specific_luminosity(r.spect, star.spect)
        if spect != r.spect:
            report.conflict(path, r.line, f"{describe(star)}: spectrum {r.spect} here, "
                            f"{star.spect} in the star catalogue; its luminosity class, the more "
                            f"specific, is kept: {spect}")
        changed.append(f"spectrum {star.spect or '-'} -> {spect}")
        star.spect = spect
        star.sources['spect'] = SOURCE
    if r.mag is not None:
        if r.mag != star.mag:
            changed.append(f"V {star.mag} -> {r.mag}")
        star.catalogue_photometry = (star.mag, star.ci)
        star.mag, star.ci = r.mag, r.ci if r.ci is not None else star.ci
        star.sources['mag'] = SOURCE
    if changed:
        report.override(path, r.line, f"{describe(star)}: " + ', '.join(changed))


def more_specific_luminosity(listed, catalogued):
    """The list's spectral type, or, where the list says a plain dwarf (V) and
    the star catalogue a subgiant or a class between (IV, IV-V), the list's
    spectral class with the catalogue's luminosity class: beta Hyi stays G2
    IV, Procyon F5 IV-V."""
    listed_class, listed_lum = parse_spectrum(listed)
    catalogued_class, catalogued_lum = parse_spectrum(catalogued)
    if listed_lum and listed_lum.rstrip('e') == 'V' and catalogued_lum \
            and catalogued_lum.rstrip('e:') in MORE_SPECIFIC_THAN_DWARF and listed_class:
        return f"{listed_class} {catalogued_lum.rstrip('e')}{'e' if listed_lum.endswith('e') else ''}"
    return listed


def add_star(r, stars, path, report):
    """A new catalogue star from row r, or None when its id cannot be used."""
    hyg_id = FIRST_ADDED_ID + r.line
    if hyg_id in stars or not fits_system_id(hyg_id):
        report.reject(path, r.line, f"id {hyg_id} for a star the star catalogue lacks is taken")
        return None
    s = Star()
    s.hyg_id, s.line = hyg_id, r.line
    s.comp, s.comp_primary = 1, hyg_id
    s.ra, s.dec, s.dist = r.ra, r.dec, r.dist
    s.pm_ra, s.pm_dec, s.rv = r.pm_ra, r.pm_dec, r.rv
    s.mag, s.ci, s.spect = r.mag, r.ci, r.spect
    s.sources = {'dist': SOURCE, 'pm': SOURCE, 'rv': SOURCE, 'spect': SOURCE, 'mag': SOURCE}
    stars[hyg_id] = s
    return s


def take_identifiers(r, star, shared):
    """The row's own identifiers (those no other row carries) replace the
    star's; its variability and variable-star designation come from the list
    alone. A Gaia number is kept only for a star without a Gliese, HIP, HD or
    HR number."""
    for ident in r.ids:
        if ident in shared:
            continue
        m = re.match(r'^(HIP|HD|HR) (\d+)$', ident)
        if m:
            setattr(star, m.group(1).lower(), m.group(2))
            continue
        if re.match(r'^GJ \S', ident):
            if gliese_key(ident) != gliese_key(star.gl):
                number_text = ident[3:].strip()
                star.gl = f"{gliese_prefix(number_text)} {number_text}"
            continue
        if ident.startswith('L ') and star.luyten is None:
            star.luyten = ident[2:].strip()
        more = further_number(ident)
        if more and more not in star.more_numbers:
            star.more_numbers.append(more)
            continue
        bayer = listed_bayer(ident)
        if bayer:
            star.bayer, star.con = bayer
            continue
        flamsteed = listed_flamsteed(ident)
        if flamsteed:
            star.flam, star.con = flamsteed
    if star.gl or star.hip or star.hd or star.hr:
        star.more_numbers = [n for n in star.more_numbers if n[0] != 'Gaia']
    variables = [v for v in map(listed_variable, r.ids) if v]
    star.var = variables[0][0] if variables else None
    if variables:
        star.con = star.con or variables[0][1]
    if r.variability:
        star.variability = r.variability


# Further catalogues whose numbers the list gives: (prefix, abbreviation).
FURTHER_CATALOGUES = (('L ', 'L'), ('LP ', 'LP'), ('G ', 'G'), ('GAIA ', 'Gaia'))


def further_number(ident):
    """(abbreviation, value) of a Luyten, Giclas or Gaia number, else None."""
    for prefix, abbrev in FURTHER_CATALOGUES:
        if ident.startswith(prefix) and re.fullmatch(r'[0-9][0-9-]*', ident[len(prefix):].strip()):
            return abbrev, ident[len(prefix):].strip()
    return None


def usable_names(names):
    """The names of a row that are names: not an abbreviated designation
    ('alp Ps') and not a short form of another of its names ('Proxima Cen')."""
    kept = []
    for name in names:
        if re.fullmatch(r'[a-z]{3} [A-Z][a-z]', name):
            continue
        if any(other != name and other.startswith(name) for other in names):
            continue
        kept.append(name)
    return kept


def component_letter(r, star):
    """The star's component letter: that of its own Gliese designation, else
    the first of the list's pair letters, else that of a Gliese designation
    the row shares with others, else none."""
    def gliese_letter(designation):
        parts = split_gliese(designation)
        m = re.search(r'\d([A-Z])$', parts[1]) if parts else None
        return m.group(1) if m else None

    own = gliese_letter(star.gl) if star.gl else None
    if own:
        return own
    if r.comp and r.comp[0].isupper():
        return r.comp[0]
    for ident in r.ids:
        if ident.startswith('GJ ') and gliese_letter(ident):
            return gliese_letter(ident)
    return None


# ---------------------------------------------------------------- systems

def name_stem(name):
    """A name without a trailing component suffix: 'Kruger 60 B', 'mu Her Aa' ->
    'Kruger 60', 'mu Her'."""
    m = re.match(r'^(.*\S)\s+[A-E][a-e]?$', name)
    return m.group(1) if m else name


def group_rows(listed, union):
    """Joins rows that share an identifier, a Gliese number (GJ 867A, GJ 867C)
    or a name stem, and rows without either to the row before when they sit
    beside it."""
    owner = {}
    previous = None
    for r in listed:
        if r.star is None:
            continue
        keys = [('id', i) for i in r.ids] + [('name', name_stem(n)) for n in r.names]
        keys += [('gliese', gliese_stem(split_gliese(i)[1])[0]) for i in r.ids
                 if i.startswith('GJ ') and split_gliese(i)]
        for key in keys:
            if key in owner:
                union.union(owner[key], r.star.hyg_id)
            else:
                owner[key] = r.star.hyg_id
        if not keys and previous is not None and beside(r, previous):
            union.union(previous.star.hyg_id, r.star.hyg_id)
        previous = r


def give_primaries_system_designations(listed, union, shared):
    """A Bayer, Flamsteed or Gliese designation the rows of a system share
    ('xi UMa') is the system's: its primary (the first in component order) gets it
    when it has none of its own."""
    first = {}
    for r in listed:
        if r.star is None:
            continue
        root = union.find(r.star.hyg_id)
        if root not in first or listed_order(r.star) < listed_order(first[root].star):
            first[root] = r
    for r in first.values():
        star = r.star
        for ident in r.ids:
            if ident not in shared:
                continue
            bayer, flamsteed = listed_bayer(ident), listed_flamsteed(ident)
            if bayer and not star.bayer:
                star.bayer, star.con = bayer
            elif flamsteed and not star.flam:
                star.flam, star.con = flamsteed
            elif ident.startswith('GJ ') and not star.gl:
                number_text = ident[3:].strip()
                star.gl = f"{gliese_prefix(number_text)} {number_text}"


def beside(r, other):
    """Whether two rows are close on the sky and at the same distance."""
    sep = angular_separation_arcsec(r.ra * 15.0, r.dec, other.ra * 15.0, other.dec)
    same_distance = r.dist and other.dist and abs(r.dist - other.dist) <= COMPANION_DISTANCE * r.dist
    return sep <= COMPANION_ARCSEC and bool(same_distance)


def list_orbits(listed, union, path, report):
    """The list's orbits, one per pair of component letters in a system."""
    by_letter = {}
    for r in listed:
        if r.star is not None and r.star.letter:
            by_letter.setdefault((union.find(r.star.hyg_id), r.star.letter), r.star)
    orbits, seen = [], set()
    for r in listed:
        if r.star is None or r.orbit is None or not r.comp or len(r.comp) != 2:
            continue
        system = union.find(r.star.hyg_id)
        partner = by_letter.get((system, r.comp[1]))
        if partner is None or partner is r.star:
            report.warn(path, r.line, f"orbit {r.comp} skipped: no component {r.comp[1]} listed")
            continue
        pair = (system, ''.join(sorted(r.comp)))
        if pair in seen:
            continue
        seen.add(pair)
        first, second = sorted((r.star, partner), key=lambda s: s.letter)
        r.orbit.primary, r.orbit.secondary = first.hyg_id, second.hyg_id
        orbits.append(r.orbit)
    return orbits
