"""Physical consistency of the systems once they are formed: what one star
or one pair says must agree with what its spectral type and its partners
say. Each rule has its tolerance here and a line of the report for every
star or orbit it changes or doubts:

  - HR and Flamsteed numbers only on stars bright enough to carry them
    (NAKED_EYE_LIMIT; checked before the systems are named);
  - one distance per close pair: a companion less than CLOSE_PAIR_AU
    (projected) from its system's primary takes the primary's distance;
  - one name per system: a name a star shares with an earlier star of its
    system is left out;
  - no blended or copied magnitudes on companions: a companion whose V equals
    an earlier star's (within SAME_MAGNITUDE), that is as bright (within
    BLEND_MARGIN) as an earlier star of an earlier type, or that is brighter
    than its type allows (plausibility.MAGNITUDE_MARGIN), loses its V and B-V;
  - the brighter of a pair is the earlier type: a star fainter than a
    companion of a later type takes back the star catalogue's V and B-V when
    those make it the brighter (Kruger 60 A);
  - colour against class: a B-V more than COLOUR_MARGIN from its type's is
    left out;
  - Kepler's law for every orbit of stars: the total mass axis^3 / period^2
    (AU, years, solar masses) against the masses of the spectral types; an
    orbit outside FLAG_FACTOR is reported, one outside IMPOSSIBLE_FACTOR
    (a factor 1.7 in the axis: beyond any error of an orbit worth showing)
    is left out.
"""
import math

from .nearest import describe
from .plausibility import MAGNITUDE_MARGIN, expected_magnitude, interpolate, spectral_type_number
from .rows import component_spectrum
from .units import angular_separation_arcsec

CLOSE_PAIR_AU = 1000.0
# The Bright Star (HR) catalogue and Flamsteed's reach V 6.5; a star fainter
# than this by far has another star's number.
NAKED_EYE_LIMIT = 8.0
SAME_MAGNITUDE = 0.005
# A companion of a later type is no brighter than this (magnitudes) above an
# earlier star of its system, unless its V is theirs blended.
BLEND_MARGIN = 0.05
# Types must differ by this many subclasses before the later is expected fainter.
CLEARLY_LATER_TYPE = 1.0
COLOUR_MARGIN = 0.5
FLAG_FACTOR = 3.0
IMPOSSIBLE_FACTOR = 5.0
# B-V of dwarfs by spectral type number (O0 = 0 ... M9 = 69), after Pecaut &
# Mamajek 2013; linear between the points.
DWARF_COLOUR = ((10, -0.30), (15, -0.16), (20, 0.00), (25, 0.15), (30, 0.30), (35, 0.44),
                (40, 0.59), (42, 0.65), (45, 0.68), (50, 0.82), (55, 1.15), (57, 1.33),
                (60, 1.42), (62, 1.50), (64, 1.60), (65, 1.83), (66, 2.00), (69, 2.10))
# Masses (solar) of dwarfs by spectral type number, after Pecaut & Mamajek
# 2013; L, T and Y dwarfs by typical field ages.
DWARF_MASS = ((10, 17.7), (15, 4.7), (20, 2.18), (25, 1.86), (30, 1.61), (35, 1.33),
              (40, 1.09), (42, 1.00), (45, 0.98), (50, 0.87), (55, 0.70), (57, 0.64),
              (60, 0.57), (62, 0.44), (63, 0.37), (64, 0.23), (65, 0.162), (66, 0.102),
              (67, 0.090), (68, 0.079), (69, 0.077), (70, 0.075), (80, 0.05), (90, 0.02))
WHITE_DWARF_MASS = 0.6
TYPE_OFFSET = {'T': 80, 'Y': 90}
# Luminosity classes whose mass the dwarf table gives closely enough.
DWARF_LIKE = ('V', 'VI', 'IV-V', 'IV')


def type_number(spectral):
    """O0 = 0 ... M9 = 69, L0 = 70, T0 = 80, Y0 = 90; None without a subclass."""
    t = spectral_type_number(spectral)
    if t is None and spectral and spectral[0] in TYPE_OFFSET:
        digits = spectral[1:].rstrip(':?')
        try:
            t = TYPE_OFFSET[spectral[0]] + float(digits)
        except ValueError:
            return None
    return t


