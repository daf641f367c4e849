"""The NASA Exoplanet Archive's Planetary Systems Composite Parameters table:
planets with their masses, sizes and orbits, and their hosts' masses and radii.

A planet's host is found by position, then by name: of the stars near the
archive's coordinates, the one with the component letter the host name ends
with (GJ 667 C, though the list gives A, B and C one position), else a
primary. A value the archive gives only as a limit (its *lim columns: 1 an
upper limit, -1 a lower one) is not written as a value: an eccentricity's
bound goes to EccentricityBound, an upper mass limit to MassBound, a lower
one is a minimum mass; a limit on a radius, period or axis leaves it out.
The archive's controversy flag is kept. Each is a line of the report, as is
a planet whose period and axis, by Kepler's law, give its host a mass more
than KEPLER_FACTOR from the host's own.
"""
import re

from .csvfile import CsvTable
from .designations import gliese_stem, split_gliese
from .model import Orbit, Planet
from .nearest import describe
from .units import DAYS_PER_YEAR, BadValue, angular_separation_arcsec, julian_date_to_year, number

# Epoch of the archive's coordinates (Gaia, about 2016), and how far
# (arcseconds, after moving the star by its proper motion) a host may be.
PLANET_EPOCH = 2016.0
HOST_MATCH_ARCSEC = 60.0
HOST_SURE_ARCSEC = 10.0
# A host name ending in a component letter ('GJ 667 C', 'eps Ind A').
HOST_LETTER = re.compile(r'^.*\S\s+([A-D])$')
# How far (a factor either way) the host mass Kepler's law gives from a
# planet's period and axis may lie from the host's own mass.
KEPLER_FACTOR = 1.5
# The archive's limit flags.
UPPER_LIMIT, LOWER_LIMIT = 1, -1


def read_planets(path, date, grid, max_distance, report):
    """Reads the NASA composite planet table; each planet's host is the star
    nearest to the planet's coordinates (within HOST_MATCH_ARCSEC after moving
    the star by its proper motion) whose distance agrees. A planet whose host
    is missing is reported when it lies within max_distance (parsecs), else
    counted. Returns the Planets; the hosts' masses and radii are set."""
    table = CsvTable(path, skip_comments=True)
    if table.header is None:
        return []
    if table.missing(('pl_name', 'ra', 'dec')):
        report.refuse(f"{path}:{table.header_line}",
                      "not a NASA planet table: no pl_name, ra or dec column")
        return []
    planets = []
    for line, row in table.rows():
        if not row:
            continue
        if len(row) != len(table.header):
            report.reject(path, line, f"{len(row)} fields where the header has {len(table.header)}")
            continue
        report.count('planets read')
        try:
            planet = read_planet(table, row, line, date, grid, max_distance, path, report)
        except BadValue as e:
            report.reject(path, line, str(e))
            continue
        if planet is not None:
            planet.path = path
            planets.append(planet)
    return planets


def find_host(grid, ra, dec, dist, hostname):
    """(host, the nearest star by position) of a planet: of the stars near
    (ra, dec) (degrees) whose distance agrees with dist (parsecs, may be
    None), the nearest with the component letter hostname ends with, else
    the nearest that is no companion, else the nearest; (None, None) when
    there is none."""
    near = []
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
        near.append((sep, s.hyg_id, s))
    if not near:
        return None, None
    near.sort(key=lambda c: c[:2])
    m = HOST_LETTER.match(hostname or '')
    wanted = (m.group(1),) if m else (None, 'A')
    for _sep, _id, s in near:
        if star_letter(s) in wanted:
            return s, near[0][2]
    return near[0][2], near[0][2]


def star_letter(star):
    """The component letter a star is known by: its letter in the nearby-star
    list, else that of its Gliese designation, else None."""
    if star.letter:
        return star.letter
    parts = split_gliese(star.gl) if star.gl else None
    return (gliese_stem(parts[1])[1] or None) if parts else None


def relative_error(value, table, row, first, second):
    """The mean of the two uncertainty columns over value (a fraction), or None."""
    e1 = number(table.field(row, first), first)
    e2 = number(table.field(row, second), second)
    errors = [abs(e) for e in (e1, e2) if e is not None]
    if not errors:
        return None
    return sum(errors) / len(errors) / value


