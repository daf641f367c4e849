#!/usr/bin/env python3
"""Builds a VLDR star-system database from published star catalogues.

    vldr_import.py OUT.db --hyg STARS.csv [--orb6 ORBITS.txt] [--planets PLANETS.csv]
                   [--iau-names NAMES.csv] [--names NAMES.csv] [--variables NEAREST.csv]

Inputs (only --hyg is required):
  --hyg        an HYG-format CSV (v3 or v4 columns; any number of rows)
  --orb6       the Sixth Catalog of Orbits of Visual Binary Stars, "orbital
               elements" text layout (two lines per orbit)
  --planets    the NASA Exoplanet Archive's Planetary Systems Composite table
               (CSV, '#' comment lines allowed); may be given more than once
  --iau-names  the IAU star-name list (CSV with "Proper Names", "Designation", "HIP")
  --names      common names as "name,GJ designation" lines, no header
  --variables  a Southern Stars format star list (Type,RA,Dec,...,Vtype,Vmin,
               Vmax,Vper,...,IDs,Names); only its variability is used

Each input has a --*-date YYYY-MM-DD option: the release date written into the
LastUpdated columns of the rows it supplies. Without it the date is taken from
a YYYY-MM-DD in the file name, else from the file's modification time.

The database follows db/schema.sql. It is written to OUT.db.tmp.<pid> in one
transaction and renamed over OUT.db only when complete, so a site that is
serving keeps reading the old file until the new one is whole.

Rows that cannot be used are reported on standard error as FILE:LINE: reason;
the import goes on without them. A summary of counts goes to standard output.
Exit status: 0 on success (even with rejected rows), 1 when the database could
not be written, 2 for bad arguments or an unusable HYG header.
"""

import argparse
import csv
import datetime
import math
import os
import re
import sqlite3
import subprocess
import sys
import unicodedata

# Parsecs per light-year, the factor the programs use (1 / 3.261633).
PARSECS_PER_LIGHT_YEAR = 0.30659488667179907
# Milliarcseconds per radian (HYG's pmrarad/pmdecrad are in radians per year).
MAS_PER_RADIAN = 180.0 / math.pi * 3600.0 * 1000.0
DAYS_PER_YEAR = 365.25
HOURS_PER_YEAR = 8766.0
JD_J2000 = 2451545.0
# Capacities of one system, fixed by the identifier scheme:
# components S+1..S+9, orbits S+11..S+49, planets S+51..S+69.
MAX_COMPONENTS = 9
FIRST_ORBIT, LAST_ORBIT = 11, 49
FIRST_PLANET, LAST_PLANET = 51, 69
LARGEST_ID = 2**31 - 1
# Column widths the programs read (longer texts are cut, and counted).
NAME_WIDTH = 50        # names, classes, catalogue values
ABBREV_WIDTH = 10      # catalogue abbreviations and source codes
VARTYPE_WIDTH = 3      # variable-star type codes
LONGNAME_WIDTH = 99    # CatalogNames.LongName
# Epoch of the exoplanet archive's coordinates (Gaia, about 2016), and how far
# (arcseconds, after moving the HYG star by its proper motion) a host may be.
PLANET_EPOCH = 2016.0
HOST_MATCH_ARCSEC = 60.0
HOST_SURE_ARCSEC = 10.0

GREEK = {
    'Alp': 'Alpha', 'Bet': 'Beta', 'Gam': 'Gamma', 'Del': 'Delta', 'Eps': 'Epsilon',
    'Zet': 'Zeta', 'Eta': 'Eta', 'The': 'Theta', 'Iot': 'Iota', 'Kap': 'Kappa',
    'Lam': 'Lambda', 'Mu': 'Mu', 'Nu': 'Nu', 'Xi': 'Xi', 'Omi': 'Omicron', 'Pi': 'Pi',
    'Rho': 'Rho', 'Sig': 'Sigma', 'Tau': 'Tau', 'Ups': 'Upsilon', 'Phi': 'Phi',
    'Chi': 'Chi', 'Psi': 'Psi', 'Ome': 'Omega',
}

CONSTELLATION_GENITIVE = {
    'And': 'Andromedae', 'Ant': 'Antliae', 'Aps': 'Apodis', 'Aqr': 'Aquarii',
    'Aql': 'Aquilae', 'Ara': 'Arae', 'Ari': 'Arietis', 'Aur': 'Aurigae',
    'Boo': 'Bootis', 'Cae': 'Caeli', 'Cam': 'Camelopardalis', 'Cnc': 'Cancri',
    'CVn': 'Canum Venaticorum', 'CMa': 'Canis Majoris', 'CMi': 'Canis Minoris',
    'Cap': 'Capricorni', 'Car': 'Carinae', 'Cas': 'Cassiopeiae', 'Cen': 'Centauri',
    'Cep': 'Cephei', 'Cet': 'Ceti', 'Cha': 'Chamaeleontis', 'Cir': 'Circini',
    'Col': 'Columbae', 'Com': 'Comae Berenices', 'CrA': 'Coronae Australis',
    'CrB': 'Coronae Borealis', 'Crv': 'Corvi', 'Crt': 'Crateris', 'Cru': 'Crucis',
    'Cyg': 'Cygni', 'Del': 'Delphini', 'Dor': 'Doradus', 'Dra': 'Draconis',
    'Equ': 'Equulei', 'Eri': 'Eridani', 'For': 'Fornacis', 'Gem': 'Geminorum',
    'Gru': 'Gruis', 'Her': 'Herculis', 'Hor': 'Horologii', 'Hya': 'Hydrae',
    'Hyi': 'Hydri', 'Ind': 'Indi', 'Lac': 'Lacertae', 'Leo': 'Leonis',
    'LMi': 'Leonis Minoris', 'Lep': 'Leporis', 'Lib': 'Librae', 'Lup': 'Lupi',
    'Lyn': 'Lyncis', 'Lyr': 'Lyrae', 'Men': 'Mensae', 'Mic': 'Microscopii',
    'Mon': 'Monocerotis', 'Mus': 'Muscae', 'Nor': 'Normae', 'Oct': 'Octantis',
    'Oph': 'Ophiuchi', 'Ori': 'Orionis', 'Pav': 'Pavonis', 'Peg': 'Pegasi',
    'Per': 'Persei', 'Phe': 'Phoenicis', 'Pic': 'Pictoris', 'Psc': 'Piscium',
    'PsA': 'Piscis Austrini', 'Pup': 'Puppis', 'Pyx': 'Pyxidis', 'Ret': 'Reticuli',
    'Sge': 'Sagittae', 'Sgr': 'Sagittarii', 'Sco': 'Scorpii', 'Scl': 'Sculptoris',
    'Sct': 'Scuti', 'Ser': 'Serpentis', 'Sex': 'Sextantis', 'Tau': 'Tauri',
    'Tel': 'Telescopii', 'Tri': 'Trianguli', 'TrA': 'Trianguli Australis',
    'Tuc': 'Tucanae', 'UMa': 'Ursae Majoris', 'UMi': 'Ursae Minoris', 'Vel': 'Velorum',
    'Vir': 'Virginis', 'Vol': 'Volantis', 'Vul': 'Vulpeculae',
}

# Long names of every catalogue abbreviation and source code the importer can
# write (ORB6 reference codes are added as they are used).
CATALOG_NAMES = {
    'HIP': ('Hipparcos', 'Hipparcos Catalogue (ESA 1997; 2007 reduction)'),
    'HD': ('Henry Draper', 'Henry Draper Catalogue and Extension'),
    'HR': ('Harvard Revised', 'Harvard Revised Photometry / Yale Bright Star Catalogue'),
    'Gl': ('Gliese', 'Gliese Catalogue of Nearby Stars (numbers 1-999)'),
    'GJ': ('Gliese-Jahreiss', 'Gliese & Jahreiss, Catalogue of Nearby Stars, 3rd edition (1991)'),
    'Bayer': ('Bayer', 'Bayer designation (Greek letter and constellation)'),
    'Flam': ('Flamsteed', 'Flamsteed designation (number and constellation)'),
    'GCVS': ('General Catalogue of Variable Stars', 'Variable-star designation'),
    'HYG': ('HYG database', 'HYG database v3 by David Nash (astronexus.com), '
            'compiled from Hipparcos, Yale Bright Star and Gliese; CC BY-SA'),
    'NASA': ('NASA Exoplanet Archive', 'NASA Exoplanet Archive, Planetary Systems '
             'Composite Parameters'),
}


