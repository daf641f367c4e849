"""The HYG star catalogue (v3 or v4 columns): the stars, their catalogue
numbers, names, positions, motions, photometry and spectra."""
import re

from .csvfile import CsvTable
from .ids import fits_system_id
from .model import Star
from .units import MAS_PER_RADIAN, BadValue, number

REQUIRED_COLUMNS = ('id', 'ra', 'dec', 'dist')
# HYG writes 100000 parsecs and more for an unknown distance.
UNKNOWN_DISTANCE_PC = 100000


def read_hyg(path, report):
    """Reads an HYG CSV into Stars keyed by HYG id; rows that cannot be used are
    rejected in the report. Returns None when the file is empty or its header
    lacks a required column."""
    table = CsvTable(path)
    if table.header is None:
        report.refuse(f"{path}:1", "the file is empty")
        return None
    missing = table.missing(REQUIRED_COLUMNS)
    if missing:
        report.refuse(f"{path}:1", f"not an HYG catalogue: no column {', '.join(missing)}")
        return None
    stars = {}
    for line, row in table.rows():
        if not row or all(not c.strip() for c in row):
            continue
        if len(row) != len(table.header):
            report.reject(path, line, f"{len(row)} fields where the header has {len(table.header)}")
            continue
        try:
            star = read_star(table, row, line, stars)
        except BadValue as e:
            report.reject(path, line, str(e))
            continue
        stars[star.hyg_id] = star
    return stars


def read_star(table, row, line, stars):
    """The Star of one row; BadValue when a number cannot be read."""
    def field(name):
        return table.field(row, name)

    raw_id = field('id')
    if not re.fullmatch(r'\d+', raw_id):
        raise BadValue(f"column id: '{raw_id}' is not a whole number")
    hyg_id = int(raw_id)
    if not fits_system_id(hyg_id):
        raise BadValue(f"column id: {hyg_id} is too large for a system ID")
    if hyg_id in stars:
        raise BadValue(f"id {hyg_id} already used on line {stars[hyg_id].line}")
    s = Star()
    s.hyg_id, s.line = hyg_id, line
    s.ra = number(field('ra'), 'ra')
    s.dec = number(field('dec'), 'dec')
    if s.ra is None or s.dec is None:
        raise BadValue("no right ascension or declination")
    if not (0.0 <= s.ra < 24.0 + 1e-9):
        raise BadValue(f"column ra: {s.ra} is not between 0 and 24 hours")
    if not (-90.0 <= s.dec <= 90.0):
        raise BadValue(f"column dec: {s.dec} is not between -90 and +90 degrees")
    s.dist = number(field('dist'), 'dist')
    if s.dist is not None and (s.dist < 0 or s.dist >= UNKNOWN_DISTANCE_PC):
        s.dist = None
    read_proper_motion(s, field)
    rv = number(field('rv'), 'rv')
    s.rv = rv if rv else None            # HYG writes 0.0 for an unknown velocity
    s.mag = number(field('mag'), 'mag')
    s.ci = number(field('ci'), 'ci')
    comp = number(field('comp'), 'comp')
    s.comp = int(comp) if comp is not None else 1
    cp = field('comp_primary')
    s.comp_primary = int(cp) if re.fullmatch(r'\d+', cp) else hyg_id
    s.var_min = number(field('var_min'), 'var_min')
    s.var_max = number(field('var_max'), 'var_max')
    s.hip = field('hip') or None
    s.hd = field('hd') or None
    s.hr = field('hr') or None
    s.gl = re.sub(r'\s+', ' ', field('gl')) or None
    s.proper = field('proper') or None
    s.spect = field('spect') or None
    s.base = re.sub(r'\s+', ' ', field('base')) or None
    s.var = field('var') or None
    s.con = field('con') or None
    s.bayer = field('bayer') or None
    s.flam = field('flam') or None
    if 'bayer' not in table.columns and field('bf'):
        read_combined_bayer_flamsteed(s, field('bf'))
    if s.proper:
        s.names.append(s.proper)
    return s


def read_proper_motion(s, field):
    """Sets pm_ra and pm_dec (mas/yr) unless both are zero or missing."""
    pm_ra = number(field('pmra'), 'pmra')
    pm_dec = number(field('pmdec'), 'pmdec')
    # The radian columns are more precise than the mas columns, whose
    # format cuts large motions (Barnard's Star's 10.3"/yr Dec motion
    # is written as 9999.99 mas/yr); both include cos(Dec) in RA.
    pm_ra_rad = number(field('pmrarad'), 'pmrarad')
    pm_dec_rad = number(field('pmdecrad'), 'pmdecrad')
    if pm_ra_rad is not None and pm_dec_rad is not None and (pm_ra_rad or pm_dec_rad):
        pm_ra, pm_dec = pm_ra_rad * MAS_PER_RADIAN, pm_dec_rad * MAS_PER_RADIAN
    if pm_ra is not None and pm_dec is not None and (pm_ra or pm_dec):
        s.pm_ra, s.pm_dec = pm_ra, pm_dec


def read_combined_bayer_flamsteed(s, bf):
    """Older HYG files have only the combined Bayer/Flamsteed field 'bf'."""
    m = re.match(r'^(\d*)\s*([A-Z][a-z]{1,2})?(\d?)\s*([A-Z][A-Za-z]{1,2})$', bf)
    if m:
        s.flam = m.group(1) or None
        s.bayer = (m.group(2) + ('-' + m.group(3) if m.group(3) else '')) if m.group(2) else None
        s.con = s.con or m.group(4)
