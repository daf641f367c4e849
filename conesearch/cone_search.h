// The search itself: which systems lie in the cone, and what their rows show.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <vector>

#include "catalog.h"
#include "catalogue_columns.h"
#include "cone_request.h"

namespace vldr {

// The systems found in a cone.
struct ConeMatches {
    std::vector<CatalogueRow> rows;  // position, epoch and angular distance filled; nearest first
    bool overflow = false;           // more than kMaxConeRecords matched; the nearest are kept
};

// Reads the rows of Positions on statement (only those the direction index
// files near the cone when the database has the index, else every row; the
// result is the same either way) and keeps the systems (rows whose OwnerID
// is a multiple of 100) that have a right ascension and a declination, are
// not at distance 0 (the Sun has no direction), and lie at most
// request.radius degrees from request.centre; SR=0 asks only for the
// columns and finds nothing. Rows come nearest the centre first, rows at the
// same angle in the order of Positions. Writes nothing. Nothing when the
// rows cannot be read.
std::optional<ConeMatches> findConeMatches(SQLHSTMT statement, const ConeRequest& request);

// Fills in each row of matches, on statement: the system's display name,
// the spectrum and magnitudes of its primary (component S+1), and the
// report's URL (urlBase, then the report's path). Writes nothing.
void loadConeDetails(SQLHSTMT statement, const CatalogNames& catalogs, const std::string& urlBase,
                     std::vector<CatalogueRow>& rows);

}  // namespace vldr