class Report:
    """Collects what the import could not use and the counts for the summary."""

    def __init__(self, stream=sys.stderr):
        self.stream = stream
        self.rejected = 0
        self.warnings = 0
        self.transliterated = 0
        self.truncated = 0
        self.declination_sign_lost = 0
        self.counts = {}

    def reject(self, path, line, reason):
        """A row that was left out entirely."""
        self.rejected += 1
        print(f"{path}:{line}: rejected: {reason}", file=self.stream)

    def warn(self, path, line, reason):
        """A row that was kept with something changed or left out."""
        self.warnings += 1
        print(f"{path}:{line}: warning: {reason}", file=self.stream)

    def count(self, name, amount=1):
        self.counts[name] = self.counts.get(name, 0) + amount


# ---------------------------------------------------------------- text

# Characters windows-1252 lacks, with the ASCII that stands in for them.
_TRANSLITERATIONS = {
    '\u2010': '-', '\u2011': '-', '\u2012': '-', '\u2212': '-', '\u00a0': ' ',
    '\u2032': "'", '\u2033': '"', '\u02bb': "'", '\u02bc': "'", '\u02be': "'",
    '\u02bf': "'", '\u0131': 'i', '\u0142': 'l', '\u0141': 'L', '\u0111': 'd',
    '\u0110': 'D', '\u00f8': 'o', '\u0127': 'h', '\u03b1': 'alpha', '\u03b2': 'beta',
    '\u03b3': 'gamma', '\u03b4': 'delta', '\u03b5': 'epsilon', '\u03b6': 'zeta',
    '\u03b7': 'eta', '\u03b8': 'theta', '\u03b9': 'iota', '\u03ba': 'kappa',
    '\u03bb': 'lambda', '\u03bc': 'mu', '\u03bd': 'nu', '\u03be': 'xi',
    '\u03bf': 'omicron', '\u03c0': 'pi', '\u03c1': 'rho', '\u03c3': 'sigma',
    '\u03c4': 'tau', '\u03c5': 'upsilon', '\u03c6': 'phi', '\u03c7': 'chi',
    '\u03c8': 'psi', '\u03c9': 'omega',
}


_converted = {}


def to_windows1252(text, report, width=None):
    """Returns text as windows-1252 bytes. Characters that code page lacks are
    transliterated (accents dropped, Greek letters spelled, others '?') and
    each one is counted; a text longer than width characters is cut and counted."""
    key = (text, width)
    if key not in _converted:
        _converted[key] = _convert(text, width)
    data, transliterated, truncated = _converted[key]
    report.transliterated += transliterated
    report.truncated += truncated
    return data


def _convert(text, width):
    transliterated = 0
    try:
        text.encode('cp1252')
        result = text
    except UnicodeEncodeError:
        out = []
        for ch in text:
            try:
                ch.encode('cp1252')
                out.append(ch)
                continue
            except UnicodeEncodeError:
                pass
            transliterated += 1
            if ch in _TRANSLITERATIONS:
                out.append(_TRANSLITERATIONS[ch])
                continue
            decomposed = unicodedata.normalize('NFKD', ch)
            kept = ''.join(c for c in decomposed if not unicodedata.combining(c))
            try:
                kept.encode('cp1252')
                out.append(kept if kept else '?')
            except UnicodeEncodeError:
                out.append('?')
        result = ''.join(out)
    truncated = 0
    if width is not None and len(result) > width:
        truncated = 1
        result = result[:width]
    return result.encode('cp1252'), transliterated, truncated


# ---------------------------------------------------------------- numbers and units

class BadValue(Exception):
    pass


def number(text, column):
    """The float in text, None for an empty field; BadValue otherwise."""
    text = (text or '').strip()
    if text == '':
        return None
    try:
        value = float(text)
    except ValueError:
        raise BadValue(f"column {column}: '{text}' is not a number")
    if math.isnan(value) or math.isinf(value):
        raise BadValue(f"column {column}: '{text}' is not a finite number")
    return value


def split_right_ascension(hours):
    """(h, m, s) of a right ascension in hours, rounded once to 0.001 s and then
    split, so no 60 s appears; 24h wraps to 0h."""
    thousandths = round((hours % 24.0) * 3600.0 * 1000.0)
    thousandths %= 24 * 3600 * 1000
    h, rest = divmod(thousandths, 3600 * 1000)
    m, rest = divmod(rest, 60 * 1000)
    return int(h), int(m), rest / 1000.0


def split_declination(degrees):
    """(d, m, s, sign_lost) of a declination in degrees, rounded once to 0.01"
    and then split; the sign is carried by d. A declination between 0 and -1
    degree (exclusive) cannot carry its sign (d is 0, which reads as north):
    sign_lost is then True."""
    hundredths = round(abs(degrees) * 3600.0 * 100.0)
    d, rest = divmod(hundredths, 3600 * 100)
    m, rest = divmod(rest, 60 * 100)
    sign_lost = degrees < 0 and d == 0 and hundredths > 0
    if degrees < 0:
        d = -d
    return int(d), int(m), rest / 100.0, sign_lost


def proper_motion(pm_ra_cosdec, pm_dec):
    """Total proper motion (arcsec/yr) and its position angle (degrees from north
    through east) from the motion in RA (times cos Dec) and in Dec, both mas/yr."""
    total = math.hypot(pm_ra_cosdec, pm_dec) / 1000.0
    angle = math.degrees(math.atan2(pm_ra_cosdec, pm_dec)) % 360.0
    return total, angle


def julian_date_to_year(jd):
    return 2000.0 + (jd - JD_J2000) / DAYS_PER_YEAR


def angular_separation_arcsec(ra1, dec1, ra2, dec2):
    """Separation of two directions given in degrees, in arcseconds."""
    r1, d1, r2, d2 = map(math.radians, (ra1, dec1, ra2, dec2))
    s = math.sin((d2 - d1) / 2) ** 2 + math.cos(d1) * math.cos(d2) * math.sin((r2 - r1) / 2) ** 2
    return math.degrees(2 * math.asin(min(1.0, math.sqrt(s)))) * 3600.0


# ---------------------------------------------------------------- designations

def gliese_key(designation):
    """'Gl  15A', 'GJ 15 A', 'NN 3618' -> '15A', '15A', '3618' (upper case, no blanks)."""
    m = re.match(r'^\s*(?:Gl|GJ|NN|Wo|Gliese)\s*(.+?)\s*$', designation or '', re.I)
    if not m:
        return None
    return re.sub(r'\s+', '', m.group(1)).upper()


def split_gliese(designation):
    """('Gl'|'GJ', '559A') for a Gliese designation. HYG v3's deprecated 'NN' and
    'Wo' prefixes are written as 'GJ', as the catalogue's later releases do."""
    m = re.match(r'^\s*(Gl|GJ|NN|Wo)\s*(.+?)\s*$', designation or '')
    if not m:
        return None
    prefix = m.group(1)
    if prefix in ('NN', 'Wo'):
        prefix = 'GJ'
    return prefix, re.sub(r'\s+', ' ', m.group(2))


def gliese_stem(value):
    """'559A' -> ('559', 'A'); '551' -> ('551', '')."""
    m = re.match(r'^(.*?\d)\s*([A-Za-z]*)$', value)
    if not m:
        return value, ''
    return m.group(1), m.group(2)


def greek_parts(bayer):
    """'Alp-1' -> ('Alp', '1'); 'Mu' -> ('Mu', ''); None when not a Greek letter."""
    m = re.match(r'^([A-Z][a-z]{1,2})-?(\d?)$', (bayer or '').strip())
    if not m or m.group(1) not in GREEK:
        return None
    return m.group(1), m.group(2)


