"""Builds a VLDR star-system database from published star catalogues.

    python3 -m vldr_import OUT.db --hyg STARS.csv [--orb6 ORBITS.txt] [--planets PLANETS.csv]
                   [--iau-names NAMES.csv] [--names NAMES.csv] [--variables NEAREST.csv]

Inputs (only --hyg is required):
  --hyg        an HYG-format CSV (v3 or v4 columns; any number of rows)
  --orb6       the Sixth Catalog of Orbits of Visual Binary Stars, "orbital
               elements" text layout (two lines per orbit)
  --planets    the NASA Exoplanet Archive's Planetary Systems Composite table
               (CSV, '#' comment lines allowed); may be given more than once
  --iau-names  the IAU star-name list (CSV with "Proper Names", "Designation", "HIP")
  --names      common names as "name,GJ designation" lines, no header
  --variables  a Southern Stars format star list (Type,RA,Dec,...,Vtype,Vmin,
               Vmax,Vper,...,IDs,Names); only its variability is used

Each input has a --*-date YYYY-MM-DD option: the release date written into the
LastUpdated columns of the rows it supplies. Without it the date is taken from
a YYYY-MM-DD in the file name, else from the file's modification time.

The database follows db/schema.sql. It is written to OUT.db.tmp.<pid> in one
transaction and renamed over OUT.db only when complete, so a site that is
serving keeps reading the old file until the new one is whole.

Rows that cannot be used are reported on standard error as FILE:LINE: reason;
the import goes on without them. A summary of counts goes to standard output.
Exit status: 0 on success (even with rejected rows), 1 when the database could
not be written, 2 for bad arguments or an unusable HYG header.

Modules, in the order an import uses them: cli (the stages), csvfile, hyg,
orb6, names, variables, planets (one reader per catalogue), lookup (finding
stars), grouping (systems), ids (the ID scheme), rows and catalogs (the rows
written), layout (tables and widths), writer (SQLite), report, and the helpers
units, designations, spectra and windows1252.
"""