def naked_eye_numbers(stars, path_of, report):
    """Leaves out the HR and Flamsteed numbers of stars too faint for the
    catalogues that give them (fainter than NAKED_EYE_LIMIT): they belong to
    another star (GJ 747 with 17 Lyr, HR 7261)."""
    for star in stars.values():
        if (star.hr or star.flam) and star.mag is not None and star.mag > NAKED_EYE_LIMIT:
            numbers = ', '.join(n for n in (f"HR {star.hr}" if star.hr else None,
                                            f"{star.flam} {star.con}" if star.flam else None) if n)
            report.override(*path_of(star), f"{describe(star)}: {numbers} left out: at V "
                            f"{star.mag:g} the star is too faint for the catalogues of the "
                            "naked-eye stars")
            star.hr = star.flam = None
            report.count('naked-eye numbers left out')


def check_systems(systems, path_of, report):
    """Applies the rules for stars to every system; path_of(star) is
    (file, line) of the row the star came from."""
    for system in systems:
        one_distance_per_close_pair(system, path_of, report)
        one_name_per_system(system, path_of, report)
        brighter_is_earlier(system, path_of, report)
        no_borrowed_magnitudes(system, path_of, report)
        for k, star in enumerate(system.stars):
            check_colour(system, k, star, path_of, report)


def one_distance_per_close_pair(system, path_of, report):
    primary = system.stars[0]
    if not primary.dist:
        return
    for star in system.stars[1:]:
        if star.dist is None or star.dist == primary.dist:
            continue
        au = angular_separation_arcsec(primary.ra * 15.0, primary.dec,
                                       star.ra * 15.0, star.dec) * primary.dist
        if au < CLOSE_PAIR_AU:
            report.override(*path_of(star), f"{describe(star)}: distance {star.dist:g} -> "
                            f"{primary.dist:g} pc, its primary's: {au:.0f} AU apart, less than "
                            f"{CLOSE_PAIR_AU:g}, a close pair has one distance")
            star.dist, star.dist_error = primary.dist, primary.dist_error
            star.sources['dist'] = primary.source('dist', 'HYG')
            report.count('close-pair distances made one')


def one_name_per_system(system, path_of, report):
    seen = set()
    for star in system.stars:
        for name in list(star.names):
            if name.casefold() in seen and len(system.stars) > 1:
                star.names.remove(name)
                report.warn(*path_of(star), f"{describe(star)}: name '{name}' left out: an "
                            "earlier star of its system has it")
            seen.add(name.casefold())


def no_borrowed_magnitudes(system, path_of, report):
    for k, star in enumerate(system.stars[1:], 1):
        if star.mag is None:
            continue
        t = type_number(component_spectrum(system, k)[0])
        earlier = [s for s in system.stars[:k] if s.mag is not None
                   and abs(s.mag - star.mag) <= SAME_MAGNITUDE]
        outshone = [s for j, s in enumerate(system.stars[:k]) if s.mag is not None
                    and star.mag <= s.mag + BLEND_MARGIN and t is not None
                    and (type_number(component_spectrum(system, j)[0]) or t) <= t - CLEARLY_LATER_TYPE]
        too_bright = too_bright_for_type(star)
        if earlier:
            why = f"the same as {describe(earlier[0])}'s, a blend or a copy"
        elif outshone:
            why = (f"as bright as {describe(outshone[0])} (V {outshone[0].mag:g}) of an earlier "
                   "type, a blend with it")
        elif too_bright:
            why = f"too bright for its type, a blend with its primary ({too_bright})"
        else:
            continue
        report.override(*path_of(star), f"{describe(star)}: V {star.mag:g} and B-V left out: "
                        f"{why}")
        star.mag = star.ci = None
        report.count('blended magnitudes left out')


def too_bright_for_type(star):
    """Why a star is brighter than its type allows by more than
    MAGNITUDE_MARGIN, or None."""
    expected, faint_side_only = expected_magnitude(star.spect)
    if expected is None or faint_side_only or not star.dist:
        return None
    absolute = star.mag + 5 - 5 * math.log10(star.dist)
    if absolute >= expected - MAGNITUDE_MARGIN:
        return None
    return f"absolute magnitude {absolute:+.2f}, where a {star.spect} star has about {expected:+.1f}"