def parse_spectrum(text):
    """Splits an HYG spectral type into (spectral class, luminosity class);
    either may be None. 'G2V' -> ('G2', 'V'); 'sdM4' -> ('M4', 'VI');
    'DA2' -> ('DA2', None); 'K2:III:' -> ('K2:', 'III:')."""
    text = re.sub(r'\s+', ' ', (text or '').strip())
    if not text:
        return None, None
    prefix_class = {'sd': 'VI', 'd': 'V', 'g': 'III', 'c': 'I'}
    lum = None
    m = re.match(r'^(sd|d|g|c)(?=[OBAFGKM])(.*)$', text)
    if m:
        lum = prefix_class[m.group(1)]
        text = m.group(2)
    m = re.match(r'^([OBAFGKMLTYCSW][0-9.]*(?:[-/][OBAFGKM]?[0-9.]+)?[:]?)\s?'
                 r'((?:Ia0|Iab|Ia|Ib|III|II|IV|VI|V|0)(?:[-/](?:Iab|Ia|Ib|III|II|IV|VI|V))?:?)?'
                 r'(.*)$', text)
    if m and m.group(2):
        spectral = (m.group(1) + m.group(3).strip()).strip()
        return spectral or None, m.group(2)
    return text or None, lum


# ---------------------------------------------------------------- the catalogue model

class Star:
    __slots__ = ('hyg_id', 'line', 'hip', 'hd', 'hr', 'gl', 'bayer', 'flam', 'con', 'proper',
                 'ra', 'dec', 'dist', 'pm_ra', 'pm_dec', 'rv', 'mag', 'ci', 'spect',
                 'comp', 'comp_primary', 'base', 'var', 'var_min', 'var_max',
                 'names', 'variability', 'mass', 'radius', 'host_date', 'system',
                 'component_id')

    def __init__(self):
        for slot in self.__slots__:
            setattr(self, slot, None)
        self.names = []


class UnionFind:
    def __init__(self):
        self.parent = {}

    def find(self, x):
        self.parent.setdefault(x, x)
        root = x
        while self.parent[root] != root:
            root = self.parent[root]
        while self.parent[x] != root:
            self.parent[x], x = root, self.parent[x]
        return root

    def union(self, a, b):
        ra, rb = self.find(a), self.find(b)
        if ra != rb:
            self.parent[max(ra, rb)] = min(ra, rb)


def file_date(path, given):
    """The release date of an input: given, else a YYYY-MM-DD in the file name,
    else the file's modification date."""
    if given:
        return given
    m = re.search(r'(\d{4})-(\d{2})-(\d{2})', os.path.basename(path))
    if m:
        return m.group(0)
    return datetime.date.fromtimestamp(os.path.getmtime(path)).isoformat()


def open_text(path):
    """Opens a catalogue as text: UTF-8 (with or without a byte-order mark),
    falling back to windows-1252 for files that are not UTF-8."""
    with open(path, 'rb') as f:
        raw = f.read()
    try:
        text = raw.decode('utf-8-sig')
    except UnicodeDecodeError:
        text = raw.decode('cp1252', errors='replace')
    return text


# ---------------------------------------------------------------- HYG

HYG_REQUIRED = ('id', 'ra', 'dec', 'dist')


def read_hyg(path, report):
    """Reads an HYG CSV into Stars keyed by HYG id. Returns None when the header
    lacks a required column."""
    text = open_text(path)
    reader = csv.reader(text.splitlines())
    try:
        header = [h.strip() for h in next(reader)]
    except StopIteration:
        print(f"{path}:1: the file is empty", file=sys.stderr)
        return None
    missing = [c for c in HYG_REQUIRED if c not in header]
    if missing:
        print(f"{path}:1: not an HYG catalogue: no column {', '.join(missing)}", file=sys.stderr)
        return None
    col = {name: i for i, name in enumerate(header)}

    def field(row, name):
        i = col.get(name)
        return row[i].strip() if i is not None and i < len(row) else ''

    stars = {}
    for row in reader:
        line = reader.line_num
        if not row or all(not c.strip() for c in row):
            continue
        if len(row) != len(header):
            report.reject(path, line, f"{len(row)} fields where the header has {len(header)}")
            continue
        try:
            raw_id = field(row, 'id')
            if not re.fullmatch(r'\d+', raw_id):
                raise BadValue(f"column id: '{raw_id}' is not a whole number")
            hyg_id = int(raw_id)
            if (hyg_id + 1) * 100 > LARGEST_ID:
                raise BadValue(f"column id: {hyg_id} is too large for a system ID")
            if hyg_id in stars:
                raise BadValue(f"id {hyg_id} already used on line {stars[hyg_id].line}")
            s = Star()
            s.hyg_id, s.line = hyg_id, line
            s.ra = number(field(row, 'ra'), 'ra')
            s.dec = number(field(row, 'dec'), 'dec')
            if s.ra is None or s.dec is None:
                raise BadValue("no right ascension or declination")
            if not (0.0 <= s.ra < 24.0 + 1e-9):
                raise BadValue(f"column ra: {s.ra} is not between 0 and 24 hours")
            if not (-90.0 <= s.dec <= 90.0):
                raise BadValue(f"column dec: {s.dec} is not between -90 and +90 degrees")
            s.dist = number(field(row, 'dist'), 'dist')
            if s.dist is not None and (s.dist < 0 or s.dist >= 100000):
                s.dist = None    # HYG writes 100000 and more for an unknown distance
            pm_ra = number(field(row, 'pmra'), 'pmra')
            pm_dec = number(field(row, 'pmdec'), 'pmdec')
            # The radian columns are more precise than the mas columns, whose
            # format cuts large motions (Barnard's Star's 10.3"/yr Dec motion
            # is written as 9999.99 mas/yr); both include cos(Dec) in RA.
            pm_ra_rad = number(field(row, 'pmrarad'), 'pmrarad')
            pm_dec_rad = number(field(row, 'pmdecrad'), 'pmdecrad')
            if pm_ra_rad is not None and pm_dec_rad is not None and (pm_ra_rad or pm_dec_rad):
                pm_ra, pm_dec = pm_ra_rad * MAS_PER_RADIAN, pm_dec_rad * MAS_PER_RADIAN
            if pm_ra is not None and pm_dec is not None and (pm_ra or pm_dec):
                s.pm_ra, s.pm_dec = pm_ra, pm_dec
            rv = number(field(row, 'rv'), 'rv')
            s.rv = rv if rv else None            # HYG writes 0.0 for an unknown velocity
            s.mag = number(field(row, 'mag'), 'mag')
            s.ci = number(field(row, 'ci'), 'ci')
            comp = number(field(row, 'comp'), 'comp')
            s.comp = int(comp) if comp is not None else 1
            cp = field(row, 'comp_primary')
            s.comp_primary = int(cp) if re.fullmatch(r'\d+', cp) else hyg_id
            s.var_min = number(field(row, 'var_min'), 'var_min')
            s.var_max = number(field(row, 'var_max'), 'var_max')
        except BadValue as e:
            report.reject(path, line, str(e))
            continue
        s.hip = field(row, 'hip') or None
        s.hd = field(row, 'hd') or None
        s.hr = field(row, 'hr') or None
        s.gl = re.sub(r'\s+', ' ', field(row, 'gl')) or None
        s.proper = field(row, 'proper') or None
        s.spect = field(row, 'spect') or None
        s.base = re.sub(r'\s+', ' ', field(row, 'base')) or None
        s.var = field(row, 'var') or None
        s.con = field(row, 'con') or None
        s.bayer = field(row, 'bayer') or None
        s.flam = field(row, 'flam') or None
        if 'bayer' not in col and field(row, 'bf'):
            # Older HYG files have only the combined Bayer/Flamsteed field.
            m = re.match(r'^(\d*)\s*([A-Z][a-z]{1,2})?(\d?)\s*([A-Z][A-Za-z]{1,2})$', field(row, 'bf'))
            if m:
                s.flam = m.group(1) or None
                s.bayer = (m.group(2) + ('-' + m.group(3) if m.group(3) else '')) if m.group(2) else None
                s.con = s.con or m.group(4)
        if s.proper:
            s.names.append(s.proper)
        stars[hyg_id] = s
    return stars


