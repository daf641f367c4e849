"""Spectral types split into the spectral class and the luminosity class the
database holds separately.

A type is read as: an optional luminosity prefix (esd and sd for subdwarfs,
d, g, c), the class
(O..M, L, T, Y with subclass, range and uncertainty mark, or a white dwarf's
D class), an optional luminosity class, and peculiarity codes. Of the codes
only emission (e) is kept, written after the luminosity class ('Ve'); the
others (var, SB, p, '...', and the one-letter source codes of the Gliese
catalogue such as K or J) are left out, so they never end up in the class.
A composite type ('G8V + K4V') is split into its parts, one per star.
"""
import re

PREFIX_LUMINOSITY = {'esd': 'VI', 'sd': 'VI', 'd': 'V', 'g': 'III', 'c': 'I'}
# A one-letter source code at the end (Gliese's 'M4   K', 'dM5.5eJ'); I and V
# are luminosity classes, not codes.
SOURCE_CODE = re.compile(r'(?:(?<=\s)|(?<=[a-z]))[A-HJ-UW-Z]$')
LOWER_CASE_CLASS = re.compile(r'[fgkm](?:-[fgkm])?')
SUBCLASS = r'[0-9]+(?:\.[0-9]+)?'
NORMAL_CLASS = r'[OBAFGKMLTY](?:' + SUBCLASS + r')?(?:[-/][OBAFGKM]?(?:' + SUBCLASS + r')?)?'
WHITE_DWARF_CLASS = r'D[A-Z]+(?:' + SUBCLASS + r')?[A-Z]*'
LUMINOSITY = r'(?:Ia0|Iab|Ia|Ib|III|II|IV|VI|V)(?:[-/](?:Iab|Ia|Ib|III|II|IV|VI|V))?:?'
PART = re.compile(r'^(?P<cls>' + WHITE_DWARF_CLASS + '|' + NORMAL_CLASS + r')'
                  r'(?:\s*(?P<unc>[:?]))?\s*(?P<pec1>[a-z]*)\s*(?P<lum>' + LUMINOSITY + r')?'
                  r'(?P<rest>.*)$')


def spectrum_parts(text):
    """(spectral class, luminosity class) of every star of a spectral type, in
    order; either may be None. A type that cannot be read gives one part:
    the text as the class. No type gives []."""
    text = re.sub(r'\s+', ' ', (text or '').strip())
    if not text:
        return []
    parts = [p.strip() for p in text.split('+')]
    first = parse_part(parts[0])
    others = [parse_part(p) for p in parts[1:] if p and PART.match(strip_prefix(p)[0])]
    return [first] + others


def parse_spectrum(text):
    """(spectral class, luminosity class) of the first star of a spectral type:
    'G2V' -> ('G2', 'V'); 'sdM4' -> ('M4', 'VI'); 'DA2' -> ('DA2', None);
    'K2:III:' -> ('K2:', 'III:'); 'M1.5eV' -> ('M1.5', 'Ve'); 'G0V SB' -> ('G0', 'V')."""
    parts = spectrum_parts(text)
    return parts[0] if parts else (None, None)


def strip_prefix(text):
    """(text without a luminosity prefix, the prefix's luminosity class or None):
    'sdM4' and 'esdT0' are subdwarfs (VI)."""
    m = re.match(r'^(esd|sd|d|g|c)(?=[OBAFGKMLTY])(.*)$', text)
    if m:
        return m.group(2), PREFIX_LUMINOSITY[m.group(1)]
    return text, None


def parse_part(text):
    """(spectral class, luminosity class) of one star's type."""
    text = SOURCE_CODE.sub('', text).strip()
    if LOWER_CASE_CLASS.fullmatch(text):
        return text.upper(), None
    text, prefix_luminosity = strip_prefix(text)
    m = PART.match(text)
    if not m:
        return (text or None), prefix_luminosity
    spectral = m.group('cls') + (m.group('unc') or '')
    luminosity = prefix_luminosity or m.group('lum')
    codes = (m.group('pec1') or '') + ' ' + (m.group('rest') or '')
    if luminosity and emission(codes):
        luminosity += 'e'
    return spectral, luminosity


def emission(codes):
    """Whether peculiarity codes mark emission lines ('e', 'pe', 'V e')."""
    return any(re.fullmatch(r'p?e', word) for word in re.split(r'[\s.]+', codes) if word)
