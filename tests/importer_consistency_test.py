"""Tests of the importer's rules for stars, pairs, orbits and names: the
physical checks, which name titles a system, the spelled designations a star
is also found by, numbers of naked-eye catalogues only on bright stars, and
systems that move together; one table of cases per rule, on stars built here.

Run by CTest with VLDR_SOURCE_DIR set; from tests/ by hand:
python3 -m unittest -v importer_consistency_test
"""
import os
import sys
import unittest

SOURCE_DIR = os.environ.get('VLDR_SOURCE_DIR',
                            os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(SOURCE_DIR, 'importer'))
from vldr_import import consistency, designations, grouping, names, nearest, orb6  # noqa: E402
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


def named(hyg_id, names=(), gl=None, **values):
    s = Star()
    s.hyg_id, s.line, s.names, s.gl = hyg_id, hyg_id, list(names), gl
    for k, v in values.items():
        setattr(s, k, v)
    return s


def titled(*stars, spelled=None):
    sy = System()
    sy.stars, sy.spelled = list(stars), spelled
    return sy


class NamesTest(unittest.TestCase):

    def test_titles_prefer_proper_names_then_designations_then_survey_names(self):
        cases = (
            ('proper name', titled(named(1, ['IRAS 20079-3614', 'Lalande 9352'], 'Gl 887')), 'Lalande 9352'),
            ('survey name, Gliese number', titled(named(1, ['IRAS 20079-3614'], 'Gl 783')), None),
            ('MCC name', titled(named(1, ['MCC 541'], 'Gl 338')), None),
            ('survey name only', titled(named(1, ['WISE J0855-0714'])), 'WISE J0855-0714'),
            ('spelled', titled(named(1, ['IRAS 1'], 'Gl 2'), spelled='Tau Ceti'), 'Tau Ceti'),
            ('shared survey name', titled(named(1, ['Giclas 208-044 A'], 'GJ 1245A'),
                                          named(2, ['Giclas 208-044 B'], 'GJ 1245B')), None),
            ('shared name', titled(named(1, ['Luhman 16 A']), named(2, ['Luhman 16 B'])), 'Luhman 16'),
        )
        for what, sy, title in cases:
            with self.subTest(what=what):
                self.assertEqual(grouping.choose_system_name(sy), title)

    def test_flamsteed_and_variable_designations_are_spelled_as_names(self):
        cases = ((dict(flam='40', con='Eri', bayer='Omi-2'), '40 Eridani', None),
                 (dict(var='YZ', con='Cet'), None, 'YZ Ceti'), (dict(var='EV', con='Lac'), None, 'EV Lacertae'),
                 (dict(var='V645', con='Cen'), None, None), (dict(flam='61', con='Xyz'), None, None))
        for values, flamsteed, variable in cases:
            with self.subTest(values=values):
                s = named(1, **values)
                self.assertEqual((designations.spelled_flamsteed(s), designations.spelled_variable(s)),
                                 (flamsteed, variable))

    def test_a_giclas_name_goes_to_the_star_with_that_giclas_number(self):
        a, b = named(1, more_numbers=[('G', '208-44')]), named(2, more_numbers=[('G', '208-45')])
        union = grouping.UnionFind()
        union.union(1, 2)
        groups = names.GroupNames({1: a, 2: b}, union)
        for name, holder in (('Giclas 208-045', b), ('Giclas 208-044', a), ('Wolf 359', a)):
            with self.subTest(name=name):
                self.assertIs(groups.numbered_holder(a, name), holder)

    def test_hr_and_flamsteed_numbers_only_on_stars_bright_enough(self):
        cases = ((11.26, None, None), (5.5, '7261', '17'), (None, '7261', '17'))
        for mag, hr, flam in cases:
            with self.subTest(mag=mag):
                s = named(1, hr='7261', flam='17', con='Lyr', mag=mag)
                consistency.naked_eye_numbers({1: s}, lambda st: ('list.csv', 1), Report(Lines()))
                self.assertEqual((s.hr, s.flam), (hr, flam))


class CommonMotionTest(unittest.TestCase):

    def test_stars_that_move_together_are_one_system(self):
        # (second star's offset in arcsec, its distance, its Dec motion in mas/yr, joined)
        cases = ((300.0, 6.50, -895.0, True),      # Wolf 629 beside Wolf 630
                 (300.0, 6.50, -700.0, False),     # another motion
                 (300.0, 7.50, -895.0, False),     # another distance
                 (2000.0, 6.50, -895.0, False))    # 13,000 AU apart
        for offset, dist, pm_dec, joined in cases:
            with self.subTest(offset=offset, dist=dist, pm_dec=pm_dec):
                a = named(1, ra=16.9, dec=-8.3, dist=6.495, pm_ra=-813.0, pm_dec=-870.0)
                b = named(2, ra=16.9, dec=-8.3 + offset / 3600.0, dist=dist, pm_ra=-813.0, pm_dec=pm_dec)
                union = grouping.UnionFind()
                grouping.join_common_motion_pairs({1: a, 2: b}, union, lambda s: ('list.csv', s.line),
                                                  Report(Lines()))
                self.assertEqual(union.find(1) == union.find(2), joined)


if __name__ == '__main__':
    unittest.main()