# ---------------------------------------------------------------- lookups

class Index:
    """Finds stars by catalogue designation."""

    def __init__(self, stars):
        self.by_hip, self.by_hd, self.by_hr, self.by_gliese = {}, {}, {}, {}
        for s in stars.values():
            if s.hip:
                self.by_hip.setdefault(s.hip, s)
            if s.hd:
                self.by_hd.setdefault(s.hd, s)
            if s.hr:
                self.by_hr.setdefault(s.hr, s)
            key = gliese_key(s.gl)
            if key:
                self.by_gliese.setdefault(key, s)

    def gliese(self, designation, allow_a=True):
        """The star of a Gliese designation; 'GJ 451' also finds 'Gl 451A'."""
        key = gliese_key(designation)
        if not key:
            return None
        star = self.by_gliese.get(key)
        if star is None and allow_a and key[-1:].isdigit():
            star = self.by_gliese.get(key + 'A')
        return star

    def designation(self, text):
        """A star by 'HIP n', 'HD n', 'HR n' or a Gliese designation."""
        text = (text or '').strip()
        m = re.match(r'^(HIP|HD|HR)\s*(\d+)$', text)
        if m:
            table = {'HIP': self.by_hip, 'HD': self.by_hd, 'HR': self.by_hr}[m.group(1)]
            return table.get(m.group(2))
        return self.gliese(text)


# ---------------------------------------------------------------- ORB6

class Orbit:
    __slots__ = ('line', 'primary', 'secondary', 'primary_pair', 'period', 'period_error',
                 'axis', 'is_au', 'eccentricity', 'inclination', 'node', 'epoch',
                 'source', 'date', 'planet')

    def __init__(self):
        for slot in self.__slots__:
            setattr(self, slot, None)


_ORB6_LINE1 = re.compile(r'^\d{6}\.\d{2}[+-]\d{6}\.\d')
_PERIOD_TO_YEARS = {'y': 1.0, 'd': 1 / DAYS_PER_YEAR, 'c': 100.0, 'h': 1 / HOURS_PER_YEAR,
                    'm': 1 / (HOURS_PER_YEAR * 60.0)}
_AXIS_TO_ARCSEC = {'a': 1.0, 'm': 0.001, 'M': 60.0}


def _col(line, first, last):
    """Columns first..last (1-based, inclusive) of a fixed-width line; ORB6
    writes '.' for a value it does not give, which reads as empty."""
    value = line[first - 1:last].strip()
    return '' if value == '.' else value


