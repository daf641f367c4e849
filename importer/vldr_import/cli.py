"""The command line: arguments, the stages of an import in order, and the
summary of counts."""
import argparse
import os
import re
import sqlite3
import sys

from .brown_dwarfs import merge_brown_dwarfs, read_brown_dwarfs
from .catalogs import add_catalog_names
from .consistency import check_orbits, check_systems, naked_eye_numbers
from .census import leave_out_unconfirmed
from .csvfile import file_date
from .grouping import UnionFind, build_systems, group_as_catalogued, join_common_motion_pairs
from .hyg import read_hyg
from .layout import RowSet
from .lookup import Index, SkyGrid
from .names import GroupNames, read_iau_names, read_names
from .nearest import SOURCE as NEAREST_SOURCE, merge_nearest, read_nearest
from .orb6 import INDETERMINATE_GRADE, read_orb6
from .planets import PLANET_EPOCH, read_planets
from .plausibility import check_plausibility
from .report import Report
from .rows import add_orbit_rows, add_system_rows
from .variables import read_variables
from .writer import write_database

DEFAULT_SCHEMA = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                              '..', 'db', 'schema.sql')
DATED_SOURCES = ('hyg', 'nearest', 'brown_dwarfs', 'orb6', 'planets', 'variables')


def parse_arguments(argv):
    """The parsed command line; exits with status 2 on a bad argument."""
    p = argparse.ArgumentParser(
        prog='import-catalogues',
        description='Builds a VLDR database from an HYG-format star catalogue, optionally '
                    'joined with ORB6 orbits, exoplanets and star names.')
    p.add_argument('output', help='database file to write (replaced only when complete)')
    p.add_argument('--hyg', required=True, help='HYG-format star catalogue (CSV)')
    p.add_argument('--nearest', help='Southern Stars nearest-star list (CSV), authoritative for '
                   'the stars it holds')
    p.add_argument('--brown-dwarfs', help='L, T and Y dwarfs of the SIMPLE archive, one row per '
                   'object (CSV); with the nearby-star list they define the census')
    p.add_argument('--orb6', help='ORB6 orbital elements (text)')
    p.add_argument('--planets', action='append', default=[],
                   help='NASA Exoplanet Archive composite table (CSV); repeatable')
    p.add_argument('--iau-names', help='IAU star names (CSV)')
    p.add_argument('--names', help='common names as "name,GJ designation" lines')
    p.add_argument('--variables', help='Southern Stars star list with variability columns')
    for source in DATED_SOURCES:
        p.add_argument(f"--{source.replace('_', '-')}-date", metavar='YYYY-MM-DD',
                       help=f'release date of the {source} input (for LastUpdated)')
    p.add_argument('--schema', default=DEFAULT_SCHEMA,
                   help='schema to apply (default: db/schema.sql)')
    args = p.parse_args(argv)
    for source in DATED_SOURCES:
        value = getattr(args, f'{source}_date')
        if value and not re.fullmatch(r'\d{4}-\d{2}-\d{2}', value):
            p.error(f"--{source.replace('_', '-')}-date must be YYYY-MM-DD")
    return args


class Import:
    """The state of one import, passed from stage to stage."""

    def __init__(self, args, out, err):
        self.args = args
        self.out = out
        self.report = Report(err)
        self.stars = None
        self.index = None
        self.union = UnionFind()
        self.dates = {}
        self.orbits = []
        self.listed_orbits = []
        self.planets = []
        self.systems = []
        self.rows = RowSet(self.report)
        self.used = set()
        # Parsecs within which the modern lists define the census (0: none given).
        self.census_reach = 0.0


# Each stage takes the Import; a stage that returns a number ends the import
# with that exit status.

def check_inputs(imp):
    a = imp.args
    for path in [a.hyg, a.nearest, a.brown_dwarfs, a.orb6, a.iau_names, a.names, a.variables] + a.planets:
        if path and not os.path.isfile(path):
            imp.report.refuse(path, "no such file")
            return 2
    return None


def read_stars(imp):
    imp.stars = read_hyg(imp.args.hyg, imp.report)
    if imp.stars is None:
        return 2
    imp.report.count('stars read', len(imp.stars))
    imp.dates['hyg'] = file_date(imp.args.hyg, imp.args.hyg_date)
    imp.index = Index(imp.stars)
    return None


