"""Star designations: Gliese numbers, Bayer Greek letters, Flamsteed numbers
and the constellation names they are spelled with."""
import re

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


# Superscript digits windows-1252 holds (Omicron\u00b2 Eridani); a star numbered
# 4 and up keeps a plain digit.
SUPERSCRIPTS = {'1': '\u00b9', '2': '\u00b2', '3': '\u00b3'}
GREEK_BY_NAME = {name.lower(): abbrev for abbrev, name in GREEK.items()}


def superscript(digit):
    """The superscript of a Bayer number ('' for none)."""
    return SUPERSCRIPTS.get(digit, digit)


def spelled_designation(star, numbered=True):
    """'Alpha\u00b9 Centauri' for Bayer 'Alp-1' in 'Cen', 'Tau Ceti' for 'Tau' in
    'Cet', '61 Cygni' for Flamsteed 61 in 'Cyg'; None when the star has
    neither or the constellation is unknown. Without numbered, the Bayer
    number is left out: 'Alpha Centauri' for the system of alpha-1 and alpha-2."""
    genitive = CONSTELLATION_GENITIVE.get(star.con or '')
    if not genitive:
        return None
    greek = greek_parts(star.bayer)
    if greek:
        number = superscript(greek[1]) if numbered else ''
        return f"{GREEK[greek[0]]}{number} {genitive}"
    if star.flam and star.flam.strip().isdigit():
        return f"{star.flam.strip()} {genitive}"
    return None


def spelled_flamsteed(star):
    """The star's Flamsteed designation spelled out ('40 Eridani'), or None;
    it holds the short form ('40 Eri') at the start of a word."""
    genitive = CONSTELLATION_GENITIVE.get(star.con or '')
    if genitive and star.flam and star.flam.strip().isdigit():
        return f"{star.flam.strip()} {genitive}"
    return None


def spelled_variable(star):
    """The star's lettered variable-star designation spelled out ('YZ Ceti',
    'EV Lacertae'), by which such stars are known, or None; numbered ones
    (V645 Cen) are not names people use."""
    genitive = CONSTELLATION_GENITIVE.get(star.con or '')
    if genitive and star.var and re.fullmatch(r'[A-Z]{1,2}', star.var) and not greek_parts(star.var):
        return f"{star.var} {genitive}"
    return None


def listed_bayer(identifier):
    """('Alp-1', 'Cen') for a list's 'alpha1 Cen', ('Alp', 'Cen') for 'alpha Cen';
    None when it is not a Greek-letter designation."""
    m = re.match(r'^([a-z]+)(\d?) ([A-Z][A-Za-z]{1,2})$', identifier)
    if not m or m.group(1) not in GREEK_BY_NAME or m.group(3) not in CONSTELLATION_GENITIVE:
        return None
    letter = GREEK_BY_NAME[m.group(1)]
    return (f"{letter}-{m.group(2)}" if m.group(2) else letter), m.group(3)


def listed_flamsteed(identifier):
    """('40', 'Eri') for '40 Eri'; None otherwise."""
    m = re.match(r'^(\d+) ([A-Z][A-Za-z]{1,2})$', identifier)
    if not m or m.group(2) not in CONSTELLATION_GENITIVE:
        return None
    return m.group(1), m.group(2)


def listed_variable(identifier):
    """('V645', 'Cen') or ('UV', 'Cet') for a variable-star designation; None otherwise."""
    m = re.match(r'^(V\d{3,4}|[A-Z]{1,2}) ([A-Z][A-Za-z]{1,2})$', identifier)
    if not m or m.group(2) not in CONSTELLATION_GENITIVE:
        return None
    return m.group(1), m.group(2)


def gliese_prefix(number_text):
    """'Gl' for the numbers of the original catalogue (below 1000), else 'GJ'."""
    m = re.match(r'^(\d+)', number_text)
    return 'Gl' if m and int(m.group(1)) < 1000 else 'GJ'
