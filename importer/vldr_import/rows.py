"""Turning systems, orbits and planets into database rows (see layout.py for
the tables). Returns the abbreviations and source codes used, for the
catalogue registry."""
from .designations import (gliese_stem, greek_parts, spelled_flamsteed, spelled_variable,
                           split_gliese)
from .ids import OrbitIds
from .layout import VARTYPE_WIDTH
from .nearest import describe
from .spectra import spectrum_parts
from .units import PARSECS_PER_LIGHT_YEAR, proper_motion, split_declination, split_right_ascension

# Epoch (a year) of every position written.
POSITION_EPOCH = 2000.0


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
    numbers += star.more_numbers
    return numbers


def system_designation(system):
    """The catalogue number that names the system when it has no proper name:
    HYG's system designation (base), else the primary's Gliese number without
    its component letter, else its HIP, HD or HR number, else (for a star of
    the nearby-star list) its Luyten, Giclas or Gaia number or its position,
    else its HYG id."""
    primary = system.stars[0]
    if primary.base:
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
    if primary.more_numbers:
        return primary.more_numbers[0]
    if primary.listed or primary.brown_dwarf:
        return 'J2000', position_designation(primary)
    return 'HYG', str(primary.hyg_id)


def position_designation(star):
    """'J154045-5101' from the star's position (epoch 2000), for a star that
    no catalogue numbers."""
    h, m, s = split_right_ascension(star.ra)
    d, am, _, _ = split_declination(star.dec)
    sign = '-' if star.dec < 0 else '+'
    return f"J{h:02d}{m:02d}{int(s):02d}{sign}{abs(d):02d}{am:02d}"


def add_system_rows(rows, systems, hyg_date, source_line, report):
    """Adds the rows of every system and its components; returns the
    abbreviations used. source_line(star) is (file, line) of the row the star
    came from, for the report."""
    used = set()
    for system in systems:
        add_system(rows, system, hyg_date, source_line, report, used)
        for k, star in enumerate(system.stars):
            add_component(rows, system, k, star, hyg_date, source_line, report, used)
            used |= set(star.sources.values())
        used.add('HYG')
    return used