def _orb6_components(designation):
    """The two members named by the component part of a discoverer designation:
    'RHD   1AB' -> ('A', 'B'); 'LDS 494AC' -> ('A', 'C'); 'STF1523AB,C' ->
    ('AB', 'C'); none given -> ('A', 'B')."""
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
    Members from two systems join them into one."""
    lines = open_text(path).splitlines()
    # The systems as HYG groups them, before any orbit joins two of them.
    hyg_root = {s.hyg_id: union.find(s.hyg_id) for s in stars.values()}
    hyg_systems = {}
    for star_id, root in hyg_root.items():
        hyg_systems.setdefault(root, []).append(stars[star_id])
    orbits = []
    i = 0
    while i < len(lines):
        line1 = lines[i]
        if not _ORB6_LINE1.match(line1):
            i += 1
            continue
        line_no = i + 1
        line2 = lines[i + 1] if i + 1 < len(lines) else ''
        i += 2
        report.count('orb6 orbits read')
        hip, hd = _col(line2, 46, 51), _col(line1, 46, 51)
        primary_star = index.by_hip.get(hip) if hip else None
        if primary_star is None and hd:
            primary_star = index.by_hd.get(hd)
        if primary_star is None:
            continue      # not a pair of this star catalogue
        members = _orb6_components(_col(line1, 31, 44))
        if members is None:
            report.count('orb6 orbits of sub-components')
            continue
        first, second = members
        try:
            o = Orbit()
            o.line = line_no
            period, unit = number(_col(line1, 62, 73), 'P'), _col(line1, 74, 74)
            if period is not None:
                if unit not in _PERIOD_TO_YEARS:
                    raise BadValue(f"unknown period unit '{unit}'")
                o.period = period * _PERIOD_TO_YEARS[unit]
                perr = number(_col(line2, 62, 73), 'P error')
                if perr and period:
                    o.period_error = abs(perr / period)
            axis, unit = number(_col(line1, 77, 85), 'a'), _col(line1, 86, 86)
            if axis is not None:
                if unit not in _AXIS_TO_ARCSEC:
                    raise BadValue(f"unknown axis unit '{unit}'")
                o.axis = axis * _AXIS_TO_ARCSEC[unit]
                o.is_au = 0
            o.inclination = number(_col(line1, 89, 96), 'i')
            o.node = number(_col(line1, 99, 106), 'node')
            epoch, unit = number(_col(line1, 110, 121), 'T'), _col(line1, 122, 122)
            if epoch is not None:
                if unit == 'y':
                    o.epoch = epoch
                elif unit == 'd':
                    o.epoch = julian_date_to_year(epoch + 2400000.0)
                elif unit == 'm':
                    o.epoch = julian_date_to_year(epoch + 2400000.5)
                elif unit == 'c':
                    o.epoch = epoch * 100.0
                else:
                    raise BadValue(f"unknown periastron epoch unit '{unit}'")
            o.eccentricity = number(_col(line1, 125, 132), 'e')
            o.source = _col(line1, 160, 167) or 'ORB6'
            o.date = date
        except BadValue as e:
            report.reject(path, line_no, str(e))
            continue

        def member(letter):
            parts = split_gliese(primary_star.gl) if primary_star.gl else None
            if parts and len(letter) == 1:
                stem, _ = gliese_stem(parts[1])
                found = index.gliese(f"{parts[0]} {stem}{letter}", allow_a=False)
                if found is not None:
                    return found
                if letter == 'A' and not gliese_stem(parts[1])[1]:
                    return primary_star
            return None

        a_star = member(first) if len(first) == 1 else None
        b_star = member(second)
        if (a_star is None or b_star is None) and (first, second) == ('A', 'B'):
            group = hyg_systems.get(hyg_root.get(primary_star.hyg_id), [])
            if len(group) == 2:
                a_star = primary_star
                b_star = group[0] if group[1] is primary_star else group[1]
        if len(first) > 1:
            # A pair as the primary ('AB,C'): both letters must name stars.
            pair = [member(c) for c in first] if first.isalpha() and first.isupper() else [None]
            if None in pair or b_star is None:
                report.warn(path, line_no, f"orbit {first},{second} of HIP {hip or '-'} skipped: "
                            "a member is not in the star catalogue")
                continue
            o.primary_pair = tuple(p.hyg_id for p in pair)
            o.secondary = b_star.hyg_id
        else:
            if a_star is None or b_star is None or a_star is b_star:
                missing = second if b_star is None or a_star is b_star else first
                report.warn(path, line_no, f"orbit {first}{second} of HIP {hip or '-'} skipped: "
                            f"member {missing} is not in the star catalogue")
                continue
            o.primary, o.secondary = a_star.hyg_id, b_star.hyg_id
        for sid in (o.primary_pair or ()) + ((o.primary,) if o.primary is not None else ()):
            union.union(sid, o.secondary)
        orbits.append(o)
    return orbits


# ---------------------------------------------------------------- exoplanets

class Planet:
    __slots__ = ('line', 'path', 'name', 'host', 'mass', 'mass_error', 'is_minimum', 'radius',
                 'radius_error', 'date', 'orbit')


class SkyGrid:
    """Stars on a half-degree grid, for finding the nearest to a sky position.
    Each star is kept with its catalogue position (2000) and its position
    moved by its proper motion to epoch, as other catalogues use either."""

    CELL = 0.5

    def __init__(self, stars, epoch):
        self.cells = {}
        for s in stars.values():
            ra, dec = s.ra * 15.0, s.dec
            moved = self.position(s, epoch)
            key = (math.floor(dec / self.CELL), math.floor(ra / self.CELL))
            self.cells.setdefault(key, []).append(((ra, dec), moved, s))

    @staticmethod
    def position(s, epoch):
        """The star's position (degrees) moved by its proper motion from 2000 to epoch."""
        ra, dec = s.ra * 15.0, s.dec
        if s.pm_ra is not None:
            dt = epoch - 2000.0
            cosd = max(math.cos(math.radians(dec)), 1e-6)
            ra += s.pm_ra / 3.6e6 * dt / cosd
            dec += s.pm_dec / 3.6e6 * dt
        return ra % 360.0, max(-90.0, min(90.0, dec))

    def near(self, ra, dec):
        row = math.floor(dec / self.CELL)
        columns = int(360 / self.CELL)
        cosd = math.cos(math.radians(min(89.9, abs(dec) + self.CELL)))
        reach = min(columns // 2, 1 + int(math.ceil(1 / max(cosd, 1e-3))))
        col = math.floor(ra / self.CELL)
        for r in (row - 1, row, row + 1):
            for c in range(col - reach, col + reach + 1):
                yield from self.cells.get((r, c % columns), ())


def read_planets(path, date, stars, grid, max_distance, report):
    """Reads the NASA composite planet table; each planet's host is the star
    nearest to the planet's coordinates (within HOST_MATCH_ARCSEC after moving
    the star by its proper motion) whose distance agrees."""
    text = open_text(path)
    lines = text.splitlines()
    first = 0
    while first < len(lines) and lines[first].startswith('#'):
        first += 1
    reader = csv.reader(lines[first:])
    try:
        header = next(reader)
    except StopIteration:
        return []
    col = {name.strip(): i for i, name in enumerate(header)}
    if 'pl_name' not in col or 'ra' not in col or 'dec' not in col:
        print(f"{path}:{first + 1}: not a NASA planet table: no pl_name, ra or dec column",
              file=sys.stderr)
        return []

    def field(row, name):
        i = col.get(name)
        return row[i].strip() if i is not None and i < len(row) else ''

    planets = []
    for row in reader:
        line = first + reader.line_num
        if not row:
            continue
        if len(row) != len(header):
            report.reject(path, line, f"{len(row)} fields where the header has {len(header)}")
            continue
        report.count('planets read')
        try:
            ra, dec = number(field(row, 'ra'), 'ra'), number(field(row, 'dec'), 'dec')
            dist = number(field(row, 'sy_dist'), 'sy_dist')
            if ra is None or dec is None:
                raise BadValue("no host position")
            host, best = None, None
            for then, now, s in grid.near(ra, dec):
                sep = min(angular_separation_arcsec(ra, dec, *then),
                          angular_separation_arcsec(ra, dec, *now))
                if sep > HOST_MATCH_ARCSEC:
                    continue
                # Beyond a close match the distances must agree as well (the
                # archive's own distance is sometimes far off, e.g. GJ 411).
                if sep > HOST_SURE_ARCSEC and dist is not None and s.dist is not None \
                        and abs(dist - s.dist) > 0.25 * s.dist + 0.1:
                    continue
                if best is None or sep < best:
                    host, best = s, sep
            if host is None:
                if dist is not None and max_distance is not None and dist <= max_distance:
                    report.warn(path, line, f"planet {field(row, 'pl_name')}: host "
                                f"{field(row, 'hostname')} not found in the star catalogue")
                else:
                    report.count('planets beyond the star catalogue')
                continue
            p = Planet()
            p.line, p.host, p.date = line, host.hyg_id, date
            p.name = field(row, 'pl_name')
            p.mass = number(field(row, 'pl_bmassj'), 'pl_bmassj')
            p.mass_error = None
            if p.mass:
                e1 = number(field(row, 'pl_bmassjerr1'), 'pl_bmassjerr1')
                e2 = number(field(row, 'pl_bmassjerr2'), 'pl_bmassjerr2')
                errors = [abs(e) for e in (e1, e2) if e is not None]
                if errors:
                    p.mass_error = sum(errors) / len(errors) / p.mass
            p.is_minimum = 1 if field(row, 'pl_bmassprov').lower() == 'msini' else 0
            # A radius without an uncertainty is a model estimate, not a measurement.
            p.radius, p.radius_error = None, None
            radius = number(field(row, 'pl_radj'), 'pl_radj')
            r1 = number(field(row, 'pl_radjerr1'), 'pl_radjerr1')
            r2 = number(field(row, 'pl_radjerr2'), 'pl_radjerr2')
            if radius and (r1 is not None or r2 is not None):
                p.radius = radius
                errors = [abs(e) for e in (r1, r2) if e is not None]
                p.radius_error = sum(errors) / len(errors) / radius
            o = Orbit()
            o.line, o.date, o.source = line, date, 'NASA'
            period = number(field(row, 'pl_orbper'), 'pl_orbper')
            if period:
                o.period = period / DAYS_PER_YEAR
                e1 = number(field(row, 'pl_orbpererr1'), 'pl_orbpererr1')
                e2 = number(field(row, 'pl_orbpererr2'), 'pl_orbpererr2')
                errors = [abs(e) for e in (e1, e2) if e is not None]
                if errors:
                    o.period_error = sum(errors) / len(errors) / period
            o.axis = number(field(row, 'pl_orbsmax'), 'pl_orbsmax')
            o.is_au = 1 if o.axis is not None else None
            o.eccentricity = number(field(row, 'pl_orbeccen'), 'pl_orbeccen')
            o.inclination = number(field(row, 'pl_orbincl'), 'pl_orbincl')
            tper = number(field(row, 'pl_orbtper'), 'pl_orbtper')
            o.epoch = julian_date_to_year(tper) if tper else None
            o.primary = host.hyg_id
            p.orbit = o
            mass = number(field(row, 'st_mass'), 'st_mass')
            radius = number(field(row, 'st_rad'), 'st_rad')
            if host.mass is None and mass:
                host.mass, host.host_date = mass, date
            if host.radius is None and radius:
                host.radius, host.host_date = radius, date
        except BadValue as e:
            report.reject(path, line, str(e))
            continue
        planets.append(p)
    return planets


# ---------------------------------------------------------------- names and variability

def read_iau_names(path, index, report):
    """Adds the IAU names to their stars, found by HIP or by designation."""
    reader = csv.DictReader(open_text(path).splitlines())
    if not reader.fieldnames or 'Proper Names' not in reader.fieldnames:
        print(f"{path}:1: not an IAU name list: no 'Proper Names' column", file=sys.stderr)
        return
    for row in reader:
        name = (row.get('Proper Names') or '').strip()
        if not name:
            report.reject(path, reader.line_num, "no name")
            continue
        hip = (row.get('HIP') or '').strip()
        star = index.by_hip.get(hip) if hip else None
        if star is None:
            star = index.designation(row.get('Designation'))
        if star is None:
            report.count('names for stars outside the star catalogue')
            continue
        if name not in star.names:
            star.names.append(name)


def read_names(path, index, report):
    """Adds common names from 'name,GJ designation' lines."""
    for line_no, row in enumerate(csv.reader(open_text(path).splitlines()), 1):
        if not row or not row[0].strip():
            continue
        if len(row) < 2:
            report.reject(path, line_no, "no designation after the name")
            continue
        name, designation = row[0].strip(), row[1].strip()
        star = index.designation(designation)
        if star is None:
            report.count('names for stars outside the star catalogue')
            continue
        if name not in star.names:
            star.names.append(name)


def read_variables(path, date, index, report):
    """Takes variable-star type, range and period from a Southern Stars list,
    matching rows to stars by HIP or Gliese number."""
    reader = csv.DictReader(open_text(path).splitlines())
    needed = ('Vtype', 'Vmin', 'Vmax', 'IDs')
    if not reader.fieldnames or any(n not in reader.fieldnames for n in needed):
        print(f"{path}:1: not a Southern Stars list: needs columns {', '.join(needed)}",
              file=sys.stderr)
        return
    for row in reader:
        vtype = (row.get('Vtype') or '').strip()
        if not vtype:
            continue
        ids = [x.strip() for x in (row.get('IDs') or '').split(';')]
        star = None
        for ident in ids:
            if ident.startswith('HIP '):
                star = index.by_hip.get(ident[4:].strip())
                if star:
                    break
        if star is None:
            for ident in ids:
                if re.match(r'^(GJ|Gl)\s', ident):
                    star = index.gliese(ident)
                    if star:
                        break
        if star is None:
            report.count('variables outside the star catalogue')
            continue
        try:
            brightest = number(row.get('Vmin'), 'Vmin')
            period = number(row.get('Vper'), 'Vper')
        except BadValue as e:
            report.reject(path, reader.line_num, str(e))
            continue
        # The first listed type, without GCVS's uncertainty marks: 'UV+BY' -> 'UV'.
        code = re.split(r'[+|/ ]', vtype)[0].rstrip(':')
        if not re.fullmatch(r'[A-Za-z][A-Za-z0-9]*', code):
            report.count('variables of an unnamed type')
            code = None
        star.variability = (code, brightest, period, date)


# ---------------------------------------------------------------- systems

class System:
    __slots__ = ('id', 'stars', 'name', 'spelled')


def stem(name):
    """A name without a trailing component letter: 'Sirius B' -> 'Sirius'."""
    m = re.match(r'^(.*\S)\s+[A-E]$', name)
    return m.group(1) if m else name


def spelled_designation(star):
    """'Alpha Centauri' for Bayer 'Alp-1' in 'Cen', '61 Cygni' for Flamsteed
    61 in 'Cyg'; None when the star has neither or the constellation is unknown."""
    genitive = CONSTELLATION_GENITIVE.get(star.con or '')
    if not genitive:
        return None
    greek = greek_parts(star.bayer)
    if greek:
        return f"{GREEK[greek[0]]} {genitive}"
    if star.flam and star.flam.strip().isdigit():
        return f"{star.flam.strip()} {genitive}"
    return None


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


def build_systems(stars, union, path, report):
    groups = {}
    for s in stars.values():
        groups.setdefault(union.find(s.hyg_id), []).append(s)
    systems = []
    for members in groups.values():
        members.sort(key=lambda s: (s.comp if s.comp and s.comp > 0 else 99,
                                    s.mag if s.mag is not None else 99.0, s.hyg_id))
        for extra in members[MAX_COMPONENTS:]:
            report.reject(path, extra.line, f"star {extra.hyg_id}: its system already has "
                          f"{MAX_COMPONENTS} components")
        members = members[:MAX_COMPONENTS]
        system = System()
        system.stars = members
        system.id = (members[0].hyg_id + 1) * 100
        for k, s in enumerate(members, 1):
            s.system = system
            s.component_id = system.id + k
        system.spelled = spelled_designation(members[0])
        system.name = choose_system_name(system)
        systems.append(system)
    systems.sort(key=lambda x: x.id)
    return systems


# ---------------------------------------------------------------- writing

class Writer:
    """Collects rows per table, then writes them in one transaction."""

    TABLES = {
        'CatalogNames': ('Abbreviation', 'LongName', 'Description', 'HasNoCatNumbers'),
        'Systems': ('ID', 'LastUpdated'),
        'ProperNames': ('OwnerID', 'Name', 'IsSystemName'),
        'CatalogNumbers': ('OwnerID', 'CatAbbrev', 'Value', 'IsSystemName'),
        'Components': ('ID', 'Name', 'IsCloseBinary', 'Mass', 'Diameter', 'LastUpdated',
                       'MassSource', 'DiameterSource', 'IsDiameterArcsec'),
        'Positions': ('OwnerID', 'RA_hr', 'RA_min', 'RA_sec', 'Dec_deg', 'Dec_arcmin',
                      'Dec_arcsec', 'Distance', 'DistanceError', 'DistanceSource',
                      'LastUpdated', 'Epoch'),
        'Spectra': ('OwnerID', 'SpectralClass', 'LuminosityClass', 'SpectrumSource',
                    'LastUpdated'),
        'Magnitudes': ('OwnerID', 'ApparentVMag', 'VMagIncrease', 'VariableType',
                       'VariablePeriod', 'BminusV', 'UminusB', 'RminusI', 'VMagSource',
                       'LastUpdated'),
        'Velocities': ('OwnerID', 'ProperMotion', 'PMAngle', 'RadialVelocity', 'PMSource',
                       'RVSource', 'LastUpdated'),
        'Orbits': ('ID', 'PrimaryID', 'SecondaryID', 'Period', 'SemimajorAxis', 'Eccentricity',
                   'Inclination', 'Omega', 'PeriastronEpoch', 'IsAxisJustGap', 'Source',
                   'PeriodError', 'LastUpdated', 'IsAxisAU'),
        'Planets': ('ID', 'Name', 'LastUpdated', 'Mass', 'MassError', 'IsMassAMinimum',
                    'MassSource', 'Radius', 'RadiusError', 'RadiusSource'),
    }

    def __init__(self, report):
        self.report = report
        self.rows = {t: [] for t in self.TABLES}
        self.sources = set()

    def text(self, value, width=NAME_WIDTH):
        if value is None:
            return None
        return to_windows1252(str(value), self.report, width)

    def add(self, table, **values):
        self.rows[table].append(tuple(values.get(c) for c in self.TABLES[table]))

    def write(self, schema_path, out_path):
        tmp = f"{out_path}.tmp.{os.getpid()}"
        if os.path.exists(tmp):
            os.remove(tmp)
        try:
            con = sqlite3.connect(tmp, isolation_level=None)
            with open(schema_path, encoding='utf-8') as f:
                schema = f.read()
            con.executescript(schema)
            con.execute('BEGIN')
            for table, columns in self.TABLES.items():
                # Texts arrive as windows-1252 bytes; CAST stores them as TEXT unchanged.
                marks = ', '.join('CAST(? AS TEXT)' if self._is_text(table, c) else '?'
                                  for c in columns)
                con.executemany(f"INSERT INTO {table} ({', '.join(columns)}) VALUES ({marks})",
                                self.rows[table])
            con.execute('COMMIT')
            con.close()
            subprocess.run([os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'index-db'), tmp], check=True)
            os.replace(tmp, out_path)
        except BaseException:
            try:
                os.remove(tmp)
            except OSError:
                pass
            raise

    TEXT_COLUMNS = {'Abbreviation', 'LongName', 'Description', 'Name', 'CatAbbrev', 'Value',
                    'LastUpdated', 'MassSource', 'DiameterSource', 'DistanceSource',
                    'SpectralClass', 'LuminosityClass', 'SpectrumSource', 'VariableType',
                    'VMagSource', 'PMSource', 'RVSource', 'Source', 'RadiusSource'}

    def _is_text(self, table, column):
        return column in self.TEXT_COLUMNS


