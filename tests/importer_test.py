"""Tests of the catalogue importer (importer/import-catalogues): small fixture
catalogues for its rules, and the shipped catalogues through the real programs.

Run by CTest with VLDR_SOURCE_DIR, VLDR_BIN_DIR and VLDR_EXTENSION_PATH set;
from tests/ by hand:  python3 -m unittest -v importer_test
"""
import math
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.environ.get('VLDR_SOURCE_DIR',
                            os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN_DIR = os.environ.get('VLDR_BIN_DIR', os.path.join(SOURCE_DIR, 'build', 'bin'))
EXTENSION = os.environ.get('VLDR_EXTENSION_PATH',
                           os.path.join(SOURCE_DIR, 'build', 'lib', 'vldr_sqlite_ext.so'))
IMPORT = os.path.join(SOURCE_DIR, 'importer', 'import-catalogues')
FIXTURES = os.path.join(SOURCE_DIR, 'tests', 'fixtures')
PARSECS_PER_LIGHT_YEAR = 0.30659488667179907

sys.path.insert(0, os.path.join(SOURCE_DIR, 'importer'))
from vldr_import import spectra, units  # noqa: E402


def fixture(name):
    return os.path.join(FIXTURES, name)


def run_import(out, *args):
    return subprocess.run([IMPORT, out, *args], capture_output=True, text=True, timeout=300)


def connect(path):
    con = sqlite3.connect(f'file:{path}?mode=ro', uri=True)
    con.text_factory = bytes
    return con


def rows(con, sql, *params):
    return con.execute(sql, params).fetchall()


class SplittingTest(unittest.TestCase):
    """Rounding once, then splitting, never leaves 60 seconds."""

    def test_right_ascension_that_rounds_up_carries_into_the_hour(self):
        self.assertEqual(units.split_right_ascension(1 + 59 / 60 + 59.9996 / 3600), (2, 0, 0.0))

    def test_right_ascension_of_24_hours_is_0(self):
        self.assertEqual(units.split_right_ascension(23.99999999), (0, 0, 0.0))

    def test_right_ascension_keeps_thousandths_of_a_second(self):
        h, m, s = units.split_right_ascension(14 + 39 / 60 + 36.4951 / 3600)
        self.assertEqual((h, m), (14, 39))
        self.assertAlmostEqual(s, 36.495, places=9)

    def test_southern_declination_carries_the_sign_in_the_degrees(self):
        self.assertEqual(units.split_declination(-(60 + 50 / 60 + 2.308 / 3600)),
                         (-60, 50, 2.31, False))

    def test_declination_that_rounds_up_carries_into_the_degree(self):
        self.assertEqual(units.split_declination(-(10 + 59 / 60 + 59.996 / 3600)),
                         (-11, 0, 0.0, False))

    def test_declination_between_0_and_minus_1_degree_loses_its_sign(self):
        self.assertEqual(units.split_declination(-0.5), (0, 30, 0.0, True))

    def test_declination_rounding_to_zero_is_not_a_lost_sign(self):
        self.assertEqual(units.split_declination(-0.000001), (0, 0, 0.0, False))

    def test_proper_motion_angle_runs_from_north_through_east(self):
        total, angle = units.proper_motion(3000.0, 4000.0)
        self.assertAlmostEqual(total, 5.0)
        self.assertAlmostEqual(angle, math.degrees(math.atan2(3, 4)))
        self.assertAlmostEqual(units.proper_motion(-1000.0, 0.0)[1], 270.0)
        self.assertAlmostEqual(units.proper_motion(0.0, -1000.0)[1], 180.0)

    def test_spectral_types_split_into_class_and_luminosity_class(self):
        self.assertEqual(spectra.parse_spectrum('G2V'), ('G2', 'V'))
        self.assertEqual(spectra.parse_spectrum('sdM4'), ('M4', 'VI'))
        self.assertEqual(spectra.parse_spectrum('dM4.5e'), ('M4.5', 'Ve'))
        self.assertEqual(spectra.parse_spectrum('A7IV-V'), ('A7', 'IV-V'))
        self.assertEqual(spectra.parse_spectrum('DA2'), ('DA2', None))
        self.assertEqual(spectra.parse_spectrum(''), (None, None))


class FixtureImportTest(unittest.TestCase):
    """One import of the small fixture catalogues, checked table by table."""

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix='vldr-import-')
        cls.db = os.path.join(cls.dir, 'fixture.db')
        cls.result = run_import(
            cls.db,
            '--hyg', fixture('importer_stars.csv'), '--hyg-date', '2014-01-01',
            '--orb6', fixture('importer_orbits.txt'), '--orb6-date', '2025-06-09',
            '--planets', fixture('importer_planets.csv'), '--planets-date', '2024-10-15',
            '--names', fixture('importer_names.csv'),
            '--variables', fixture('importer_variables.csv'), '--variables-date', '2026-07-09')
        cls.con = connect(cls.db) if os.path.exists(cls.db) else None

    @classmethod
    def tearDownClass(cls):
        if cls.con:
            cls.con.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def report_lines(self):
        return self.result.stderr.splitlines()

    def assertReported(self, file, line, pattern):
        path = fixture(file)
        wanted = re.compile(re.escape(f"{path}:{line}: ") + pattern)
        self.assertTrue(any(wanted.match(l) for l in self.report_lines()),
                        f"no report {path}:{line}: {pattern} in:\n{self.result.stderr}")

    def summary(self, label):
        m = re.search(r'^\s*' + re.escape(label) + r':\s*(\d+)', self.result.stdout, re.M)
        self.assertIsNotNone(m, f"no '{label}' in the summary:\n{self.result.stdout}")
        return int(m.group(1))

    def test_import_succeeds(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)

    # Grouping and IDs

    def test_systems_are_grouped_by_comp_primary_base_and_orb6_pairs(self):
        components = {sid: [r[0] for r in rows(self.con, 'SELECT ID FROM Components WHERE ID/100 = ? '
                                                         'ORDER BY ID', sid // 100)]
                      for (sid,) in rows(self.con, 'SELECT ID FROM Systems')}
        self.assertEqual(components[1100], [1101, 1102, 1103])      # comp_primary and base
        self.assertEqual(components[2100], [2101, 2102])            # joined by the ORB6 AB pair
        self.assertNotIn(2200, components)
        self.assertEqual(components[100], [101])                    # the Sun, HYG id 0
        self.assertEqual(sorted(components), [100, 1100, 2100, 3100, 3200, 4100, 5100, 5200, 5300])

    def test_system_id_is_100_times_the_primary_hyg_id_plus_1(self):
        (name,) = rows(self.con, "SELECT Name FROM ProperNames WHERE OwnerID = 1101")[0]
        self.assertEqual(name, b'Primus')
        self.assertEqual(rows(self.con, "SELECT OwnerID FROM CatalogNumbers "
                                        "WHERE CatAbbrev = 'GJ' AND Value = '1999'"), [(3100,)])

    def test_components_are_lettered_from_the_primary(self):
        self.assertEqual(rows(self.con, 'SELECT ID, Name FROM Components WHERE ID/100 = 11 ORDER BY ID'),
                         [(1101, b'A'), (1102, b'B'), (1103, b'C')])
        self.assertEqual(rows(self.con, 'SELECT Name FROM Components WHERE ID = 4109'), [(b'I',)])

    def test_a_tenth_star_of_a_system_is_rejected(self):
        self.assertEqual(rows(self.con, 'SELECT COUNT(*) FROM Components WHERE ID/100 = 41'), [(9,)])
        self.assertReported('importer_stars.csv', 22, r'rejected: star 49: its system already has 9 components')

    def test_orbits_join_components_of_their_system(self):
        got = rows(self.con, 'SELECT ID, PrimaryID, SecondaryID, Source FROM Orbits WHERE ID/100 = 21 '
                             'ORDER BY ID')
        self.assertEqual(got, [(2111, 2101, 2102, b'Tst2020'), (2112, 2101, 2102, b'Old1990'),
                               (2113, 2101, 2151, b'NASA')])

    def test_orbit_whose_second_member_is_missing_is_reported(self):
        self.assertReported('importer_orbits.txt', 11, r'warning: orbit AC of HIP 2020 skipped: '
                                                       r'member C is not in the star catalogue')

    def test_orbit_with_a_bad_number_is_rejected_with_its_line(self):
        self.assertReported('importer_orbits.txt', 17, r"rejected: column P: 'x12' is not a number")

    # Units

    def test_orbit_units_are_years_and_arcseconds(self):
        (p1, a1, e1, t1, err1, au1), (p2, a2, e2, t2, err2, au2) = rows(
            self.con, 'SELECT Period, SemimajorAxis, Eccentricity, PeriastronEpoch, PeriodError, '
                      'IsAxisAU FROM Orbits WHERE ID IN (2111, 2112) ORDER BY ID')
        self.assertEqual((p1, a1, e1, t1, au1), (12.5, 1.25, 0.3, 2001.25, 0))
        self.assertAlmostEqual(err1, 0.02)
        self.assertAlmostEqual(p2, 10.0)            # 3652.5 days
        self.assertAlmostEqual(a2, 1.25)            # 1250 milliarcseconds
        self.assertAlmostEqual(t2, 2000.0 - 0.5 / 365.25)   # JD - 2400000 = 51544.5
        self.assertIsNone(err2)

    def test_planet_in_jupiter_masses_with_minimum_flag_and_orbit_in_years_and_au(self):
        self.assertEqual(rows(self.con, 'SELECT ID, Name, Mass, IsMassAMinimum, MassSource, Radius, '
                                        'LastUpdated FROM Planets'),
                         [(2151, b'Test b', 0.5, 1, b'NASA', 0.9, b'2024-10-15')])
        (mass_error, radius_error), = rows(self.con, 'SELECT MassError, RadiusError FROM Planets')
        self.assertAlmostEqual(mass_error, 0.1)
        self.assertAlmostEqual(radius_error, 0.1 / 0.9)
        (period, axis, is_au, e), = rows(self.con, 'SELECT Period, SemimajorAxis, IsAxisAU, Eccentricity '
                                                   'FROM Orbits WHERE ID = 2113')
        self.assertAlmostEqual(period, 1.0)
        self.assertEqual((axis, is_au, e), (1.0, 1, 0.1))
        self.assertEqual(rows(self.con, 'SELECT Mass, Diameter, MassSource FROM Components WHERE ID = 2101'),
                         [(0.8, 0.9, b'NASA')])

    def test_planet_whose_host_is_missing_is_reported_and_far_planets_counted(self):
        self.assertReported('importer_planets.csv', 6, r'warning: planet Near b: host Near not found')
        self.assertFalse(any('Far b' in l for l in self.report_lines()))
        self.assertEqual(self.summary('planets beyond the star catalogue'), 1)

    def test_position_rounds_once_then_splits(self):
        (h, m, s, d, am, asec, dist, epoch), = rows(
            self.con, 'SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, Epoch '
                      'FROM Positions WHERE OwnerID = 3100')
        self.assertEqual((h, m, s, d, am, asec), (2, 0, 0.0, -11, 0, 0.0))
        self.assertAlmostEqual(dist, 1 / PARSECS_PER_LIGHT_YEAR, places=5)
        self.assertEqual(epoch, 2000.0)

    def test_no_position_has_60_seconds(self):
        self.assertEqual(rows(self.con, 'SELECT COUNT(*) FROM Positions WHERE RA_sec >= 60 OR '
                                        'Dec_arcsec >= 60 OR RA_min >= 60 OR Dec_arcmin >= 60'), [(0,)])

    def test_the_sun_has_distance_0_and_no_direction(self):
        self.assertEqual(rows(self.con, 'SELECT Distance, RA_hr, Dec_deg FROM Positions WHERE OwnerID = 100'),
                         [(0.0, None, None)])

    def test_velocity_in_arcsec_per_year_from_north_through_east(self):
        (pm, angle, rv), = rows(self.con, 'SELECT ProperMotion, PMAngle, RadialVelocity FROM Velocities '
                                          'WHERE OwnerID = 3100')
        self.assertAlmostEqual(pm, 5.0)
        self.assertAlmostEqual(angle, 36.87, places=2)
        self.assertIsNone(rv)              # HYG's 0.0 is an unknown velocity
        (pm, angle, rv), = rows(self.con, 'SELECT ProperMotion, PMAngle, RadialVelocity FROM Velocities '
                                          'WHERE OwnerID = 2100')
        self.assertAlmostEqual(pm, 0.5)
        self.assertAlmostEqual(angle, 360 - 36.87, places=2)
        self.assertEqual(rv, -12.5)

    def test_secondary_stars_have_their_own_positions_and_the_primary_inherits(self):
        owners = [r[0] for r in rows(self.con, 'SELECT OwnerID FROM Positions WHERE OwnerID/100 = 11 '
                                               'ORDER BY OwnerID')]
        self.assertEqual(owners, [1100, 1102, 1103])

    def test_spectra_and_magnitudes(self):
        self.assertEqual(rows(self.con, 'SELECT SpectralClass, LuminosityClass, SpectrumSource, LastUpdated '
                                        'FROM Spectra WHERE OwnerID = 3101'),
                         [(b'M4', b'VI', b'HYG', b'2014-01-01')])
        self.assertEqual(rows(self.con, 'SELECT ApparentVMag, BminusV, VMagSource FROM Magnitudes '
                                        'WHERE OwnerID = 3101'), [(9.5, 1.5, b'HYG')])

    def test_variable_type_range_and_period_from_the_variable_list(self):
        self.assertEqual(rows(self.con, 'SELECT VariableType, VMagIncrease, VariablePeriod, LastUpdated '
                                        'FROM Magnitudes WHERE OwnerID = 1101'),
                         [(b'UV', 0.75, 2.5, b'2026-07-09')])

    # Names and catalogue numbers

    def test_system_name_is_the_spelled_designation_when_its_stars_have_names_of_their_own(self):
        self.assertEqual(rows(self.con, 'SELECT Name, IsSystemName FROM ProperNames WHERE OwnerID = 1100'),
                         [(b'Alpha\xb9 Eridani', 1)])
        self.assertEqual(rows(self.con, 'SELECT Name FROM ProperNames WHERE OwnerID = 1102'), [(b'Secundus',)])

    def test_every_system_has_a_marked_designation(self):
        unmarked = rows(self.con, 'SELECT ID FROM Systems WHERE ID NOT IN '
                                  '(SELECT OwnerID FROM CatalogNumbers WHERE IsSystemName = 1)')
        self.assertEqual(unmarked, [])
        self.assertEqual(rows(self.con, 'SELECT CatAbbrev, Value FROM CatalogNumbers '
                                        'WHERE OwnerID = 2100 AND IsSystemName = 1'), [(b'Gl', b'901')])
        self.assertEqual(rows(self.con, 'SELECT CatAbbrev, Value FROM CatalogNumbers '
                                        'WHERE OwnerID = 1100 AND IsSystemName = 1'), [(b'Gl', b'900')])

    def test_star_catalogue_numbers(self):
        got = rows(self.con, 'SELECT CatAbbrev, Value FROM CatalogNumbers WHERE OwnerID = 1101')
        self.assertEqual(got, [(b'Gl', b'900A'), (b'HIP', b'1010'), (b'HD', b'1111'), (b'HR', b'101'),
                               (b'Bayer', b'Alp1 Eri')])

    def test_every_abbreviation_and_source_has_a_registry_row_whose_label_does_not_repeat_it(self):
        used = set()
        for sql in ('SELECT CatAbbrev FROM CatalogNumbers', 'SELECT DistanceSource FROM Positions',
                    'SELECT SpectrumSource FROM Spectra', 'SELECT VMagSource FROM Magnitudes',
                    'SELECT PMSource FROM Velocities', 'SELECT RVSource FROM Velocities',
                    'SELECT Source FROM Orbits', 'SELECT MassSource FROM Planets',
                    'SELECT RadiusSource FROM Planets', 'SELECT MassSource FROM Components',
                    'SELECT DiameterSource FROM Components'):
            used |= {r[0] for r in rows(self.con, sql) if r[0] is not None}
        named = {r[0] for r in rows(self.con, "SELECT Abbreviation FROM CatalogNames WHERE Description <> ''")}
        self.assertEqual(used - named, set())
        # The page shows "LongName (Abbreviation)": a long name equal to the
        # abbreviation would read "Bayer (Bayer) Alp1 Cen".
        self.assertEqual(rows(self.con, 'SELECT Abbreviation FROM CatalogNames WHERE LongName = Abbreviation'), [])

    def test_text_is_windows_1252_with_transliterations_counted(self):
        self.assertEqual(rows(self.con, 'SELECT Name FROM ProperNames WHERE OwnerID = 5100'), [(b'Star Nova',)])
        self.assertEqual(rows(self.con, 'SELECT Name FROM ProperNames WHERE OwnerID = 5200'),
                         [(b'alpha Test',)])
        self.assertEqual(rows(self.con, 'SELECT Name FROM ProperNames WHERE OwnerID = 5300'),
                         [('A\u00f1a\u00f1uca'.encode('cp1252'),)])
        self.assertEqual(self.summary('characters transliterated to windows-1252'), 2)

    def test_dates_come_from_the_catalogue_releases(self):
        self.assertEqual(rows(self.con, 'SELECT DISTINCT LastUpdated FROM Systems'), [(b'2014-01-01',)])
        self.assertEqual(rows(self.con, 'SELECT LastUpdated FROM Orbits WHERE ID = 2111'), [(b'2025-06-09',)])

    # Reports

    def test_unusable_rows_are_reported_with_file_line_and_reason(self):
        self.assertReported('importer_stars.csv', 10, r"rejected: column ra: 'abc' is not a number")
        self.assertReported('importer_stars.csv', 11, r'rejected: 20 fields where the header has 37')
        self.assertReported('importer_stars.csv', 12, r'rejected: id 30 already used on line 8')
        self.assertReported('importer_names.csv', 4, r'rejected: no designation after the name')
        self.assertEqual(self.summary('rejected rows'), 6)

    def test_declination_between_0_and_minus_1_degree_is_reported_and_stored_north(self):
        self.assertReported('importer_stars.csv', 9, r'warning: star 31: declination -0.500000 lies between '
                                                     r'0 and -1 degree')
        self.assertEqual(rows(self.con, 'SELECT Dec_deg, Dec_arcmin, Dec_arcsec FROM Positions '
                                        'WHERE OwnerID = 3200'), [(0, 30, 0.0)])
        self.assertEqual(self.summary('declinations between 0 and -1 degree (sign lost)'), 1)

    def test_summary_counts(self):
        self.assertEqual(self.summary('stars read'), 21)
        self.assertEqual(self.summary('systems'), 9)
        self.assertEqual(self.summary('components'), 20)
        self.assertEqual(self.summary('orbits'), 3)
        self.assertEqual(self.summary('planets'), 1)
        self.assertEqual(self.summary('proper names'),
                         rows(self.con, 'SELECT COUNT(*) FROM ProperNames')[0][0])


class ReplaceTest(unittest.TestCase):
    """The database is built under a temporary name and renamed into place."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='vldr-import-')
        self.db = os.path.join(self.dir, 'site.db')
        with open(self.db, 'w') as f:
            f.write('the old database')

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def test_a_failed_build_leaves_the_old_file_and_no_temporary_file(self):
        result = run_import(self.db, '--hyg', fixture('importer_stars.csv'),
                            '--schema', fixture('importer_broken_schema.sql'))
        self.assertEqual(result.returncode, 1)
        self.assertIn('could not write the database', result.stderr)
        with open(self.db) as f:
            self.assertEqual(f.read(), 'the old database')
        self.assertEqual(os.listdir(self.dir), ['site.db'])

    def test_a_complete_build_replaces_the_file(self):
        result = run_import(self.db, '--hyg', fixture('importer_stars.csv'))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.listdir(self.dir), ['site.db'])
        with connect(self.db) as con:
            # Without the orbit file, the two stars of the ORB6 pair stay apart.
            self.assertEqual(rows(con, 'SELECT COUNT(*) FROM Systems'), [(10,)])

    def test_a_file_that_is_not_an_hyg_catalogue_is_refused(self):
        result = run_import(self.db, '--hyg', fixture('importer_names.csv'))
        self.assertEqual(result.returncode, 2)
        self.assertIn('not an HYG catalogue', result.stderr)
        with open(self.db) as f:
            self.assertEqual(f.read(), 'the old database')


class ShippedDataTest(unittest.TestCase):
    """The default database from data/, read by the real programs."""

    ALPHA_CENTAURI, PROXIMA, SIRIUS = 7145700, 7066700, 3226400

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix='vldr-shipped-')
        cls.db = os.path.join(cls.dir, 'vldr.db')
        cls.result = run_import(cls.db)
        if cls.result.returncode != 0:
            raise AssertionError(f"import of the shipped data failed:\n{cls.result.stderr}")
        subprocess.run([os.path.join(SOURCE_DIR, 'db', 'write-dsn'), '--driver',
                        os.environ.get('VLDR_TEST_DRIVER', 'vldr'), cls.db, os.path.dirname(EXTENSION),
                        os.path.join(cls.dir, 'odbc')], check=True)
        cls.con = connect(cls.db)

    @classmethod
    def tearDownClass(cls):
        cls.con.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def program(self, name, query):
        env = dict(os.environ, QUERY_STRING=query, ODBCSYSINI=os.path.join(self.dir, 'odbc'),
                   ODBCINI=os.path.join(self.dir, 'odbc', 'odbc.ini'))
        result = subprocess.run([os.path.join(BIN_DIR, name)], env=env, capture_output=True, timeout=60)
        return result.stdout.decode('cp1252')

    def display_name(self, system):
        names = rows(self.con, 'SELECT Name FROM ProperNames WHERE OwnerID = ? AND IsSystemName = 1', system)
        if names:
            return names[0][0].decode('cp1252')
        numbers = rows(self.con, "SELECT COALESCE(NULLIF(LongName, ''), CatAbbrev), Value FROM CatalogNumbers "
                                 "JOIN CatalogNames ON Abbreviation = CatAbbrev "
                                 "WHERE OwnerID = ? AND IsSystemName = 1", system)
        return b' '.join(numbers[0]).decode('cp1252') if numbers else None

    def test_shipped_counts(self):
        out = self.result.stdout
        self.assertRegex(out, r'systems:\s+344\b')
        self.assertRegex(out, r'components:\s+455\b')
        self.assertRegex(out, r'rejected rows:\s+61\b')
        self.assertRegex(out, r'implausible stars:\s+12\b')
        self.assertRegex(out, r'stars no modern list confirms \(left out\):\s+37\b')

    def test_the_home_page_states_what_the_census_holds(self):
        with open(os.path.join(SOURCE_DIR, 'site', 'index.html'), encoding='cp1252') as f:
            text = re.sub(r'\s+', ' ', f.read())
        stated = re.search(r'(\d+) systems besides the Sun, with (\d+) stars \(the Sun and (\d+) white dwarfs '
                           r'among them\), (\d+) brown dwarfs and (\d+) known planets', text)
        self.assertIsNotNone(stated, 'no census counts on the home page')

        def count(sql):
            return rows(self.con, sql)[0][0]

        brown_dwarfs = count("SELECT COUNT(*) FROM Spectra WHERE substr(SpectralClass, 1, 1) IN ('L', 'T', 'Y')")
        built = (count('SELECT COUNT(*) FROM Systems') - 1,
                 count('SELECT COUNT(*) FROM Components') - brown_dwarfs,
                 count("SELECT COUNT(*) FROM Spectra WHERE substr(SpectralClass, 1, 1) = 'D'"),
                 brown_dwarfs, count('SELECT COUNT(*) FROM Planets'))
        self.assertEqual(tuple(int(n) for n in stated.groups()), built)

    def report_lines(self, kind):
        return [l for l in self.result.stderr.splitlines() if f': {kind}: ' in l]

    def test_every_override_conflict_and_rejection_is_in_the_report(self):
        self.assertEqual(len(self.report_lines('override')),
                         int(re.search(r'overrides \(values replaced or mended\): (\d+)', self.result.stdout).group(1)))
        self.assertEqual(len(self.report_lines('conflict')),
                         int(re.search(r'conflicts \(catalogues that disagree\): (\d+)', self.result.stdout).group(1)))
        self.assertTrue(any('GJ 1061' in l and 'distance 3.674 pc here, 4.2918 pc' in l
                            for l in self.report_lines('conflict')))
        rejected = self.report_lines('rejected')
        self.assertEqual(len(rejected), 61)
        self.assertTrue(all(re.search('implausible, left out|no modern list confirms it|lies beyond the census|'
                                      'indeterminate; left out|impossible for stars of these types|listed twice', l)
                            for l in rejected), rejected)

    def test_implausible_hyg_stars_are_not_nearby_stars(self):
        for hip in ('58910', '63721'):
            self.assertEqual(rows(self.con, "SELECT OwnerID FROM CatalogNumbers WHERE CatAbbrev = 'HIP' "
                                            "AND Value = ?", hip), [])
            page = self.program('sysview', f'Catalog=HIP&CatNo={hip}')
            self.assertNotIn('<H1>', page)
        page = self.program('proxlist', 'X=0&Y=0&Z=0&ly=33')
        self.assertNotIn('Hipparcos 58910', page)
        self.assertNotIn('Hipparcos 63721', page)

    def test_centauri_lists_alpha_centauri_once_with_proxima_as_its_component(self):
        page = self.program('sysview', 'Name=Centauri')
        self.assertIn('<H1>Alpha Centauri</H1>', page)
        self.assertNotIn(f'ID={self.PROXIMA}', page)

    def test_alpha_centauri_with_proxima_as_component_c_and_the_ab_orbit(self):
        page = self.program('sysview', 'Name=Alpha%20Centauri')
        self.assertIn('<H1>Alpha Centauri</H1>', page)
        self.assertIn("Data for A and B's orbit around one other:", page)
        # ORB6 grades the AC orbit 5, indeterminate (and it gives 11.8 solar masses).
        self.assertNotIn("Data for A and C's orbit around one other:", page)
        self.assertTrue(any('orbit AC of HIP 71683 (Krv2017): grade 5, indeterminate; left out' in l
                            for l in self.report_lines('rejected')))
        self.assertIn('<P><BR><B><U>Component C:</U></B>\n<BR><B>Proper names:</B> Proxima Centauri\n', page)
        self.assertIn('Bayer Alp1 Cen', page)
        self.assertNotIn('Bayer (Bayer)', page)
        self.assertIn('Distance from Sol:</B> 4.39016 light-years (1.346 parsecs)', page)
        self.assertEqual(rows(self.con, 'SELECT ID, Name FROM Components WHERE ID/100 = ? ORDER BY ID',
                              self.ALPHA_CENTAURI // 100),
                         [(self.ALPHA_CENTAURI + 1, b'A'), (self.ALPHA_CENTAURI + 2, b'B'),
                          (self.ALPHA_CENTAURI + 3, b'C')])
        self.assertEqual(rows(self.con, 'SELECT PrimaryID, SecondaryID, Period, SemimajorAxis, IsAxisAU, '
                                        'Eccentricity FROM Orbits WHERE ID = ?', self.ALPHA_CENTAURI + 11),
                         [(self.ALPHA_CENTAURI + 1, self.ALPHA_CENTAURI + 2, 79.91, 17.66, 0, 0.524)])

    def test_proxima_centauri_b_is_a_minimum_mass_of_0_0033194_jupiter_masses_around_c(self):
        page = self.program('sysview', 'Name=Proxima%20Centauri')
        self.assertIn('<H1>Alpha Centauri</H1>', page)
        self.assertIn('0.0033194 x Jupiter, minimum', page)
        self.assertEqual(rows(self.con, 'SELECT Name, Mass, IsMassAMinimum FROM Planets WHERE ID = ?',
                              self.ALPHA_CENTAURI + 51), [(b'Proxima Cen b', 0.0033194, 1)])
        self.assertEqual(rows(self.con, 'SELECT PrimaryID FROM Orbits WHERE SecondaryID = ?',
                              self.ALPHA_CENTAURI + 51), [(self.ALPHA_CENTAURI + 3,)])

    def test_40_eridani_is_titled_as_the_system_and_keid_is_its_a(self):
        page = self.program('sysview', 'ID=1980000')
        self.assertIn('<H1>Omicron\xb2 Eridani</H1>', page)
        self.assertIn('<B>Proper names:</B> Keid\n', page)
        self.assertIn('General Catalogue of Variable Stars (GCVS) DY Eri', page)

    def test_bayer_superscripts_name_the_right_star(self):
        for system, name in ((1980000, 'Omicron\xb2 Eridani'), (2239700, 'Pi\xb3 Orionis'),
                             (1542000, 'Kappa\xb9 Ceti'), (2784500, 'Chi\xb9 Orionis')):
            names = [r[0].decode('cp1252') for r in rows(self.con, 'SELECT Name FROM ProperNames '
                                                                   'WHERE OwnerID = ?', system)]
            self.assertIn(name, names)
        self.assertEqual(self.display_name(1542000), 'Kappa\xb9 Ceti')
        self.assertEqual(self.display_name(self.ALPHA_CENTAURI), 'Alpha Centauri')   # alpha-1 and alpha-2

    def test_names_merged_by_case_and_variable_designations_kept(self):
        self.assertEqual(rows(self.con, "SELECT Name FROM ProperNames WHERE Name LIKE '%maanen%'"),
                         [(b"van Maanen's Star",)])
        numbers = {r[0] for r in rows(self.con, "SELECT Value FROM CatalogNumbers WHERE CatAbbrev = 'GCVS'")}
        self.assertLessEqual({b'UV Cet', b'BL Cet', b'DX Cnc', b'CN Leo', b'DO Cep'}, numbers)
        # Kruger 60's DO Cep is B, not A.
        self.assertEqual(rows(self.con, "SELECT OwnerID FROM CatalogNumbers WHERE Value = 'DO Cep'"),
                         [(11054802,)])
        self.assertEqual(self.display_name(11808000), 'Luyten 726-8')

    def test_36_ophiuchi_c_joins_ab(self):
        self.assertEqual(self.display_name(11913600), '36 Ophiuchi')
        self.assertEqual(rows(self.con, "SELECT OwnerID FROM CatalogNumbers WHERE CatAbbrev = 'Gl' "
                                        "AND Value IN ('663A', '663B', '664') ORDER BY OwnerID"),
                         [(11913601,), (11913602,), (11913603,)])

    def test_listed_orbits_fill_in_pairs_orb6_lacks(self):
        self.assertEqual(rows(self.con, "SELECT Period, Source FROM Orbits WHERE ID IN (11808011, 11951911) "
                                        "ORDER BY ID"), [(26.284, b'SS10pc'), (2.252156, b'SS10pc')])

    def test_composite_and_peculiar_spectra_are_split(self):
        self.assertEqual(rows(self.con, 'SELECT OwnerID, SpectralClass, LuminosityClass FROM Spectra '
                                        'WHERE OwnerID IN (7243301, 7243302) ORDER BY OwnerID'),
                         [(7243301, b'G7', b'V'), (7243302, b'K5', b'V')])
        classes = [r[0] for r in rows(self.con, 'SELECT SpectralClass FROM Spectra')]
        for spectral in classes:
            self.assertNotRegex(spectral, rb'var|SB| |\+|[a-z]', spectral)

    def test_sirius_with_sirius_b(self):
        page = self.program('sysview', 'Name=Sirius')
        self.assertIn('<H1>Sirius</H1>', page)
        self.assertIn('Sirius B', page)
        self.assertEqual(rows(self.con, 'SELECT ID, Name FROM Components WHERE ID/100 = ? ORDER BY ID',
                              self.SIRIUS // 100),
                         [(self.SIRIUS + 1, b'A'), (self.SIRIUS + 2, b'B')])
        self.assertEqual(rows(self.con, 'SELECT Period, SemimajorAxis, Eccentricity FROM Orbits WHERE ID = ?',
                              self.SIRIUS + 11), [(50.1284, 7.4957, 0.59142)])

    def test_catalogue_search_finds_the_component_system(self):
        page = self.program('sysview', 'Catalog=HIP&CatNo=71681')
        self.assertIn('<H1>Alpha Centauri</H1>', page)

    EXPECTED_NEIGHBOURS = ['Alpha Centauri', "Barnard's Star", 'Wolf 359', 'Lalande 21185', 'Sirius',
                           'Luyten 726-8', 'Gliese-Jahreiss 1061']

    def assertInOrder(self, names):
        positions = []
        for wanted in self.EXPECTED_NEIGHBOURS:
            self.assertIn(wanted, names)
            positions.append(names.index(wanted))
        self.assertEqual(positions, sorted(positions), names)

    def test_neighbours_of_the_sun_within_12_light_years_by_distance(self):
        systems = rows(self.con, 'SELECT OwnerID, Distance FROM Positions WHERE OwnerID % 100 = 0 '
                                 'AND Distance <= 12 ORDER BY Distance')
        names = [self.display_name(owner) for owner, _ in systems]
        self.assertEqual(names[0], 'Sol')
        self.assertInOrder(names)

    def test_proxlist_lists_the_neighbours_of_the_sun_by_distance(self):
        page = self.program('proxlist', 'X=0&Y=0&Z=0&ly=12')
        names = re.findall(r'<A HREF="sysview\.exe\?ID=\d+">([^<]*)</A>: ([0-9.]+) light-years', page)
        self.assertTrue(names, page)
        distances = [float(d) for _, d in names]
        self.assertEqual(distances, sorted(distances))
        self.assertLessEqual(max(distances), 12.0)
        self.assertInOrder([n for n, _ in names])
        self.assertIn(('Gliese-Jahreiss 1061', '11.9835'), names)

    def neighbours(self, query):
        page = self.program('proxlist', query)
        return re.findall(r'<A HREF="sysview\.exe\?ID=(\d+)">([^<]*)</A>: ([0-9.]+) light-years', page)

    def test_luhman_16_and_wise_0855_lie_within_8_light_years(self):
        names = {name: float(d) for _, name, d in self.neighbours('X=0&Y=0&Z=0&ly=8')}
        self.assertLess(names['Luhman 16'], 6.6)
        self.assertLess(names['WISE J0855-0714'], 7.5)

    def test_every_system_within_5_parsecs_is_in_a_modern_list(self):
        found = self.neighbours(f'X=0&Y=0&Z=0&ly={5 / PARSECS_PER_LIGHT_YEAR:.4f}')
        self.assertGreater(len(found), 40)
        for system, name, _ in found[1:]:           # after Sol
            with self.subTest(name=name):
                self.assertIn(rows(self.con, 'SELECT DistanceSource FROM Positions WHERE OwnerID = ?',
                                   int(system))[0][0], (b'SS10pc', b'SIMPLE'))
        for phantom in ('Hipparcos 82724', 'Hipparcos 82725', 'Hipparcos 114110'):
            self.assertNotIn(phantom, [name for _, name, _ in found])

    def test_gj_667_c_s_planets_are_under_component_c_and_a_keeps_its_own_mass(self):
        page = self.program('sysview', 'Catalog=HIP&CatNo=84709')
        a, c = page.index('<U>Component A:</U>'), page.index('<U>Component C:</U>')
        for planet in 'bcefg':
            self.assertGreater(page.index(f'<U>Companion GJ 667 C {planet}:</U>'), c)
        self.assertNotIn('<B>Mass:</B> 0.33 x Sol', page[a:c])

    def test_kruger_60_a_is_brighter_than_b(self):
        page = self.program('sysview', 'Name=Kruger%2060')
        magnitudes = re.findall(r'Apparent visual magnitude:</B> \+([0-9.]+)', page)
        self.assertEqual(magnitudes[:2], ['9.59', '11.30'])

    def test_usual_names_and_designations_find_their_star(self):
        cases = (('Name=YZ%20Ceti', 'Gliese 54.1'), ('Name=EV%20Lac', 'Gliese 873'),
                 ('Name=EV%20Lacertae', 'Gliese 873'), ('Name=40%20Eri', 'Omicron\xb2 Eridani'),
                 ('Name=40%20Eridani', 'Omicron\xb2 Eridani'), ("Name=Luyten's%20Star", "Luyten's Star"),
                 ("Name=Kapteyn's%20Star", "Kapteyn's Star"), ('Catalog=Gl&CatNo=229', 'Gliese 229'),
                 ('Name=Luhman%2016', 'Luhman 16'))
        for query, title in cases:
            with self.subTest(query=query):
                self.assertIn(f'<H1>{title}</H1>', self.program('sysview', query))

    def test_teegarden_s_star_just_beyond_12_light_years_with_its_three_planets(self):
        page = self.program('proxlist', 'X=0&Y=0&Z=0&ly=12.6')
        self.assertIn("Teegarden's Star</A>: 12.4994 light-years", page)
        page = self.program('sysview', "Name=Teegarden")
        self.assertIn('<BR><B>Detected companions:</B> 3\n', page)


if __name__ == '__main__':
    unittest.main()