def brighter_is_earlier(system, path_of, report):
    for k, star in enumerate(system.stars):
        t = type_number(component_spectrum(system, k)[0])
        if t is None or star.mag is None or not star.catalogue_photometry:
            continue
        for j, other in enumerate(system.stars):
            u = type_number(component_spectrum(system, j)[0])
            if other is star or u is None or other.mag is None or u - t < CLEARLY_LATER_TYPE:
                continue
            old_mag, old_ci = star.catalogue_photometry
            if star.mag > other.mag and old_mag is not None and old_mag < other.mag:
                report.conflict(*path_of(star), f"{describe(star)}: V {star.mag:g} here makes it "
                                f"fainter than {describe(other)} (V {other.mag:g}) of a later type; "
                                f"the star catalogue's V {old_mag:g} is kept")
                star.mag, star.ci = old_mag, old_ci
                star.sources['mag'] = 'HYG'
                break


def check_colour(system, k, star, path_of, report):
    spectral, luminosity, _ = component_spectrum(system, k)
    t = spectral_type_number(spectral)
    if star.ci is None or t is None or t >= 70 or (luminosity and luminosity.rstrip('e:')
                                                  not in DWARF_LIKE):
        return
    expected = interpolate(DWARF_COLOUR, t)
    if abs(star.ci - expected) > COLOUR_MARGIN:
        report.override(*path_of(star), f"{describe(star)}: B-V {star.ci:+.2f} left out: a "
                        f"{spectral} star has about {expected:+.2f} (more than {COLOUR_MARGIN:g} "
                        "from it)")
        star.ci = None
        report.count('colours left out')


# ---------------------------------------------------------------- orbits

def star_mass(system, k):
    """A star's mass (solar): its own where a catalogue gives it, else the one
    its spectral type gives; None for a type that gives none."""
    star = system.stars[k]
    if star.mass:
        return star.mass
    spectral, luminosity, _ = component_spectrum(system, k)
    if not spectral:
        return None
    if spectral.startswith('D'):
        return WHITE_DWARF_MASS
    if luminosity and luminosity.rstrip('e:') not in DWARF_LIKE:
        return None
    t = type_number(spectral)
    return interpolate(DWARF_MASS, t) if t is not None else None


def check_orbits(orbits, stars, orbit_path, report):
    """Checks every orbit of stars by Kepler's law; returns the orbits kept."""
    kept = []
    for o in orbits:
        members = list(o.primary_pair or (o.primary,)) + [o.secondary]
        member_stars = [stars.get(m) for m in members]
        if None in member_stars or any(s.system is None for s in member_stars):
            kept.append(o)
            continue
        masses = [star_mass(s.system, s.system.stars.index(s)) for s in member_stars]
        primary = member_stars[0]
        axis_au = o.axis if o.is_au else (o.axis * primary.dist if o.axis and primary.dist else None)
        known = [m for m in masses if m is not None]
        if not known or not o.period or not axis_au:
            report.count('orbits Kepler could not check')
            kept.append(o)
            continue
        # With a member's mass unknown, the others' are a lower bound only.
        expected = sum(known)
        kepler = axis_au ** 3 / o.period ** 2
        factor = expected / kepler if len(known) < len(masses) else \
            max(kepler / expected, expected / kepler)
        if factor <= 1.0:
            kept.append(o)
            continue
        what = (f"orbit of {' + '.join(describe(s) for s in member_stars)}: a = {axis_au:.4g} AU "
                f"and P = {o.period:.4g} years give {kepler:.3g} solar masses by Kepler's law, "
                f"their types {'at least ' if len(known) < len(masses) else ''}{expected:.3g} "
                f"(a factor {factor:.2g}")
        path = orbit_path(o)
        if factor > IMPOSSIBLE_FACTOR:
            report.reject(path, o.line, f"{what}, beyond {IMPOSSIBLE_FACTOR:g}): impossible for "
                          "stars of these types; left out")
            continue
        if factor > FLAG_FACTOR:
            report.warn(path, o.line, f"{what}, beyond {FLAG_FACTOR:g}): doubtful; kept")
        kept.append(o)
    return kept
