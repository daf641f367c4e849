"""Units and number conversions shared by the catalogue readers.

Every constant here is the value the programs themselves use where they use
one, so what the importer stores reads back unchanged.
"""
import math

# Parsecs per light-year, the factor the programs use (1 / 3.261633).
PARSECS_PER_LIGHT_YEAR = 0.30659488667179907
# Milliarcseconds per radian (HYG's pmrarad/pmdecrad are in radians per year).
MAS_PER_RADIAN = 180.0 / math.pi * 3600.0 * 1000.0
DAYS_PER_YEAR = 365.25
HOURS_PER_YEAR = 8766.0
JD_J2000 = 2451545.0


class BadValue(Exception):
    """A field that cannot be read as the value its column holds."""


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
    """The year (Julian years from J2000) of a Julian date (days)."""
    return 2000.0 + (jd - JD_J2000) / DAYS_PER_YEAR


def angular_separation_arcsec(ra1, dec1, ra2, dec2):
    """Separation of two directions given in degrees, in arcseconds."""
    r1, d1, r2, d2 = map(math.radians, (ra1, dec1, ra2, dec2))
    s = math.sin((d2 - d1) / 2) ** 2 + math.cos(d1) * math.cos(d2) * math.sin((r2 - r1) / 2) ** 2
    return math.degrees(2 * math.asin(min(1.0, math.sqrt(s)))) * 3600.0