def read_planet(table, row, line, date, grid, max_distance, path, report):
    """The Planet of one row, or None when its host is not in the star catalogue."""
    def field(name):
        return table.field(row, name)

    ra, dec = number(field('ra'), 'ra'), number(field('dec'), 'dec')
    dist = number(field('sy_dist'), 'sy_dist')
    if ra is None or dec is None:
        raise BadValue("no host position")
    hostname = field('hostname')
    host, nearest = find_host(grid, ra, dec, dist, hostname)
    if host is None:
        if dist is not None and max_distance is not None and dist <= max_distance:
            report.warn(path, line, f"planet {field('pl_name')}: host "
                        f"{field('hostname')} not found in the star catalogue")
        else:
            report.count('planets beyond the star catalogue')
        return None
    p = Planet()
    p.line, p.host, p.date = line, host.hyg_id, date
    p.name = field('pl_name')
    if host is not nearest:
        report.override(path, line, f"planet {p.name}: host {hostname} is the star of its "
                        f"component letter ({describe(host)}), not the nearest by position "
                        f"({describe(nearest)})")
    p.mass = number(field('pl_bmassj'), 'pl_bmassj')
    p.mass_error = None
    if p.mass:
        p.mass_error = relative_error(p.mass, table, row, 'pl_bmassjerr1', 'pl_bmassjerr2')
    p.is_minimum = 1 if field('pl_bmassprov').lower() == 'msini' else 0
    mass_limit = limit_flag(field('pl_bmassjlim'))
    if mass_limit and p.mass is not None:
        p.mass_limit = mass_limit
        if mass_limit == UPPER_LIMIT:
            p.mass_bound, p.mass, p.mass_error = p.mass, None, None
            report.warn(path, line, f"planet {p.name}: mass {p.mass_bound:g} Jupiter masses is an "
                        "upper limit; kept as MassBound, not as the mass")
        else:
            p.is_minimum = 1
            report.warn(path, line, f"planet {p.name}: mass {p.mass:g} Jupiter masses is a lower "
                        "limit; written as a minimum")
    if field('pl_controv_flag') == '1':
        p.controversial = 1
        report.warn(path, line, f"planet {p.name}: the archive marks it controversial "
                    "(IsControversial)")
    elif field('pl_controv_flag') == '0':
        p.controversial = 0
    # A radius without an uncertainty is a model estimate, not a measurement.
    radius = number(field('pl_radj'), 'pl_radj')
    r1 = number(field('pl_radjerr1'), 'pl_radjerr1')
    r2 = number(field('pl_radjerr2'), 'pl_radjerr2')
    if radius and limit_flag(field('pl_radjlim')):
        report.warn(path, line, f"planet {p.name}: radius {radius:g} Jupiter radii is a limit; "
                    "left out")
    elif radius and (r1 is not None or r2 is not None):
        p.radius = radius
        p.radius_error = relative_error(radius, table, row, 'pl_radjerr1', 'pl_radjerr2')
    p.orbit = planet_orbit(table, row, line, date, host, p.name, path, report)
    mass = number(field('st_mass'), 'st_mass')
    check_kepler(p, mass or host.mass, path, report)
    radius = number(field('st_rad'), 'st_rad')
    if host.mass is None and mass:
        host.mass, host.host_date = mass, date
    if host.radius is None and radius:
        host.radius, host.host_date = radius, date
    return p


def limit_flag(text):
    """The archive's limit flag of a value: UPPER_LIMIT, LOWER_LIMIT or None."""
    return {'1': UPPER_LIMIT, '-1': LOWER_LIMIT}.get(text)


def planet_orbit(table, row, line, date, host, name, path, report):
    """The Orbit of a planet around host: period in years, axis in AU; a
    limit is reported and not written as a value."""
    def field(column):
        return table.field(row, column)

    o = Orbit()
    o.line, o.date, o.source = line, date, 'NASA'
    period = number(field('pl_orbper'), 'pl_orbper')
    if period and limit_flag(field('pl_orbperlim')):
        report.warn(path, line, f"planet {name}: period {period:g} days is a limit; left out")
    elif period:
        o.period = period / DAYS_PER_YEAR
        o.period_error = relative_error(period, table, row, 'pl_orbpererr1', 'pl_orbpererr2')
    axis = number(field('pl_orbsmax'), 'pl_orbsmax')
    if axis is not None and limit_flag(field('pl_orbsmaxlim')):
        report.warn(path, line, f"planet {name}: semimajor axis {axis:g} AU is a limit; left out")
    else:
        o.axis = axis
    o.is_au = 1 if o.axis is not None else None
    o.eccentricity = number(field('pl_orbeccen'), 'pl_orbeccen')
    eccentricity_limit = limit_flag(field('pl_orbeccenlim'))
    if eccentricity_limit and o.eccentricity is not None:
        o.eccentricity_limit, o.eccentricity_bound = eccentricity_limit, o.eccentricity
        o.eccentricity = None
        kind = 'an upper' if eccentricity_limit == UPPER_LIMIT else 'a lower'
        report.warn(path, line, f"planet {name}: eccentricity {o.eccentricity_bound:g} is {kind} "
                    "limit; kept as EccentricityBound, not as the eccentricity")
    o.inclination = number(field('pl_orbincl'), 'pl_orbincl')
    tper = number(field('pl_orbtper'), 'pl_orbtper')
    o.epoch = julian_date_to_year(tper) if tper else None
    o.primary = host.hyg_id
    return o


def check_kepler(planet, host_mass, path, report):
    """Reports a planet whose period and axis give, by Kepler's law (solar
    masses = AU^3 / years^2), a host mass more than KEPLER_FACTOR from
    host_mass (solar masses)."""
    o = planet.orbit
    if not (o.period and o.axis and host_mass):
        return
    kepler_mass = o.axis ** 3 / o.period ** 2
    factor = max(kepler_mass / host_mass, host_mass / kepler_mass)
    if factor > KEPLER_FACTOR:
        report.warn(path, planet.line, f"planet {planet.name}: period {o.period:.5g} years and "
                    f"axis {o.axis:g} AU give its host {kepler_mass:.3g} solar masses by Kepler's "
                    f"law, the host has {host_mass:g} (a factor {factor:.2g}, beyond "
                    f"{KEPLER_FACTOR:g})")
