"""Tests of the importer's nearby-star list, plausibility checks, names and
spectra: small fixture catalogues, and every spectral type of the shipped data.

Run by CTest with VLDR_SOURCE_DIR set; from tests/ by hand:
python3 -m unittest -v importer_nearest_test
"""
import csv
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
FIXTURES = os.path.join(SOURCE_DIR, 'tests', 'fixtures')
DATA = os.path.join(SOURCE_DIR, 'data')
IMPORT = os.path.join(SOURCE_DIR, 'importer', 'import-catalogues')

sys.path.insert(0, os.path.join(SOURCE_DIR, 'importer'))
from vldr_import import plausibility, spectra  # noqa: E402
from vldr_import.model import Star  # noqa: E402

SPECTRAL_CLASS = re.compile(r'^(?:[OBAFGKMLTY](?:\d+(?:\.\d+)?)?(?:[-/][OBAFGKM]?(?:\d+(?:\.\d+)?)?)?'
                            r'|D[A-Z]+(?:\d+(?:\.\d+)?)?[A-Z]*)[:?]?$')
LUMINOSITY_CLASS = re.compile(r'^(?:Ia0|Iab|Ia|Ib|III|II|IV|VI|V)(?:[-/](?:Iab|Ia|Ib|III|II|IV|VI|V))?:?e?$')


def shipped_spectral_types():
    """Every distinct spectral type of the shipped star catalogue and nearby-star list."""
    with open(os.path.join(DATA, 'hyg', 'hyg_v3_within_10pc.csv'), newline='') as f:
        types = {r['spect'] for r in csv.DictReader(f)}
    with open(os.path.join(DATA, 'southern_stars', 'Nearest.csv'), newline='', encoding='utf-8') as f:
        types |= {r['Spec'] for r in csv.DictReader(f)}
    return sorted(t for t in types if t.strip())


class SpectrumTest(unittest.TestCase):
    """Spectral types split into classes that never hold peculiarity codes."""

    def test_every_shipped_type_gives_a_clean_class_and_luminosity_class(self):
        types = shipped_spectral_types()
        self.assertGreater(len(types), 150)
        for text in types:
            with self.subTest(text=text):
                parts = spectra.spectrum_parts(text)
                self.assertTrue(parts)
                for spectral, luminosity in parts:
                    self.assertRegex(spectral, SPECTRAL_CLASS)
                    if luminosity is not None:
                        self.assertRegex(luminosity, LUMINOSITY_CLASS)

    def test_composite_types_give_one_part_per_star(self):
        self.assertEqual(spectra.spectrum_parts('G8V + K4V'), [('G8', 'V'), ('K4', 'V')])
        self.assertEqual(spectra.spectrum_parts('M4+...'), [('M4', None)])

    def test_peculiarities_and_source_codes_stay_out_of_the_class(self):
        cases = {'G0V SB': ('G0', 'V'), 'A0Vvar': ('A0', 'V'), 'M4   K': ('M4', None),
                 'M3 J': ('M3', None), 'dM5.5eJ': ('M5.5', 'Ve'), 'M1.5eV': ('M1.5', 'Ve'),
                 'K2:III:': ('K2:', 'III:'), 'F0Ib-II': ('F0', 'Ib-II'), 'DA2': ('DA2', None),
                 'DQ9P': ('DQ9P', None), 'K5/M0V': ('K5/M0', 'V'), 'M...': ('M', None),
                 'sdM1V': ('M1', 'VI'), 'm': ('M', None), 'M4?V': ('M4?', 'V'), '': (None, None)}
        for text, want in cases.items():
            with self.subTest(text=text):
                self.assertEqual(spectra.parse_spectrum(text), want)


def star(spect, mag, dist, pm=(0.0, 0.0)):
    s = Star()
    s.spect, s.mag, s.dist = spect, mag, dist
    s.pm_ra, s.pm_dec = pm
    return s


class PlausibilityTest(unittest.TestCase):
    """Stars that cannot be where the catalogue puts them are doubted."""

    def test_a_faint_supergiant_and_a_faint_f_dwarf_are_doubted(self):
        self.assertIn('F0Ib-II', plausibility.doubts(star('F0Ib-II', 7.57, 5.5169)))
        self.assertIn('F3V', plausibility.doubts(star('F3V', 8.75, 4.6164)))

    def test_ordinary_stars_pass_within_the_margin(self):
        self.assertIsNone(plausibility.doubts(star('G2V', -0.01, 1.346)))        # alpha Cen A
        self.assertIsNone(plausibility.doubts(star('M5.5V', 11.13, 1.302)))      # Proxima
        self.assertIsNone(plausibility.doubts(star('DA2', 8.44, 2.64)))          # white dwarf: no check
        self.assertIsNone(plausibility.doubts(star('M4', 2.0, 2.0)))             # no class: bright may be a giant
        self.assertIn('no luminosity class', plausibility.doubts(star('G0', 9.25, 5.6155)))
        self.assertIsNone(plausibility.doubts(star('G2V', 4.7 + 2.9, 10.0)))     # just inside 3 mag
        self.assertIsNotNone(plausibility.doubts(star('G2V', 4.7 + 3.1, 10.0)))

    def test_an_impossible_tangential_velocity_is_doubted(self):
        # 30"/yr at 5 pc is 711 km/s.
        self.assertIn('tangential velocity 711', plausibility.doubts(star(None, None, 5.0, (30000.0, 0.0))))
        self.assertIsNone(plausibility.doubts(star(None, None, 1.83, (-801.6, 10362.5))))  # Barnard's Star


