"""Text as the database holds it: windows-1252 bytes, cut to a column width.

The programs write database text into windows-1252 pages unchanged, so every
text is converted here once; characters the code page lacks are spelled in
ASCII and counted in the report.
"""
import unicodedata

# Characters windows-1252 lacks, with the ASCII that stands in for them.
TRANSLITERATIONS = {
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


class Encoder:
    """Converts texts for one import, counting what it changes in the report.
    Keeps the conversions it has made, since the same names recur."""

    def __init__(self, report):
        self.report = report
        self.converted = {}

    def encode(self, text, width=None):
        """Returns text as windows-1252 bytes. Characters that code page lacks are
        transliterated (accents dropped, Greek letters spelled, others '?') and
        each one is counted; a text longer than width characters is cut and counted."""
        key = (text, width)
        if key not in self.converted:
            self.converted[key] = convert(text, width)
        data, transliterated, truncated = self.converted[key]
        self.report.transliterated += transliterated
        self.report.truncated += truncated
        return data


def convert(text, width):
    """(bytes, characters transliterated, 1 if cut else 0) for text."""
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
            if ch in TRANSLITERATIONS:
                out.append(TRANSLITERATIONS[ch])
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