def group_catalogued_systems(imp):
    group_as_catalogued(imp.stars, imp.union, imp.args.hyg, imp.report)


def read_nearby_list(imp):
    if not imp.args.nearest:
        return None
    date = file_date(imp.args.nearest, imp.args.nearest_date)
    listed = read_nearest(imp.args.nearest, date, imp.report)
    if listed is None:
        return 2
    imp.report.count('nearby-list rows read', len(listed))
    grid = SkyGrid(imp.stars, PLANET_EPOCH)
    imp.listed_orbits = merge_nearest(listed, imp.stars, imp.index, grid, imp.union,
                                      imp.args.nearest, date, imp.report)
    imp.census_reach = max((r.dist for r in listed if r.dist), default=0.0)
    return None


def check_stars(imp):
    check_plausibility(imp.stars, imp.args.hyg, imp.args.nearest, imp.report)
    imp.index = Index(imp.stars)


def read_brown_dwarf_list(imp):
    if not imp.args.brown_dwarfs:
        return None
    path = imp.args.brown_dwarfs
    dwarfs = read_brown_dwarfs(path, imp.report)
    if dwarfs is None:
        return 2
    imp.report.count('brown-dwarf rows read', len(dwarfs))
    grid = SkyGrid(imp.stars, PLANET_EPOCH)
    merge_brown_dwarfs(dwarfs, imp.stars, imp.index, grid, imp.union, imp.census_reach, path,
                       file_date(path, imp.args.brown_dwarfs_date), imp.report)
    return None


def leave_out_unconfirmed_stars(imp):
    if imp.census_reach:
        leave_out_unconfirmed(imp.stars, imp.census_reach, imp.args.hyg, imp.report)
        imp.index = Index(imp.stars)


def read_orbits(imp):
    if imp.args.orb6:
        imp.dates['orb6'] = file_date(imp.args.orb6, imp.args.orb6_date)
        imp.orbits = read_orb6(imp.args.orb6, imp.dates['orb6'], imp.stars, imp.index,
                               imp.union, imp.report)
    # The list's orbits fill in pairs the orbit catalogue has no orbit for.
    # (An orbit ORB6 grades indeterminate is left out, and its copy in the list too.)
    known = {frozenset((o.primary, o.secondary)) for o in imp.orbits if o.primary is not None}
    imp.orbits = [o for o in imp.orbits if o.grade != INDETERMINATE_GRADE]
    for o in imp.listed_orbits:
        if frozenset((o.primary, o.secondary)) not in known and o.primary in imp.stars \
                and o.secondary in imp.stars:
            imp.orbits.append(o)
            imp.report.count('nearby-list orbits used')


def read_star_names(imp):
    groups = GroupNames(imp.stars, imp.union)
    if imp.args.iau_names:
        read_iau_names(imp.args.iau_names, imp.index, groups, imp.report)
    if imp.args.names:
        read_names(imp.args.names, imp.index, groups, imp.report)


def read_variability(imp):
    if imp.args.variables:
        read_variables(imp.args.variables, file_date(imp.args.variables, imp.args.variables_date),
                       imp.index, imp.report)


def read_planet_tables(imp):
    if not imp.args.planets:
        return
    known = [s.dist for s in imp.stars.values() if s.dist is not None]
    max_distance = max(known) if known else None
    grid = SkyGrid(imp.stars, PLANET_EPOCH)
    for path in imp.args.planets:
        imp.planets += read_planets(path, file_date(path, imp.args.planets_date), grid,
                                    max_distance, imp.report)


def form_systems(imp):
    imp.systems = build_systems(imp.stars, imp.union, imp.args.hyg, imp.report, imp.args.nearest)


def source_line(imp, star):
    """(file, line) of the row a star came from."""
    a = imp.args
    if star.listed:
        return a.nearest, star.listed
    if star.brown_dwarf:
        return a.brown_dwarfs, star.brown_dwarf
    return a.hyg, star.line


def join_moving_groups(imp):
    join_common_motion_pairs(imp.stars, imp.union, lambda star: source_line(imp, star), imp.report)


def check_designations(imp):
    naked_eye_numbers(imp.stars, lambda star: source_line(imp, star), imp.report)


