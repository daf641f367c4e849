"""Tests of the importer's physical checks on stars, pairs and orbits: one
table of cases per rule, on stars built here.

Run by CTest with VLDR_SOURCE_DIR set; from tests/ by hand:
python3 -m unittest -v importer_consistency_test
"""
import os
import sys
import unittest

SOURCE_DIR = os.environ.get('VLDR_SOURCE_DIR',
                            os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(SOURCE_DIR, 'db', 'import'))
from vldr_import import consistency, nearest, orb6  # noqa: E402
from vldr_import.model import Orbit, Star, System  # noqa: E402
from vldr_import.report import Report  # noqa: E402


class Lines:
    """A stream that keeps the report's lines."""

    def __init__(self):
        self.lines = []

    def write(self, text):
        self.lines += [l for l in text.splitlines() if l]


def star(hyg_id, spect, mag, dist=5.0, ra=10.0, dec=20.0, ci=None, names=(), catalogue=None, mass=None):
    s = Star()
    s.hyg_id, s.line, s.gl = hyg_id, hyg_id, f"Gl {hyg_id}"
    s.spect, s.mag, s.dist, s.ra, s.dec, s.ci, s.mass = spect, mag, dist, ra, dec, ci, mass
    s.names, s.catalogue_photometry = list(names), catalogue
    return s


def system(*stars):
    sy = System()
    sy.stars, sy.id = list(stars), 100
    for s in stars:
        s.system = sy
    return sy


def check(*systems):
    lines = Lines()
    consistency.check_systems(list(systems), lambda s: ('list.csv', s.line), Report(lines))
    return lines.lines


ARCSEC_IN_HOURS = 1 / 15 / 3600


class StarRulesTest(unittest.TestCase):

    def test_a_close_pair_has_its_primary_s_distance(self):
        # (companion's offset in arcsec, its distance, the distance it keeps)
        cases = ((3.0, 2.670, 2.637), (500.0, 2.700, 2.700))   # 7 AU; 1239 AU (at Dec 20)
        for offset, dist, kept in cases:
            with self.subTest(offset=offset):
                a = star(1, 'A1V', -1.46, dist=2.637)
                b = star(2, 'DA2', 8.44, dist=dist, ra=10.0 + offset * ARCSEC_IN_HOURS)
                lines = check(system(a, b))
                self.assertEqual(b.dist, kept)
                self.assertEqual(any('a close pair has one distance' in l for l in lines), kept != dist)

    def test_a_name_is_on_one_star_of_its_system(self):
        a, b = star(1, 'M5.5V', 12.5, names=['Wolf 424', 'Wolf 424 A']), star(2, 'M7V', 13.2, names=['Wolf 424'])
        lines = check(system(a, b))
        self.assertEqual((a.names, b.names), (['Wolf 424', 'Wolf 424 A'], []))
        self.assertIn("list.csv:2: warning: Gl 2: name 'Wolf 424' left out", lines[0])

    def test_companions_lose_blended_and_copied_magnitudes_and_the_primary_is_the_brighter(self):
        # (primary, companion, the primary's V and the companion's V after)
        cases = (
            ('copy', star(1, 'G5IV', 3.42), star(2, 'M4V', 3.42), 3.42, None),                 # mu Her Ab
            ('outshone', star(1, 'F7V', 3.55), star(2, 'K0', 3.57), 3.55, None),               # chi Dra B
            ('too bright', star(1, 'G0V', 3.8, dist=8.0), star(2, 'M3V', 4.33, dist=8.0, ra=10.1), 3.8, None),
            ('kept', star(1, 'M3V', 9.59), star(2, 'M4V', 11.3), 9.59, 11.3),
            ('restored', star(1, 'M3V', 11.41, catalogue=(9.59, 1.61)), star(2, 'M4V', 11.3), 9.59, 11.3),  # Kruger 60
        )
        for what, a, b, a_mag, b_mag in cases:
            with self.subTest(what=what):
                check(system(a, b))
                self.assertEqual((a.mag, b.mag), (a_mag, b_mag))

    def test_a_colour_impossible_for_the_class_is_left_out(self):
        cases = (('K2.5V', 0.12, None), ('M0V', 0.26, None), ('M3.5V', -0.24, None), ('G2V', 0.65, 0.65),
                 ('M5V', 1.9, 1.9), ('K0III', 0.1, 0.1), ('DA2', -0.03, -0.03))
        for spect, ci, kept in cases:
            with self.subTest(spect=spect):
                s = star(1, spect, 8.0, ci=ci)
                check(system(s))
                self.assertEqual(s.ci, kept)


class OrbitRulesTest(unittest.TestCase):

    def orbit(self, a, b, axis_arcsec, period):
        o = Orbit()
        o.line, o.primary, o.secondary, o.axis, o.is_au, o.period = 7, a.hyg_id, b.hyg_id, axis_arcsec, 0, period
        return o

    def test_kepler_s_law_against_the_masses_of_the_types(self):
        # (types, axis in arcsec at 5 pc, period in years, kept, what the report says)
        cases = (
            (('G2V', 'K1V'), 4.75, 79.91, True, None),                           # 1.9 solar masses
            (('M5.5V', 'M5.5V'), 9.29, 223.1, False, 'impossible for stars'),  # 2.0 for 0.26
            (('G0V', None), 0.156, 14.1, False, 'at least 1.09'),               # a photocentre's orbit
            (('M3V', 'M3V'), 2.12, 20.0, True, 'doubtful; kept'),                # 3.0 for 0.74
        )
        for types, axis, period, kept, said in cases:
            with self.subTest(types=types):
                a, b = star(1, types[0], 5.0), star(2, types[1], 9.0)
                sy = system(a, b)
                lines = Lines()
                orbits = consistency.check_orbits([self.orbit(a, b, axis, period)], {1: a, 2: b},
                                                  lambda o: 'orb6.txt', Report(lines))
                self.assertEqual(len(orbits), 1 if kept else 0)
                self.assertEqual(any(said in l for l in lines.lines) if said else lines.lines, True if said else [])
                self.assertIs(sy, a.system)

    def test_the_grade_is_read_from_column_151(self):
        line1 = ('143936.50-605002.3 14396-6050 RHD   1AB      128620   -0.01     79.91    y   17.66   a   '
                 '79.32    204.75      1955.66    y  0.524     232.3     2000  5 N P E  Pbx2016')
        self.assertEqual(orb6.orbital_elements(line1, '').grade, orb6.INDETERMINATE_GRADE)


class LuminosityClassTest(unittest.TestCase):

    def test_the_more_specific_luminosity_class_is_kept(self):
        cases = (('G2V', 'G2IV', 'G2 IV'), ('F5V', 'F5IV-V', 'F5 IV-V'), ('G8V', 'G5IV-Vvar', 'G8 IV-V'),
                 ('K0V', 'K0III', 'K0V'), ('M1.5eV', 'M1.5IV', 'M1.5 IVe'), ('G2IV', 'G2V', 'G2IV'),
                 ('K2V', None, 'K2V'))
        for listed, catalogued, kept in cases:
            with self.subTest(listed=listed):
                self.assertEqual(nearest.more_specific_luminosity(listed, catalogued), kept)


if __name__ == '__main__':
    unittest.main()
