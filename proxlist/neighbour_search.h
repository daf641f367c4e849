// The search for the systems nearest a centre: one pass over every
// position, the nearest ones kept in distance order, and their result lines.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog.h"
#include "neighbour_request.h"
#include "position_candidates.h"

namespace vldr {

// Most systems a result page lists.
inline constexpr std::size_t kMaxShownNeighbours = 100;

// Title lines of the result pages.
inline constexpr const char* kSystemSearchTitle = "<TITLE>VLDR neighbor search results</TITLE>";
inline constexpr const char* kPointSearchTitle = "<TITLE>VLDR near-coordinate search results</TITLE>";

// One kept system.
struct Neighbour {
    std::int32_t systemId = 0;
    double distance = 0;  // from the centre (light-years)
};

// The nearest systems found so far, in ascending distance. Slots 0 to 99
// hold the kept systems; the last slot only receives the entry that an
// insertion pushes out of a full list and is never shown.
struct NeighbourList {
    Neighbour slots[kMaxShownNeighbours + 1];
    std::size_t count = 0;  // kept systems, 0 to 100
    long found = 0;         // systems that passed every test, kept or not
};

// Inserts neighbour into list after every entry at the same or a smaller
// distance (so of equal distances the one inserted first stays first), and
// counts it as found. In a full list the farthest entry drops into the
// spare slot; a newcomer at the distance of the 100th entry or beyond is not kept.
void insertNeighbour(NeighbourList& list, const Neighbour& neighbour);

// Reads the rows of Positions on statement (only those the position grid
// files near the sphere when the database has the grid, else every row;
// the page is the same either way) and lists the systems (rows
// whose OwnerID is a multiple of 100) that lie at least request.minLY and at
// most request.ly light-years from centre and inside the request's derived
// right-ascension and declination limits, leaving out excludedSystemId (0
// for none). Writes to standard output: the count line when more than 100
// were found, then one line per kept system, nearest first, with its display
// name, distance and the spectral class of its first component; or the
// no-neighbours line; or, when the rows cannot be read, the internal-error line.
// Display names take their catalogue long names from catalogs.
void listNeighbours(SQLHSTMT statement, const CatalogNames& catalogs, const GalacticPoint& centre,
                    const NeighbourRequest& request, std::int32_t excludedSystemId);

// Writes the whole page of a search around the system request.systemId:
// page head, heading with the system's display name, the result lines of
// listNeighbours (the system itself left out) and the closing tags.
// Returns false, having written nothing, when the system has no position
// row, no distance, or a non-zero distance without right ascension or
// declination.
bool showSystemNeighbours(SQLHSTMT statement, std::int32_t systemId, const NeighbourRequest& request);

// The display name of the system that contains ownerId as a page shows it:
// its proper name or system catalogue designation, or "System " and its
// system ID when it has neither (never an empty text). Long names come from catalogs.
std::string systemDisplayName(SQLHSTMT statement, const CatalogNames& catalogs, std::int32_t ownerId);

}  // namespace vldr