def check_consistency(imp):
    def orbit_path(orbit):
        return imp.args.nearest if orbit.source == NEAREST_SOURCE else imp.args.orb6

    check_systems(imp.systems, lambda star: source_line(imp, star), imp.report)
    imp.orbits = check_orbits(imp.orbits, imp.stars, orbit_path, imp.report)


def lay_out_rows(imp):
    imp.used |= add_system_rows(imp.rows, imp.systems, imp.dates['hyg'],
                                lambda star: source_line(imp, star), imp.report)
    imp.used |= add_orbit_rows(imp.rows, imp.stars, imp.orbits, imp.planets, imp.args.orb6,
                               imp.report)
    add_catalog_names(imp.rows, imp.used)
    imp.report.count('catalogue names', len(imp.rows.rows['CatalogNames']))


def write_file(imp):
    try:
        write_database(imp.rows, os.path.abspath(imp.args.schema), imp.args.output)
    except (sqlite3.Error, OSError) as e:
        imp.report.refuse(imp.args.output, f"could not write the database: {e}")
        return 1
    return None


def print_summary(imp):
    report, out = imp.report, imp.out
    c = report.counts
    print(f"Wrote {imp.args.output}", file=out)
    print(f"  stars read:         {c.get('stars read', 0)}", file=out)
    print(f"  systems:            {c.get('systems', 0)}", file=out)
    print(f"  components:         {c.get('components', 0)}", file=out)
    print(f"  orbits:             {c.get('orbits', 0)} "
          f"({c.get('orbits', 0) - c.get('planets', 0)} of stars, {c.get('planets', 0)} of planets)",
          file=out)
    print(f"  planets:            {c.get('planets', 0)}", file=out)
    print(f"  proper names:       {c.get('proper names', 0)}", file=out)
    print(f"  catalogue numbers:  {c.get('catalogue numbers', 0)}", file=out)
    print(f"  catalogue names:    {c.get('catalogue names', 0)}", file=out)
    print(f"  rejected rows:      {report.rejected}", file=out)
    print(f"  warnings:           {report.warnings}", file=out)
    print(f"  declinations between 0 and -1 degree (sign lost): {report.declination_sign_lost}",
          file=out)
    print(f"  characters transliterated to windows-1252: {report.transliterated}", file=out)
    print(f"  texts cut to their column width: {report.truncated}", file=out)
    print(f"  overrides (values replaced or mended): {report.overrides}", file=out)
    print(f"  conflicts (catalogues that disagree): {report.conflicts}", file=out)
    print(f"  implausible stars: {report.implausible}", file=out)
    if imp.census_reach:
        print(f"  stars no modern list confirms (left out): "
              f"{c.get('stars no modern list confirms', 0)}", file=out)
    skipped = [(k, v) for k, v in sorted(c.items()) if k.startswith(('planets beyond', 'names for',
                                                                      'variables outside', 'orb6',
                                                                      'nearby-list', 'brown',
                                                                      'close-pair', 'blended',
                                                                      'colours', 'orbits Kepler',
                                                                      'naked-eye', 'systems joined'))]
    for k, v in skipped:
        print(f"  {k}: {v}", file=out)


STAGES = (
    ('check the inputs exist', check_inputs),
    ('read the star catalogue', read_stars),
    ('group stars as the catalogue does', group_catalogued_systems),
    ('merge the nearby-star list', read_nearby_list),
    ('check plausibility', check_stars),
    ('merge the brown-dwarf list', read_brown_dwarf_list),
    ('leave out the stars no modern list confirms', leave_out_unconfirmed_stars),
    ('read the orbits', read_orbits),
    ('read the star names', read_star_names),
    ('read the variability', read_variability),
    ('read the planets', read_planet_tables),
    ('join the systems that move together', join_moving_groups),
    ('check the designations', check_designations),
    ('form the systems', form_systems),
    ('check the physics of stars and orbits', check_consistency),
    ('lay out the rows', lay_out_rows),
    ('write the database', write_file),
    ('print the summary', print_summary),
)


def run(argv, out=sys.stdout, err=sys.stderr):
    """Imports as the command line argv says; returns the exit status: 0 on
    success (even with rejected rows), 1 when the database could not be
    written, 2 for bad arguments or an unusable star catalogue."""
    imp = Import(parse_arguments(argv), out, err)
    for _name, stage in STAGES:
        status = stage(imp)
        if status is not None:
            return status
    return 0
