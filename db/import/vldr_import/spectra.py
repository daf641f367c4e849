"""Spectral types split into the spectral class and the luminosity class the
database holds separately."""
import re


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