def add_system(rows, system, hyg_date, source_line, report, used):
    """The Systems row, the system's names and numbers, position and motion."""
    S = system.id
    primary = system.stars[0]
    single = len(system.stars) == 1
    rows.add('Systems', ID=S, LastUpdated=rows.text(hyg_date))
    report.count('systems')

    # Names: the system's own name first (marked), then the spelled
    # designation; a single star's names belong to the system itself.
    system_names = []
    if system.name:
        system_names.append(system.name)
    if system.spelled and system.spelled not in system_names:
        system_names.append(system.spelled)
    # The Flamsteed number names the whole system (40 Eridani A, B and C); a
    # variable-star designation its star.
    also = [spelled_flamsteed(primary)] + ([spelled_variable(primary)] if single else [])
    if single:
        system_names += [n for n in primary.names if n not in system_names]
    system_names += [n for n in also if n and n not in system_names]
    for k, name in enumerate(system_names):
        rows.add('ProperNames', OwnerID=S, Name=rows.text(name),
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
        rows.add('CatalogNumbers', OwnerID=S, CatAbbrev=rows.source(abbrev),
                 Value=rows.text(value), IsSystemName=1 if (abbrev, value) == designation else 0)
        used.add(abbrev)
        report.count('catalogue numbers')

    # The system's position and motion are its primary's.
    add_position(rows, S, primary, hyg_date, source_line, report)
    add_velocity(rows, S, primary, hyg_date)


def add_component(rows, system, k, star, hyg_date, source_line, report, used):
    """The Components row of the k-th star (from 0) and the rows it owns."""
    C = star.component_id
    single = len(system.stars) == 1
    letter = system.letters[k]
    comp_date = hyg_date
    if star.host_date and star.host_date > comp_date:
        comp_date = star.host_date
    rows.add('Components', ID=C, Name=rows.source(letter), IsCloseBinary=0,
             Mass=star.mass, Diameter=star.radius, LastUpdated=rows.text(comp_date),
             MassSource=rows.source('NASA') if star.mass else None,
             DiameterSource=rows.source('NASA') if star.radius else None,
             IsDiameterArcsec=0)
    if star.mass or star.radius:
        used.add('NASA')
    report.count('components')
    if not single:
        variable = spelled_variable(star)
        names = star.names + ([variable] if variable and variable not in star.names else [])
        for name in names:
            if name != system.name and name != system.spelled:
                rows.add('ProperNames', OwnerID=C, Name=rows.text(name), IsSystemName=0)
                report.count('proper names')
        for abbrev, value in catalogue_numbers(star):
            rows.add('CatalogNumbers', OwnerID=C, CatAbbrev=rows.source(abbrev),
                     Value=rows.text(value), IsSystemName=0)
            used.add(abbrev)
            report.count('catalogue numbers')
        if k > 0:
            add_position(rows, C, star, hyg_date, source_line, report)
            add_velocity(rows, C, star, hyg_date)
    spectral, luminosity, source = component_spectrum(system, k)
    if spectral or luminosity:
        rows.add('Spectra', OwnerID=C, SpectralClass=rows.text(spectral),
                 LuminosityClass=rows.text(luminosity), SpectrumSource=rows.source(source),
                 LastUpdated=rows.text(star.date or hyg_date))
    add_magnitudes(rows, C, star, star.date or hyg_date)


def component_spectrum(system, k):
    """(spectral class, luminosity class, source) of the k-th star: its own
    type's first part, else, for a companion without a type of its own, the
    part of the primary's composite type that describes it ('G8V + K4V')."""
    star = system.stars[k]
    parts = spectrum_parts(star.spect)
    if parts:
        return parts[0] + (star.source('spect', 'HYG'),)
    primary = system.stars[0]
    composite = spectrum_parts(primary.spect)
    if k > 0 and len(composite) > k:
        return composite[k] + (primary.source('spect', 'HYG'),)
    return None, None, None


def add_position(rows, owner, star, date, source_line, report):
    """The Positions row of owner from star: distance in light-years, RA and
    Dec split (none for the Sun); a declination that loses its sign is reported."""
    row = dict(OwnerID=owner, DistanceSource=rows.source(star.source('dist', 'HYG')),
               LastUpdated=rows.text(star.date or date), Epoch=POSITION_EPOCH)
    if star.dist is not None:
        row['Distance'] = round(star.dist / PARSECS_PER_LIGHT_YEAR, 5)
        row['DistanceError'] = round(star.dist_error, 5) if star.dist_error else None
    if star.dist != 0.0:
        h, m, s = split_right_ascension(star.ra)
        d, am, asec, sign_lost = split_declination(star.dec)
        if sign_lost:
            report.declination_sign_lost += 1
            report.warn(*source_line(star),
                        f"star {star.hyg_id}: declination {star.dec:+.6f} lies between 0 and -1 "
                        f"degree, which the database cannot hold; stored as +0 {am}' {asec}\" "
                        f"(the sign is lost; {describe(star)})")
        row.update(RA_hr=h, RA_min=m, RA_sec=s, Dec_deg=d, Dec_arcmin=am, Dec_arcsec=asec)
    rows.add('Positions', **row)


def add_velocity(rows, owner, star, date):
    """The Velocities row of owner: proper motion (arcsec/yr, degrees from
    north) and radial velocity (km/s); none when both are unknown."""
    if star.pm_ra is None and star.rv is None:
        return
    row = dict(OwnerID=owner, LastUpdated=rows.text(star.date or date))
    if star.pm_ra is not None:
        total, angle = proper_motion(star.pm_ra, star.pm_dec)
        row.update(ProperMotion=round(total, 5), PMAngle=round(angle, 2),
                   PMSource=rows.source(star.source('pm', 'HYG')))
    if star.rv is not None:
        row.update(RadialVelocity=star.rv, RVSource=rows.source(star.source('rv', 'HYG')))
    rows.add('Velocities', **row)


def add_magnitudes(rows, owner, star, date):
    """The Magnitudes row of owner: V magnitude, B-V and variability (the
    increase to the brightest magnitude, the type, the period in days)."""
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
    rows.add('Magnitudes', OwnerID=owner, ApparentVMag=star.mag, VMagIncrease=increase,
             VariableType=rows.text(vtype, VARTYPE_WIDTH), VariablePeriod=vperiod, BminusV=star.ci,
             VMagSource=rows.source(star.source('mag', 'HYG')) if star.mag is not None else None,
             LastUpdated=rows.text(date))


def add_orbit_row(rows, oid, primary_id, secondary_id, o, source, omega):
    """One Orbits row from Orbit o."""
    rows.add('Orbits', ID=oid, PrimaryID=primary_id, SecondaryID=secondary_id,
             Period=o.period, SemimajorAxis=o.axis, Eccentricity=o.eccentricity,
             Inclination=o.inclination, Omega=omega, PeriastronEpoch=o.epoch,
             IsAxisJustGap=0, Source=rows.source(source),
             PeriodError=o.period_error, LastUpdated=rows.text(o.date), IsAxisAU=o.is_au,
             EccentricityLimit=o.eccentricity_limit, EccentricityBound=o.eccentricity_bound,
             Grade=o.grade)


def add_orbit_rows(rows, stars, orbits, planets, orb6_path, report):
    """Gives each orbit and planet its ID in its system: star orbits first (in
    catalogue order), then each planet with its orbit around its host. Returns
    the source codes used."""
    used = set()
    ids = OrbitIds()
    pair_orbit = {}

    def take_orbit_id(system, path, line, what):
        oid = ids.orbit(system.id)
        if oid is None:
            report.reject(path, line, f"{what}: its system already has "
                          f"{OrbitIds.ORBIT_CAPACITY} orbits")
        return oid

    for o in sorted(orbits, key=lambda o: (o.primary_pair is not None, o.rank or 0, o.line)):
        b = stars[o.secondary]
        if o.primary_pair:
            key = tuple(sorted(stars[x].component_id or 0 for x in o.primary_pair))
            primary_id = pair_orbit.get(key)
            if primary_id is None:
                report.warn(orb6_path, o.line, "orbit of a pair around a star skipped: "
                            "the pair has no orbit of its own")
                continue
        else:
            a = stars[o.primary]
            if a.system is None or b.system is None or a.system is not b.system:
                report.warn(orb6_path, o.line, "orbit skipped: a member was left out of its system")
                continue
            primary_id = a.component_id
        if b.system is None:
            continue
        oid = take_orbit_id(b.system, orb6_path, o.line, "orbit")
        if oid is None:
            continue
        if not o.primary_pair:
            pair_orbit[tuple(sorted((primary_id, b.component_id)))] = oid
        add_orbit_row(rows, oid, primary_id, b.component_id, o, o.source, o.node)
        used.add(o.source)
        report.count('orbits')

    for p in planets:
        host = stars[p.host]
        system = host.system
        if system is None:
            continue
        if not ids.planet_left(system.id):
            report.reject(p.path, p.line, f"planet {p.name}: its system already has "
                          f"{OrbitIds.PLANET_CAPACITY} planets")
            continue
        oid = take_orbit_id(system, p.path, p.line, f"planet {p.name}")
        if oid is None:
            continue
        pid = ids.planet(system.id)
        rows.add('Planets', ID=pid, Name=rows.text(p.name), LastUpdated=rows.text(p.date),
                 Mass=p.mass, MassError=p.mass_error, IsMassAMinimum=p.is_minimum,
                 MassSource=rows.source('NASA') if p.mass is not None else None,
                 Radius=p.radius, RadiusError=p.radius_error,
                 RadiusSource=rows.source('NASA') if p.radius is not None else None,
                 MassLimit=p.mass_limit, MassBound=p.mass_bound, IsControversial=p.controversial)
        add_orbit_row(rows, oid, host.component_id, pid, p.orbit, 'NASA', None)
        used.add('NASA')
        report.count('planets')
        report.count('orbits')
    return used