def catalogue_numbers(star):
    """(abbreviation, value) pairs of a star's catalogue numbers, in display order."""
    numbers = []
    if star.gl:
        parts = split_gliese(star.gl)
        if parts:
            numbers.append(parts)
    if star.hip:
        numbers.append(('HIP', star.hip))
    if star.hd:
        numbers.append(('HD', star.hd))
    if star.hr:
        numbers.append(('HR', star.hr))
    greek = greek_parts(star.bayer)
    if greek and star.con:
        numbers.append(('Bayer', f"{greek[0]}{greek[1]} {star.con}"))
    if star.flam and star.flam.strip().isdigit() and star.con:
        numbers.append(('Flam', f"{star.flam.strip()} {star.con}"))
    if star.var and star.con and not greek_parts(star.var):
        numbers.append(('GCVS', f"{star.var} {star.con}"))
    return numbers


def system_designation(system):
    """The catalogue number that names the system when it has no proper name:
    HYG's system designation (base), else the primary's Gliese number without
    its component letter, else its HIP, HD or HR number, else its HYG id."""
    primary = system.stars[0]
    if system.stars[0].base:
        parts = split_gliese(primary.base)
        if parts:
            return parts
    if primary.gl:
        parts = split_gliese(primary.gl)
        if parts:
            return (parts[0], gliese_stem(parts[1])[0]) if len(system.stars) > 1 else parts
    for abbrev, value in (('HIP', primary.hip), ('HD', primary.hd), ('HR', primary.hr)):
        if value:
            return abbrev, value
    return 'HYG', str(primary.hyg_id)


