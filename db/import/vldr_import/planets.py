"""The NASA Exoplanet Archive's Planetary Systems Composite Parameters table:
planets with their masses, sizes and orbits, and their hosts' masses and radii."""
from .csvfile import CsvTable
from .model import Orbit, Planet
from .units import DAYS_PER_YEAR, BadValue, angular_separation_arcsec, julian_date_to_year, number

# Epoch of the archive's coordinates (Gaia, about 2016), and how far
# (arcseconds, after moving the star by its proper motion) a host may be.
PLANET_EPOCH = 2016.0
HOST_MATCH_ARCSEC = 60.0
HOST_SURE_ARCSEC = 10.0


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


def find_host(grid, ra, dec, dist):
    """The star nearest to (ra, dec) (degrees) whose distance agrees with dist
    (parsecs, may be None), or None."""
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
    return host


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
    host = find_host(grid, ra, dec, dist)
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
    p.mass = number(field('pl_bmassj'), 'pl_bmassj')
    p.mass_error = None
    if p.mass:
        p.mass_error = relative_error(p.mass, table, row, 'pl_bmassjerr1', 'pl_bmassjerr2')
    p.is_minimum = 1 if field('pl_bmassprov').lower() == 'msini' else 0
    # A radius without an uncertainty is a model estimate, not a measurement.
    radius = number(field('pl_radj'), 'pl_radj')
    r1 = number(field('pl_radjerr1'), 'pl_radjerr1')
    r2 = number(field('pl_radjerr2'), 'pl_radjerr2')
    if radius and (r1 is not None or r2 is not None):
        p.radius = radius
        p.radius_error = relative_error(radius, table, row, 'pl_radjerr1', 'pl_radjerr2')
    p.orbit = planet_orbit(table, row, line, date, host)
    mass = number(field('st_mass'), 'st_mass')
    radius = number(field('st_rad'), 'st_rad')
    if host.mass is None and mass:
        host.mass, host.host_date = mass, date
    if host.radius is None and radius:
        host.radius, host.host_date = radius, date
    return p


def planet_orbit(table, row, line, date, host):
    """The Orbit of a planet around host: period in years, axis in AU."""
    def field(name):
        return table.field(row, name)

    o = Orbit()
    o.line, o.date, o.source = line, date, 'NASA'
    period = number(field('pl_orbper'), 'pl_orbper')
    if period:
        o.period = period / DAYS_PER_YEAR
        o.period_error = relative_error(period, table, row, 'pl_orbpererr1', 'pl_orbpererr2')
    o.axis = number(field('pl_orbsmax'), 'pl_orbsmax')
    o.is_au = 1 if o.axis is not None else None
    o.eccentricity = number(field('pl_orbeccen'), 'pl_orbeccen')
    o.inclination = number(field('pl_orbincl'), 'pl_orbincl')
    tper = number(field('pl_orbtper'), 'pl_orbtper')
    o.epoch = julian_date_to_year(tper) if tper else None
    o.primary = host.hyg_id
    return o