class NearbyListImportTest(unittest.TestCase):
    """One import of a small star catalogue joined with a small nearby-star list."""

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix='vldr-nearest-')
        cls.db = os.path.join(cls.dir, 'nearest.db')
        cls.result = subprocess.run(
            [IMPORT, cls.db, '--hyg', os.path.join(FIXTURES, 'importer_nearby_stars.csv'),
             '--hyg-date', '2014-01-01', '--nearest', os.path.join(FIXTURES, 'importer_nearest.csv'),
             '--nearest-date', '2026-07-09', '--names', os.path.join(DATA, 'southern_stars', 'Names.csv')],
            capture_output=True, text=True, timeout=120)
        cls.con = sqlite3.connect(f'file:{cls.db}?mode=ro', uri=True)
        cls.con.text_factory = bytes

    @classmethod
    def tearDownClass(cls):
        cls.con.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def rows(self, sql, *params):
        return self.con.execute(sql, params).fetchall()

    def reported(self, pattern):
        return [l for l in self.result.stderr.splitlines() if re.search(pattern, l)]

    def test_import_succeeds(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)

    def test_listed_values_override_the_star_catalogue_and_each_override_is_reported(self):
        self.assertEqual(self.rows('SELECT Distance, DistanceSource, LastUpdated FROM Positions '
                                   'WHERE OwnerID = 1100'), [(4.39016, b'SS10pc', b'2026-07-09')])
        self.assertEqual(len(self.reported(r'importer_nearest\.csv:[234]: override: HIP 7')), 3)
        self.assertTrue(self.reported(r'override: HIP 70890: distance 1.2959 -> 1.302 pc'))

    def test_proxima_joins_alpha_centauri_as_c_and_takes_the_listed_identifiers(self):
        self.assertEqual(self.rows('SELECT ID, Name FROM Components WHERE ID/100 = 11 ORDER BY ID'),
                         [(1101, b'A'), (1102, b'B'), (1103, b'C')])
        self.assertEqual(self.rows('SELECT CatAbbrev, Value FROM CatalogNumbers WHERE OwnerID = 1103'),
                         [(b'Gl', b'551'), (b'HIP', b'70890'), (b'GCVS', b'V645 Cen')])
        self.assertEqual(self.rows('SELECT Name, IsSystemName FROM ProperNames WHERE OwnerID = 1100'),
                         [(b'Alpha Centauri', 1)])
        self.assertEqual(self.rows("SELECT COUNT(*) FROM Systems WHERE ID = 2100"), [(0,)])

    def test_stars_the_catalogue_lacks_are_added_with_their_orbit_and_luyten_name(self):
        system = 100000600     # (list line 5 + 1,000,000 + 1) x 100
        self.assertEqual(self.rows('SELECT Name, IsSystemName FROM ProperNames WHERE OwnerID = ?', system),
                         [(b'Luyten 726-8', 1)])
        self.assertEqual(self.rows('SELECT PrimaryID, SecondaryID, Period, SemimajorAxis, Source FROM Orbits '
                                   'WHERE ID/100 = ?', system // 100),
                         [(system + 1, system + 2, 26.284, 2.0584, b'SS10pc')])
        self.assertEqual(self.rows("SELECT Value FROM CatalogNumbers WHERE CatAbbrev = 'GCVS' "
                                   "AND OwnerID / 100 = ? ORDER BY OwnerID", system // 100),
                         [(b'BL Cet',), (b'UV Cet',)])
        self.assertEqual(self.rows("SELECT CatAbbrev, Value FROM CatalogNumbers WHERE OwnerID = 100000800"),
                         [(b'Gaia', b'35227046884571776')])

    def test_implausible_catalogue_star_is_left_out_and_listed_one_kept_with_a_warning(self):
        self.assertEqual(self.rows("SELECT COUNT(*) FROM CatalogNumbers WHERE Value = '58910'"), [(0,)])
        self.assertTrue(self.reported(r'importer_nearby_stars\.csv:6: rejected: star 30: implausible, left out'))
        self.assertTrue(self.reported(r'importer_nearest\.csv:8: warning: star 1000008: implausible but kept'))
        self.assertEqual(self.rows("SELECT COUNT(*) FROM Systems WHERE ID = 100000800 + 0"), [(1,)])

    def test_catalogue_stars_no_modern_list_confirms_are_left_out_and_reported(self):
        # HIP 82724 is a phantom (an old distance only); HIP 83609 is a G0 star
        # without a luminosity class, far too faint for any dwarf.
        for line, pattern in ((8, r"rejected: HIP 82724 at 3\.6964 pc: no modern list confirms it .*"
                                  r"within 10\" plus 16 years of its proper motion at a distance "
                                  r"within 25 %\); left out"),
                              (9, r"rejected: star 60: implausible, left out: HIP 83609: absolute "
                                  r"magnitude \+10\.50 .* G0 star \(no luminosity class")):
            with self.subTest(line=line):
                self.assertTrue(self.reported(rf"importer_nearby_stars\.csv:{line}: {pattern}"),
                                self.result.stderr)
        self.assertEqual(self.rows("SELECT COUNT(*) FROM CatalogNumbers WHERE Value IN ('82724', '83609')"),
                         [(0,)])
        # Case-only duplicate names are merged, the name list's spelling kept.
        self.assertEqual(self.rows('SELECT Name FROM ProperNames WHERE OwnerID = 4100'),
                         [(b"van Maanen's Star",), (b'Wolf 28',)])

    def test_a_row_that_cannot_be_read_is_rejected_with_its_line(self):
        self.assertTrue(self.reported(r"importer_nearest\.csv:9: rejected: column RA: 'x'"), self.result.stderr)
