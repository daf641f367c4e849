"""Plausibility checks: a star whose absolute magnitude does not fit its
spectral and luminosity class, or whose distance and proper motion give a
tangential velocity no star of the Galaxy's disc or halo has, cannot be where
the catalogue puts it (usually a parallax that is wrong).

Such a star from the star catalogue alone is left out and reported as
rejected; a star of the nearby-star list (measured by Gaia) is kept and
reported as a warning.
"""
import math
import re

from .nearest import describe
from .spectra import parse_spectrum

# Absolute visual magnitude of main-sequence stars (luminosity class V) by
# spectral type, O0 = 0 ... M9 = 69, L0 = 70 (after Pecaut & Mamajek 2013,
# rounded to 0.1 mag); linear between the points.
MAIN_SEQUENCE = ((5, -5.7), (10, -4.0), (15, -1.1), (20, 1.1), (25, 1.9), (30, 2.5),
                 (35, 3.4), (40, 4.4), (45, 5.1), (50, 5.9), (55, 7.3), (60, 8.9),
                 (62, 10.3), (64, 12.5), (65, 14.0), (66, 15.5), (67, 17.0), (68, 18.3),
                 (69, 19.0), (70, 19.5), (79, 21.0))
CLASS_OFFSET = {'O': 0, 'B': 10, 'A': 20, 'F': 30, 'G': 40, 'K': 50, 'M': 60, 'L': 70}
# Absolute magnitudes of the other luminosity classes: an offset from the
# main sequence (subgiants, subdwarfs) or a typical value (giants and up).
# L, T and Y dwarfs are not judged: their visual magnitudes are rarely
# measured and the table stops at L0.
RELATIVE_TO_MAIN_SEQUENCE = {'IV': -1.5, 'VI': 1.5}
TYPICAL = {'III': 0.5, 'II': -2.5, 'Ib': -4.5, 'Iab': -5.5, 'Ia': -7.0, 'Ia0': -8.5}
# How far (magnitudes) a star may lie from its class's absolute magnitude;
# wide enough for unresolved binaries, young and metal-poor stars.
MAGNITUDE_MARGIN = 3.0
# Fastest tangential velocity (km/s) accepted: above the Galaxy's local escape
# speed (about 550 km/s).
FASTEST_TANGENTIAL_KM_S = 600.0
# km/s per (arcsec/yr x parsec).
KM_S_PER_ARCSEC_PARSEC = 4.740470
DISTANCE_MODULUS_PARSECS = 10.0


def spectral_type_number(spectral):
    """O0 = 0 ... M9.5 = 69.5 for a class with a subclass; None otherwise."""
    m = re.match(r'^([OBAFGKML])(\d+(?:\.\d+)?)', spectral or '')
    if not m:
        return None
    return CLASS_OFFSET[m.group(1)] + float(m.group(2))


def interpolate(points, t):
    """The value of a table of (type number, value) at t, linear between its
    points and clamped at its ends."""
    if t <= points[0][0]:
        return points[0][1]
    for (t0, v0), (t1, v1) in zip(points, points[1:]):
        if t <= t1:
            return v0 + (v1 - v0) * (t - t0) / (t1 - t0)
    return points[-1][1]


def main_sequence_magnitude(t):
    """The main-sequence absolute magnitude of spectral type number t."""
    return interpolate(MAIN_SEQUENCE, t)


def expected_magnitude(spect):
    """(the absolute visual magnitude a star of this spectral type has, whether
    only a star fainter than that is doubted), or (None, False) when the type
    gives no class with a subclass to judge by. Without a luminosity class the
    star is taken for a dwarf and doubted only when fainter than the main
    sequence allows: a brighter one may be an evolved star or a blend."""
    spectral, luminosity = parse_spectrum(spect)
    t = spectral_type_number(spectral)
    if t is None:
        return None, False
    if not luminosity:
        return main_sequence_magnitude(t), True
    lum = re.match(r'^(Ia0|Iab|Ia|Ib|III|II|IV|VI|V)', luminosity).group(1)
    if lum in TYPICAL:
        return TYPICAL[lum], False
    return main_sequence_magnitude(t) + RELATIVE_TO_MAIN_SEQUENCE.get(lum, 0.0), False


def doubts(star):
    """Why the star cannot be where its catalogue puts it, or None."""
    if not star.dist:
        return None
    expected, faint_side_only = expected_magnitude(star.spect)
    if expected is not None and star.mag is not None:
        absolute = star.mag + 5 - 5 * math.log10(star.dist)
        excess = absolute - expected
        if excess > MAGNITUDE_MARGIN or (not faint_side_only and excess < -MAGNITUDE_MARGIN):
            kind = ' (no luminosity class: taken for a dwarf)' if faint_side_only else ''
            return (f"absolute magnitude {absolute:+.2f} at {star.dist:g} pc, where a "
                    f"{star.spect} star{kind} has about {expected:+.1f}")
    if star.pm_ra is not None:
        motion = math.hypot(star.pm_ra, star.pm_dec) / 1000.0
        speed = KM_S_PER_ARCSEC_PARSEC * motion * star.dist
        if speed > FASTEST_TANGENTIAL_KM_S:
            return f"tangential velocity {speed:.0f} km/s at {star.dist:g} pc"
    return None


def check_plausibility(stars, hyg_path, nearest_path, report):
    """Reports every implausible star; leaves out those only the star
    catalogue holds (removing them from stars)."""
    for hyg_id in list(stars):
        star = stars[hyg_id]
        reason = doubts(star)
        if reason is None:
            continue
        report.implausible += 1
        if star.listed:
            report.warn(nearest_path, star.listed, f"star {hyg_id}: implausible but kept "
                        f"(the nearby-star list measured it): {reason}")
        else:
            report.reject(hyg_path, star.line, f"star {hyg_id}: implausible, left out: "
                          f"{describe(star)}: {reason}")
            del stars[hyg_id]
