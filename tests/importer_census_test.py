"""Tests of the census rules of the importer: the Gaia-era list and the
brown-dwarf list define the stars within 10 parsecs; brown dwarfs join their
primaries by name and separation, and the archive's faults are mended.

Run by CTest with VLDR_SOURCE_DIR set; from tests/ by hand:
python3 -m unittest -v importer_census_test
"""
import os
import re
import shutil
import sqlite3
import subprocess
import tempfile
import unittest

SOURCE_DIR = os.environ.get('VLDR_SOURCE_DIR',
                            os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FIXTURES = os.path.join(SOURCE_DIR, 'tests', 'fixtures')
IMPORT = os.path.join(SOURCE_DIR, 'importer', 'import-catalogues')
PARSECS_PER_LIGHT_YEAR = 0.30659488667179907


def light_years(parsecs):
    return round(parsecs / PARSECS_PER_LIGHT_YEAR, 5)


class CensusImportTest(unittest.TestCase):
    """One import of a small star catalogue, nearby-star list and brown-dwarf list."""

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix='vldr-census-')
        cls.db = os.path.join(cls.dir, 'census.db')
        cls.result = subprocess.run(
            [IMPORT, cls.db, '--hyg', os.path.join(FIXTURES, 'census_stars.csv'),
             '--nearest', os.path.join(FIXTURES, 'census_nearest.csv'),
             '--brown-dwarfs', os.path.join(FIXTURES, 'census_brown_dwarfs.csv'),
             '--brown-dwarfs-date', '2026-04-14', '--planets', os.path.join(FIXTURES, 'census_planets.csv')],
            capture_output=True, text=True, timeout=120)
        cls.con = sqlite3.connect(f'file:{cls.db}?mode=ro', uri=True)
        cls.con.text_factory = bytes

    @classmethod
    def tearDownClass(cls):
        cls.con.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def rows(self, sql, *params):
        return self.con.execute(sql, params).fetchall()

    def test_import_succeeds(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)

    def test_every_drop_and_mend_is_reported_with_its_reason(self):
        cases = (
            ('census_stars.csv', 4, r'rejected: HIP 82724 at 3\.6964 pc: no modern list confirms it'),
            ('census_brown_dwarfs.csv', 5, r"override: Gl 229B: parallax 173\.81 mas \(vanL07\) left out: "
                                           r"Hipparcos could not see"),
            ('census_brown_dwarfs.csv', 5, r"override: Gl 229B: companion of HIP 29295 by its name 'Gl 229B'; "
                                           r"takes its distance 5\.761 pc .*radial velocity 4\.734 km/s left out"),
            ('census_brown_dwarfs.csv', 6, r"override: epsilon IndiB: companion of HIP 108870 by its name "
                                           r"'epsilon IndiA'; radial velocity -40\.035 km/s left out"),
            ('census_brown_dwarfs.csv', 7, r'override: 2MASS J17502484-0016151: adopted parallax 45\.16 mas '
                                           r'\(Andr11\) lies 59 % from the others'),
            ('census_brown_dwarfs.csv', 7, r'override: 2MASS J17502484-0016151 is Gaia 4371611781966708992 of the census, '
                                           r'which keeps its values; spectrum L5'),
            ('census_brown_dwarfs.csv', 8, r'rejected: 2MASS J21392676\+0220226 at 10\.36 pc lies beyond the '
                                           r'census'),
            ('census_brown_dwarfs.csv', 9, r"conflict: GJ 229 C: named a companion of HIP 29295 \('GJ 229 C'\) "
                                           r"but \d+\" from it"),
            ('census_brown_dwarfs.csv', 10, r'rejected: WISE J000000\.00\+100000\.0: no parallax of its own'),
            ('census_planets.csv', 3, r'override: planet GJ 229 b: host GJ 229 is the star of its component '
                                      r'letter \(HIP 29295\), not the nearest by position \(Gl 229B\)'),
            ('census_planets.csv', 3, r'warning: planet GJ 229 b: the archive marks it controversial'),
            ('census_planets.csv', 3, r'warning: planet GJ 229 b: eccentricity 0\.404 is an upper limit'),
            ('census_planets.csv', 4, r'override: planet GJ 229 B b: host GJ 229 B is the star of its '
                                      r'component letter \(Gl 229B\)'),
            ('census_planets.csv', 4, r'warning: planet GJ 229 B b: mass 0\.02 Jupiter masses is an upper limit'),
            ('census_planets.csv', 4, r"warning: planet GJ 229 B b: period 0\.027379 years and axis 1 AU give "
                                      r"its host 1\.33e\+03 solar masses by Kepler's law, the host has 0\.05"),
            ('census_planets.csv', 5, r'warning: planet eps Ind A b: mass 3 Jupiter masses is a lower limit; '
                                      r'written as a minimum'),
            ('census_planets.csv', 5, r'warning: planet eps Ind A b: radius 1 Jupiter radii is a limit'),
        )
        for name, line, pattern in cases:
            with self.subTest(name=name, line=line):
                wanted = re.compile(re.escape(f"{os.path.join(FIXTURES, name)}:{line}: ") + pattern)
                self.assertTrue(any(wanted.match(l) for l in self.result.stderr.splitlines()),
                                self.result.stderr)

    def test_brown_dwarfs_are_systems_parts_or_companions(self):
        # (component ID, letter, spectral class, distance in ly, source, radial velocity)
        cases = (
            (200000401, b'A', b'L7.5', light_years(1000 / 501.4), b'SIMPLE', 17.6),     # Luhman 16 A
            (200000402, b'B', b'T0.5', light_years(1000 / 501.4), b'SIMPLE', 17.6),     # Luhman 16 B
            (1102, b'B', b'T7', light_years(5.761), b'SS10pc', None),                   # Gl 229B
            (3102, b'B', b'T1', light_years(1000 / 270.6580324694526), b'SIMPLE', None),  # eps Ind B
            (200001001, b'A', b'T8', light_years(1000 / 170.0), b'SIMPLE', 4.734),      # GJ 229 C, too far
        )
        for component, letter, spectral, distance, source, rv in cases:
            with self.subTest(component=component):
                self.assertEqual(self.rows('SELECT Name FROM Components WHERE ID = ?', component), [(letter,)])
                self.assertEqual(self.rows('SELECT SpectralClass FROM Spectra WHERE OwnerID = ?', component),
                                 [(spectral,)])
                owner = component if component % 100 > 1 else component - 1
                self.assertEqual(self.rows('SELECT Distance, DistanceSource FROM Positions WHERE OwnerID = ?',
                                           owner), [(distance, source)])
                self.assertEqual(self.rows('SELECT RadialVelocity FROM Velocities WHERE OwnerID = ?', owner),
                                 [(rv,)])
        self.assertEqual(self.rows('SELECT Name, IsSystemName FROM ProperNames WHERE OwnerID = 200000400'),
                         [(b'Luhman 16', 1)])
        self.assertEqual(self.rows("SELECT CatAbbrev, Value FROM CatalogNumbers WHERE OwnerID = 1102"),
                         [(b'Gl', b'229B')])

    def test_planets_sit_on_the_star_of_their_host_s_letter_with_limits_and_doubts_kept(self):
        # (planet, host, mass, minimum, mass limit, mass bound, controversial, radius,
        #  eccentricity, eccentricity limit, eccentricity bound)
        cases = (
            (1151, 1101, 0.047, 1, None, None, 1, None, None, 1, 0.404),    # GJ 229 b: on A, not on B
            (1152, 1102, None, 0, 1, 0.02, 0, None, 0.1, None, None),       # GJ 229 B b: on B
            (3151, 3101, 3.0, 1, -1, None, 0, None, 0.4, None, None),       # eps Ind A b
        )
        for planet, host, *values in cases:
            with self.subTest(planet=planet):
                self.assertEqual(self.rows('SELECT PrimaryID, Mass, IsMassAMinimum, MassLimit, MassBound, '
                                           'IsControversial, Radius, Eccentricity, EccentricityLimit, '
                                           'EccentricityBound FROM Planets JOIN Orbits ON SecondaryID = '
                                           'Planets.ID WHERE Planets.ID = ?', planet),
                                 [(host, *values)])

    def test_a_brown_dwarf_already_in_the_list_is_one_star(self):
        self.assertEqual(self.rows('SELECT SpectralClass, SpectrumSource FROM Spectra WHERE OwnerID = 100000501'),
                         [(b'L5', b'SIMPLE')])
        self.assertEqual(self.rows('SELECT Distance FROM Positions WHERE OwnerID = 100000500'),
                         [(light_years(9.2),)])
        self.assertEqual(self.rows('SELECT COUNT(*) FROM Systems WHERE ID = 200000800'), [(0,)])


if __name__ == '__main__':
    unittest.main()