def write_rows(writer, systems, orbits, planets, dates, hyg_path, report):
    hyg_date = dates['hyg']
    text = writer.text
    used = set()
    for system in systems:
        S = system.id
        primary = system.stars[0]
        single = len(system.stars) == 1
        writer.add('Systems', ID=S, LastUpdated=text(hyg_date))
        report.count('systems')

        # Names: the system's own name first (marked), then the spelled
        # designation; a single star's names belong to the system itself.
        system_names = []
        if system.name:
            system_names.append(system.name)
        if system.spelled and system.spelled not in system_names:
            system_names.append(system.spelled)
        if single:
            system_names += [n for n in primary.names if n not in system_names]
        for k, name in enumerate(system_names):
            writer.add('ProperNames', OwnerID=S, Name=text(name),
                       IsSystemName=1 if k == 0 and system.name else 0)
            report.count('proper names')

        # Catalogue numbers: a single star's belong to the system itself. The
        # system designation is always marked as the system's, so every system
        # has a display name even without a proper name.
        designation = system_designation(system)
        own = catalogue_numbers(primary) if single else []
        if designation not in own:
            own.insert(0, designation)
        for abbrev, value in own:
            writer.add('CatalogNumbers', OwnerID=S, CatAbbrev=text(abbrev, ABBREV_WIDTH),
                       Value=text(value), IsSystemName=1 if (abbrev, value) == designation else 0)
            used.add(abbrev)
            report.count('catalogue numbers')

        # The system's position and motion are its primary's.
        write_position(writer, S, primary, hyg_date, report)
        write_velocity(writer, S, primary, hyg_date)

        for k, star in enumerate(system.stars):
            C = star.component_id
            letter = chr(ord('A') + k)
            comp_date = hyg_date
            if star.host_date and star.host_date > comp_date:
                comp_date = star.host_date
            writer.add('Components', ID=C, Name=text(letter, ABBREV_WIDTH), IsCloseBinary=0,
                       Mass=star.mass, Diameter=star.radius,
                       LastUpdated=text(comp_date),
                       MassSource=text('NASA', ABBREV_WIDTH) if star.mass else None,
                       DiameterSource=text('NASA', ABBREV_WIDTH) if star.radius else None,
                       IsDiameterArcsec=0)
            if star.mass or star.radius:
                used.add('NASA')
            report.count('components')
            if not single:
                for name in star.names:
                    if name != system.name:
                        writer.add('ProperNames', OwnerID=C, Name=text(name), IsSystemName=0)
                        report.count('proper names')
                for abbrev, value in catalogue_numbers(star):
                    writer.add('CatalogNumbers', OwnerID=C, CatAbbrev=text(abbrev, ABBREV_WIDTH),
                               Value=text(value), IsSystemName=0)
                    used.add(abbrev)
                    report.count('catalogue numbers')
                if k > 0:
                    write_position(writer, C, star, hyg_date, report)
                    write_velocity(writer, C, star, hyg_date)
            spectral, luminosity = parse_spectrum(star.spect)
            if spectral or luminosity:
                writer.add('Spectra', OwnerID=C, SpectralClass=text(spectral),
                           LuminosityClass=text(luminosity), SpectrumSource=text('HYG', ABBREV_WIDTH),
                           LastUpdated=text(hyg_date))
            write_magnitudes(writer, C, star, hyg_date)
        used.add('HYG')
    return used


def write_position(writer, owner, star, date, report):
    text = writer.text
    row = dict(OwnerID=owner, DistanceSource=text('HYG', ABBREV_WIDTH), LastUpdated=text(date),
               Epoch=2000.0)
    if star.dist is not None:
        row['Distance'] = round(star.dist / PARSECS_PER_LIGHT_YEAR, 5)
    if star.dist != 0.0:
        h, m, s = split_right_ascension(star.ra)
        d, am, asec, sign_lost = split_declination(star.dec)
        if sign_lost:
            report.declination_sign_lost += 1
            report.warn(writer.hyg_path, star.line,
                        f"star {star.hyg_id}: declination {star.dec:+.6f} lies between 0 and -1 "
                        f"degree, which the database cannot hold; stored as +0 {am}' {asec}\" "
                        "(the sign is lost)")
        row.update(RA_hr=h, RA_min=m, RA_sec=s, Dec_deg=d, Dec_arcmin=am, Dec_arcsec=asec)
    writer.add('Positions', **row)


def write_velocity(writer, owner, star, date):
    if star.pm_ra is None and star.rv is None:
        return
    text = writer.text
    row = dict(OwnerID=owner, LastUpdated=text(date))
    if star.pm_ra is not None:
        total, angle = proper_motion(star.pm_ra, star.pm_dec)
        row.update(ProperMotion=round(total, 5), PMAngle=round(angle, 2),
                   PMSource=text('HYG', ABBREV_WIDTH))
    if star.rv is not None:
        row.update(RadialVelocity=star.rv, RVSource=text('HYG', ABBREV_WIDTH))
    writer.add('Velocities', **row)


def write_magnitudes(writer, owner, star, date):
    text = writer.text
    increase = None
    vtype = vperiod = None
    if star.variability:
        vtype, brightest, vperiod, vdate = star.variability
        if brightest is not None and star.mag is not None and star.mag > brightest:
            increase = round(star.mag - brightest, 3)
        date = max(date, vdate)
    elif star.var and star.mag is not None and star.var_min is not None and star.var_max is not None:
        brightest = min(star.var_min, star.var_max)
        if star.mag > brightest:
            increase = round(star.mag - brightest, 3)
    if star.mag is None and star.ci is None and vtype is None:
        return
    writer.add('Magnitudes', OwnerID=owner, ApparentVMag=star.mag, VMagIncrease=increase,
               VariableType=text(vtype, VARTYPE_WIDTH), VariablePeriod=vperiod, BminusV=star.ci,
               VMagSource=text('HYG', ABBREV_WIDTH) if star.mag is not None else None,
               LastUpdated=text(date))


def write_orbits(writer, stars, orbits, planets, paths, report):
    """Gives each orbit and planet its ID in its system: star orbits first (in
    catalogue order), then each planet with its orbit around its host."""
    text = writer.text
    used = set()
    next_orbit, next_planet = {}, {}
    pair_orbit = {}

    def take_orbit_id(system, path, line, what):
        n = next_orbit.get(system.id, FIRST_ORBIT)
        if n > LAST_ORBIT:
            report.reject(path, line, f"{what}: its system already has "
                          f"{LAST_ORBIT - FIRST_ORBIT + 1} orbits")
            return None
        next_orbit[system.id] = n + 1
        return system.id + n

    for o in sorted(orbits, key=lambda o: (o.primary_pair is not None, o.line)):
        b = stars[o.secondary]
        if o.primary_pair:
            key = tuple(sorted(stars[x].component_id or 0 for x in o.primary_pair))
            primary_id = pair_orbit.get(key)
            if primary_id is None:
                report.warn(paths['orb6'], o.line, "orbit of a pair around a star skipped: "
                            "the pair has no orbit of its own")
                continue
        else:
            a = stars[o.primary]
            if a.system is None or b.system is None or a.system is not b.system:
                report.warn(paths['orb6'], o.line, "orbit skipped: a member was left out of its system")
                continue
            primary_id = a.component_id
        if b.system is None:
            continue
        oid = take_orbit_id(b.system, paths['orb6'], o.line, "orbit")
        if oid is None:
            continue
        if not o.primary_pair:
            pair_orbit[tuple(sorted((primary_id, b.component_id)))] = oid
        writer.add('Orbits', ID=oid, PrimaryID=primary_id, SecondaryID=b.component_id,
                   Period=o.period, SemimajorAxis=o.axis, Eccentricity=o.eccentricity,
                   Inclination=o.inclination, Omega=o.node, PeriastronEpoch=o.epoch,
                   IsAxisJustGap=0, Source=text(o.source, ABBREV_WIDTH),
                   PeriodError=o.period_error, LastUpdated=text(o.date), IsAxisAU=o.is_au)
        used.add(o.source)
        report.count('orbits')

    for p in planets:
        host = stars[p.host]
        system = host.system
        if system is None:
            continue
        n = next_planet.get(system.id, FIRST_PLANET)
        if n > LAST_PLANET:
            report.reject(p.path, p.line, f"planet {p.name}: its system already has "
                          f"{LAST_PLANET - FIRST_PLANET + 1} planets")
            continue
        o = p.orbit
        oid = take_orbit_id(system, p.path, p.line, f"planet {p.name}")
        if oid is None:
            continue
        next_planet[system.id] = n + 1
        pid = system.id + n
        writer.add('Planets', ID=pid, Name=text(p.name), LastUpdated=text(p.date), Mass=p.mass,
                   MassError=p.mass_error, IsMassAMinimum=p.is_minimum,
                   MassSource=text('NASA', ABBREV_WIDTH) if p.mass is not None else None,
                   Radius=p.radius, RadiusError=p.radius_error,
                   RadiusSource=text('NASA', ABBREV_WIDTH) if p.radius is not None else None)
        writer.add('Orbits', ID=oid, PrimaryID=host.component_id, SecondaryID=pid,
                   Period=o.period, SemimajorAxis=o.axis, Eccentricity=o.eccentricity,
                   Inclination=o.inclination, Omega=None, PeriastronEpoch=o.epoch,
                   IsAxisJustGap=0, Source=text('NASA', ABBREV_WIDTH),
                   PeriodError=o.period_error, LastUpdated=text(o.date), IsAxisAU=o.is_au)
        used.add('NASA')
        report.count('planets')
        report.count('orbits')
    return used


