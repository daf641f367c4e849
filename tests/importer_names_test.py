"""Tests of the importer's names and grouping rules: which name titles a
system, the spelled designations a star is also found by, numbers of
naked-eye catalogues only on bright stars, systems that move together.

Run by CTest with VLDR_SOURCE_DIR set; from tests/ by hand:
python3 -m unittest -v importer_names_test
"""
import os
import sys
import unittest

SOURCE_DIR = os.environ.get('VLDR_SOURCE_DIR',
                            os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(SOURCE_DIR, 'db', 'import'))
from vldr_import import consistency, designations, grouping  # noqa: E402
from vldr_import.model import Star, System  # noqa: E402
from vldr_import.report import Report  # noqa: E402


class Lines:
    def __init__(self):
        self.lines = []

    def write(self, text):
        self.lines += [l for l in text.splitlines() if l]


def star(hyg_id, names=(), gl=None, **values):
    s = Star()
    s.hyg_id, s.line, s.names, s.gl = hyg_id, hyg_id, list(names), gl
    for k, v in values.items():
        setattr(s, k, v)
    return s


def system(*stars, spelled=None):
    sy = System()
    sy.stars, sy.spelled = list(stars), spelled
    return sy


class NamesTest(unittest.TestCase):

    def test_titles_prefer_proper_names_then_designations_then_survey_names(self):
        cases = (
            ('proper name', system(star(1, ['IRAS 20079-3614', 'Lalande 9352'], 'Gl 887')), 'Lalande 9352'),
            ('survey name, Gliese number', system(star(1, ['IRAS 20079-3614'], 'Gl 783')), None),
            ('MCC name', system(star(1, ['MCC 541'], 'Gl 338')), None),
            ('survey name only', system(star(1, ['WISE J0855-0714'])), 'WISE J0855-0714'),
            ('spelled', system(star(1, ['IRAS 1'], 'Gl 2'), spelled='Tau Ceti'), 'Tau Ceti'),
            ('shared survey name', system(star(1, ['Giclas 208-044 A'], 'GJ 1245A'),
                                          star(2, ['Giclas 208-044 B'], 'GJ 1245B')), None),
            ('shared name', system(star(1, ['Luhman 16 A']), star(2, ['Luhman 16 B'])), 'Luhman 16'),
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
                s = star(1, **values)
                self.assertEqual((designations.spelled_flamsteed(s), designations.spelled_variable(s)),
                                 (flamsteed, variable))

    def test_hr_and_flamsteed_numbers_only_on_stars_bright_enough(self):
        cases = ((11.26, None, None), (5.5, '7261', '17'), (None, '7261', '17'))
        for mag, hr, flam in cases:
            with self.subTest(mag=mag):
                s = star(1, hr='7261', flam='17', con='Lyr', mag=mag)
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
                a = star(1, ra=16.9, dec=-8.3, dist=6.495, pm_ra=-813.0, pm_dec=-870.0)
                b = star(2, ra=16.9, dec=-8.3 + offset / 3600.0, dist=dist, pm_ra=-813.0, pm_dec=pm_dec)
                union = grouping.UnionFind()
                grouping.join_common_motion_pairs({1: a, 2: b}, union, lambda s: ('list.csv', s.line),
                                                  Report(Lines()))
                self.assertEqual(union.find(1) == union.find(2), joined)


if __name__ == '__main__':
    unittest.main()
