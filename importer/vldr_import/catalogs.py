"""The catalogue registry rows: the long name and description of every
catalogue abbreviation and source code the import writes."""
from .layout import DESCRIPTION_WIDTH, LONGNAME_WIDTH

# Long names of every catalogue abbreviation and source code the importer can
# write (ORB6 reference codes are added as they are used).
CATALOG_NAMES = {
    'HIP': ('Hipparcos', 'Hipparcos Catalogue (ESA 1997; 2007 reduction)'),
    'HD': ('Henry Draper', 'Henry Draper Catalogue and Extension'),
    'HR': ('Harvard Revised', 'Harvard Revised Photometry / Yale Bright Star Catalogue'),
    'Gl': ('Gliese', 'Gliese Catalogue of Nearby Stars (numbers 1-999)'),
    'GJ': ('Gliese-Jahreiss', 'Gliese & Jahreiss, Catalogue of Nearby Stars, 3rd edition (1991)'),
    # No long name: the page shows the abbreviation alone ("Bayer Alp1 Cen").
    'Bayer': ('', 'Bayer designation (Greek letter and constellation)'),
    'Flam': ('Flamsteed', 'Flamsteed designation (number and constellation)'),
    'GCVS': ('General Catalogue of Variable Stars', 'Variable-star designation'),
    'HYG': ('HYG database', 'HYG database v3 by David Nash (astronexus.com), '
            'compiled from Hipparcos, Yale Bright Star and Gliese; CC BY-SA'),
    'NASA': ('NASA Exoplanet Archive', 'NASA Exoplanet Archive, Planetary Systems '
             'Composite Parameters'),
    'L': ('Luyten', 'Luyten, Proper motion survey with the 48-inch Schmidt telescope'),
    'LP': ('Luyten-Palomar', 'Luyten, Palomar proper-motion survey (NLTT numbers L-P)'),
    'G': ('Giclas', 'Giclas, Lowell proper-motion survey'),
    'Gaia': ('Gaia DR3', 'Gaia Data Release 3 source identifier (ESA 2022)'),
    # No long name: the page shows "J2000 J154045-5101".
    'J2000': ('', 'Position designation: right ascension hhmmss and declination ddmm, '
              'equinox and epoch 2000'),
    'SIMPLE': ('SIMPLE archive of brown dwarfs',
               'SIMPLE archive (SIMPLE-AstroDB/SIMPLE-db, release 5.4.2026.02, BSD 3-Clause): '
               'low-mass stars, brown dwarfs and imaged planets, each value with its reference'),
    'SS10pc': ('The 10-parsec sample in the Gaia era (Reyl\u00e9 et al. 2021), Southern Stars list',
               'Southern Stars nearest-star list (Tim DeBenedictis): the 10-parsec sample of '
               'Reyl\u00e9 et al. 2021 with GCVS variability and ORB6/WDS orbits'),
}

# Abbreviations of catalogues that number stars (the rest are data sources).
NUMBERING_CATALOGUES = ('HIP', 'HD', 'HR', 'Gl', 'GJ', 'Bayer', 'Flam', 'GCVS', 'HYG', 'L', 'LP',
                        'G', 'Gaia', 'J2000')


def orbit_reference(abbrev):
    """(long name, description) of an ORB6 reference code."""
    return (f"Sixth Catalog of Orbits of Visual Binary Stars, reference {abbrev}",
            "USNO Sixth Catalog of Orbits of Visual Binary Stars (ORB6); "
            f"orbit published in reference {abbrev}")


def add_catalog_names(rows, used):
    """Adds a CatalogNames row for every abbreviation in used, in sorted order."""
    for abbrev in sorted(used):
        long_name, description = CATALOG_NAMES.get(abbrev) or orbit_reference(abbrev)
        rows.add('CatalogNames', Abbreviation=rows.source(abbrev),
                 LongName=rows.text(long_name, LONGNAME_WIDTH),
                 Description=rows.text(description, DESCRIPTION_WIDTH),
                 HasNoCatNumbers=0 if abbrev in NUMBERING_CATALOGUES else 1)
