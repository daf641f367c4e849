"""The row layout: the tables and columns the importer fills, the column
widths the programs read them with, and the rows collected for writing."""
from .windows1252 import Encoder

# Column widths the programs read (longer texts are cut, and counted); each
# is the program's bound field size less its terminating zero
# (common/field_limits.h).
NAME_WIDTH = 50         # names, classes, catalogue values
ABBREV_WIDTH = 10       # catalogue abbreviations and source codes
VARTYPE_WIDTH = 3       # variable-star type codes
LONGNAME_WIDTH = 99     # CatalogNames.LongName (the registry keeps 99)
DESCRIPTION_WIDTH = 2047  # CatalogNames.Description

TABLES = {
    'CatalogNames': ('Abbreviation', 'LongName', 'Description', 'HasNoCatNumbers'),
    'Systems': ('ID', 'LastUpdated'),
    'ProperNames': ('OwnerID', 'Name', 'IsSystemName'),
    'CatalogNumbers': ('OwnerID', 'CatAbbrev', 'Value', 'IsSystemName'),
    'Components': ('ID', 'Name', 'IsCloseBinary', 'Mass', 'Diameter', 'LastUpdated',
                   'MassSource', 'DiameterSource', 'IsDiameterArcsec'),
    'Positions': ('OwnerID', 'RA_hr', 'RA_min', 'RA_sec', 'Dec_deg', 'Dec_arcmin',
                  'Dec_arcsec', 'Distance', 'DistanceError', 'DistanceSource',
                  'LastUpdated', 'Epoch'),
    'Spectra': ('OwnerID', 'SpectralClass', 'LuminosityClass', 'SpectrumSource',
                'LastUpdated'),
    'Magnitudes': ('OwnerID', 'ApparentVMag', 'VMagIncrease', 'VariableType',
                   'VariablePeriod', 'BminusV', 'UminusB', 'RminusI', 'VMagSource',
                   'LastUpdated'),
    'Velocities': ('OwnerID', 'ProperMotion', 'PMAngle', 'RadialVelocity', 'PMSource',
                   'RVSource', 'LastUpdated'),
    'Orbits': ('ID', 'PrimaryID', 'SecondaryID', 'Period', 'SemimajorAxis', 'Eccentricity',
               'Inclination', 'Omega', 'PeriastronEpoch', 'IsAxisJustGap', 'Source',
               'PeriodError', 'LastUpdated', 'IsAxisAU', 'EccentricityLimit', 'EccentricityBound',
               'Grade'),
    'Planets': ('ID', 'Name', 'LastUpdated', 'Mass', 'MassError', 'IsMassAMinimum',
                'MassSource', 'Radius', 'RadiusError', 'RadiusSource', 'MassLimit', 'MassBound',
                'IsControversial'),
}

# Columns that hold text (windows-1252 bytes, stored as TEXT).
TEXT_COLUMNS = {'Abbreviation', 'LongName', 'Description', 'Name', 'CatAbbrev', 'Value',
                'LastUpdated', 'MassSource', 'DiameterSource', 'DistanceSource',
                'SpectralClass', 'LuminosityClass', 'SpectrumSource', 'VariableType',
                'VMagSource', 'PMSource', 'RVSource', 'Source', 'RadiusSource'}


class RowSet:
    """The rows of every table, collected in the order they are written."""

    def __init__(self, report):
        self.report = report
        self.encoder = Encoder(report)
        self.rows = {t: [] for t in TABLES}

    def text(self, value, width=NAME_WIDTH):
        """value as database text (windows-1252, cut to width); None stays None."""
        if value is None:
            return None
        return self.encoder.encode(str(value), width)

    def source(self, code):
        """A source code or catalogue abbreviation as database text."""
        return self.text(code, ABBREV_WIDTH)

    def add(self, table, **values):
        """Appends a row; columns not given are NULL."""
        self.rows[table].append(tuple(values.get(c) for c in TABLES[table]))
