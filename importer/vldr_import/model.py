"""What the readers make of the catalogues: stars, orbits, planets and the
systems they are grouped into. Plain records; the readers fill them and the
row layout (rows.py) turns them into database rows."""


class Record:
    """A record whose fields all start as None."""
    __slots__ = ()

    def __init__(self):
        for slot in self.__slots__:
            setattr(self, slot, None)


class Star(Record):
    """One star of the star catalogue. Distances in parsecs (dist_error a
    fraction), ra in hours, dec
    in degrees, proper motions in mas/yr (RA times cos Dec), rv in km/s."""
    __slots__ = ('hyg_id', 'line', 'hip', 'hd', 'hr', 'gl', 'bayer', 'flam', 'con', 'proper',
                 'ra', 'dec', 'dist', 'dist_error', 'pm_ra', 'pm_dec', 'rv', 'mag', 'ci', 'spect',
                 'comp', 'comp_primary', 'base', 'var', 'var_min', 'var_max',
                 'names', 'variability', 'catalogue_photometry', 'mass', 'radius', 'host_date', 'system',
                 'component_id', 'letter', 'luyten', 'listed', 'brown_dwarf', 'sources', 'date',
                 'more_numbers')

    def __init__(self):
        super().__init__()
        self.names = []
        # Source code of each value taken from another catalogue than the star
        # catalogue: keys 'dist', 'pm', 'rv', 'spect', 'mag'.
        self.sources = {}
        self.more_numbers = []
        # listed: the line of the star in the nearby-star list (None when it
        # is not listed); catalogue_photometry: the star catalogue's (V, B-V)
        # where a list replaced them; brown_dwarf: its line in the brown-dwarf list;
        # letter: its component letter there; luyten: its
        # Luyten number; date: release date of its values when not the star
        # catalogue's; more_numbers: (abbreviation, value) of catalogues the
        # star catalogue does not hold (Luyten, Giclas, Gaia).

    def source(self, value, default):
        """The source code of one of the star's values."""
        return self.sources.get(value, default)


class Orbit(Record):
    """An orbit of a star (or pair) around a star, or of a planet around its
    host: period in years, axis in arcseconds (or AU when is_au), epoch a year;
    eccentricity_limit 1 or -1 when the catalogue gives only a bound
    (eccentricity_bound) on the eccentricity; grade ORB6's grade."""
    __slots__ = ('line', 'primary', 'secondary', 'primary_pair', 'period', 'period_error',
                 'axis', 'is_au', 'eccentricity', 'inclination', 'node', 'epoch',
                 'source', 'date', 'planet', 'rank', 'eccentricity_limit', 'eccentricity_bound',
                 'grade')


class Planet(Record):
    """A planet and its host star: mass and radius in Jupiter units, errors as
    fractions; orbit is its Orbit."""
    __slots__ = ('line', 'path', 'name', 'host', 'mass', 'mass_error', 'is_minimum', 'radius',
                 'radius_error', 'date', 'orbit', 'mass_limit', 'mass_bound', 'controversial')


class System(Record):
    """A star system: its ID, its stars (primary first), its own name, the
    spelled Bayer or Flamsteed designation of its primary, and the component
    letter of each star."""
    __slots__ = ('id', 'stars', 'name', 'spelled', 'letters')