def write_catalog_names(writer, used):
    text = writer.text
    for abbrev in sorted(used):
        if abbrev in CATALOG_NAMES:
            long_name, description = CATALOG_NAMES[abbrev]
        else:
            long_name = f"Sixth Catalog of Orbits of Visual Binary Stars, reference {abbrev}"
            description = ("USNO Sixth Catalog of Orbits of Visual Binary Stars (ORB6); "
                           f"orbit published in reference {abbrev}")
        writer.add('CatalogNames', Abbreviation=text(abbrev, ABBREV_WIDTH),
                   LongName=text(long_name, LONGNAME_WIDTH), Description=text(description, 2047),
                   HasNoCatNumbers=0 if abbrev in ('HIP', 'HD', 'HR', 'Gl', 'GJ', 'Bayer',
                                                   'Flam', 'GCVS', 'HYG') else 1)


# ---------------------------------------------------------------- main

def parse_arguments(argv):
    p = argparse.ArgumentParser(
        prog='import-catalogues',
        description='Builds a VLDR database from an HYG-format star catalogue, optionally '
                    'joined with ORB6 orbits, exoplanets and star names.')
    p.add_argument('output', help='database file to write (replaced only when complete)')
    p.add_argument('--hyg', required=True, help='HYG-format star catalogue (CSV)')
    p.add_argument('--orb6', help='ORB6 orbital elements (text)')
    p.add_argument('--planets', action='append', default=[],
                   help='NASA Exoplanet Archive composite table (CSV); repeatable')
    p.add_argument('--iau-names', help='IAU star names (CSV)')
    p.add_argument('--names', help='common names as "name,GJ designation" lines')
    p.add_argument('--variables', help='Southern Stars star list with variability columns')
    for source in ('hyg', 'orb6', 'planets', 'variables'):
        p.add_argument(f'--{source}-date', metavar='YYYY-MM-DD',
                       help=f'release date of the {source} input (for LastUpdated)')
    p.add_argument('--schema', default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                    '..', 'schema.sql'),
                   help='schema to apply (default: db/schema.sql)')
    args = p.parse_args(argv)
    for source in ('hyg', 'orb6', 'planets', 'variables'):
        value = getattr(args, f'{source}_date')
        if value and not re.fullmatch(r'\d{4}-\d{2}-\d{2}', value):
            p.error(f'--{source}-date must be YYYY-MM-DD')
    return args


def run(argv, out=sys.stdout, err=sys.stderr):
    args = parse_arguments(argv)
    report = Report(err)
    for path in [args.hyg, args.orb6, args.iau_names, args.names, args.variables] + args.planets:
        if path and not os.path.isfile(path):
            print(f"{path}: no such file", file=err)
            return 2
    stars = read_hyg(args.hyg, report)
    if stars is None:
        return 2
    report.count('stars read', len(stars))
    dates = {'hyg': file_date(args.hyg, args.hyg_date)}
    index = Index(stars)
    union = UnionFind()
    # HYG's own grouping: every star with its comp_primary, and stars sharing a base.
    by_base = {}
    for s in stars.values():
        union.find(s.hyg_id)
        if s.comp_primary != s.hyg_id:
            if s.comp_primary in stars:
                union.union(s.hyg_id, s.comp_primary)
            else:
                report.warn(args.hyg, s.line, f"star {s.hyg_id}: comp_primary {s.comp_primary} "
                            "is not in the catalogue; kept as a system of its own")
        if s.base:
            if s.base in by_base:
                union.union(s.hyg_id, by_base[s.base])
            else:
                by_base[s.base] = s.hyg_id
    orbits = []
    if args.orb6:
        dates['orb6'] = file_date(args.orb6, args.orb6_date)
        orbits = read_orb6(args.orb6, dates['orb6'], stars, index, union, report)
    if args.iau_names:
        read_iau_names(args.iau_names, index, report)
    if args.names:
        read_names(args.names, index, report)
    if args.variables:
        read_variables(args.variables, file_date(args.variables, args.variables_date), index, report)
    planets = []
    if args.planets:
        known = [s.dist for s in stars.values() if s.dist is not None]
        max_distance = max(known) if known else None
        grid = SkyGrid(stars, PLANET_EPOCH)
        for path in args.planets:
            found = read_planets(path, file_date(path, args.planets_date), stars, grid,
                                 max_distance, report)
            for p in found:
                p.path = path
            planets += found
    systems = build_systems(stars, union, args.hyg, report)

    writer = Writer(report)
    writer.hyg_path = args.hyg
    used = write_rows(writer, systems, orbits, planets, dates, args.hyg, report)
    used |= write_orbits(writer, stars, orbits, planets, {'orb6': args.orb6}, report)
    write_catalog_names(writer, used)
    report.count('catalogue names', len(writer.rows['CatalogNames']))
    try:
        writer.write(os.path.abspath(args.schema), args.output)
    except (sqlite3.Error, OSError) as e:
        print(f"{args.output}: could not write the database: {e}", file=err)
        return 1

    c = report.counts
    print(f"Wrote {args.output}", file=out)
    print(f"  stars read:         {c.get('stars read', 0)}", file=out)
    print(f"  systems:            {c.get('systems', 0)}", file=out)
    print(f"  components:         {c.get('components', 0)}", file=out)
    print(f"  orbits:             {c.get('orbits', 0)} "
          f"({c.get('orbits', 0) - c.get('planets', 0)} of stars, {c.get('planets', 0)} of planets)",
          file=out)
    print(f"  planets:            {c.get('planets', 0)}", file=out)
    print(f"  proper names:       {c.get('proper names', 0)}", file=out)
    print(f"  catalogue numbers:  {c.get('catalogue numbers', 0)}", file=out)
    print(f"  catalogue names:    {c.get('catalogue names', 0)}", file=out)
    print(f"  rejected rows:      {report.rejected}", file=out)
    print(f"  warnings:           {report.warnings}", file=out)
    print(f"  declinations between 0 and -1 degree (sign lost): {report.declination_sign_lost}",
          file=out)
    print(f"  characters transliterated to windows-1252: {report.transliterated}", file=out)
    print(f"  texts cut to their column width: {report.truncated}", file=out)
    skipped = [(k, v) for k, v in sorted(c.items()) if k.startswith(('planets beyond', 'names for',
                                                                      'variables outside', 'orb6'))]
    for k, v in skipped:
        print(f"  {k}: {v}", file=out)
    return 0


if __name__ == '__main__':
    sys.exit(run(sys.argv[1:]))
