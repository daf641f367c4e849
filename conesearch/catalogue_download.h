// The whole catalogue, one row per component star, for the downloads.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <vector>

#include "catalog.h"
#include "catalogue_columns.h"

namespace vldr {

// Reads every component of every system on statement, in ascending ID: its
// position (its own row of Positions when that has a right ascension and a
// declination, else its system's), spectrum and magnitudes, its system's
// display name (long names from catalogs) and the path of the system's
// report. Writes nothing. Nothing when the components cannot be read.
std::optional<std::vector<CatalogueRow>> loadCatalogueRows(SQLHSTMT statement, const CatalogNames& catalogs);

}  // namespace vldr
