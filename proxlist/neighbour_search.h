// The search for the systems nearest a centre: one pass over every
// position, the nearest ones kept in distance order, and what the result
// lines show of each.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog.h"
#include "field_limits.h"
#include "ids.h"
#include "neighbour_request.h"
#include "position_candidates.h"

namespace vldr {

// One kept system.
struct Neighbour {
    Id systemId = 0;
    double distance = 0;  // from the centre (light-years)
    GalacticPoint place;  // where it lies (galactic, light-years from the Sun)
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

// The centre of a search around systemId (galactic, light-years), read from
// its Positions row on statement. Nothing when the system has no position
// row, no distance, or a non-zero distance without right ascension or
// declination.
std::optional<GalacticPoint> systemCentre(SQLHSTMT statement, Id systemId);

// Reads the rows of Positions on statement (only those the position grid
// files near the sphere when the database has the grid, else every row;
// the result is the same either way) and fills list, emptied first, with
// the systems (rows whose OwnerID is a multiple of 100) that lie at least
// request.minLY and at most request.ly light-years from centre and inside
// the request's derived right-ascension and declination limits, leaving out
// excludedSystemId (0 for none). Writes nothing. Returns false, list left
// empty, when the rows cannot be read.
bool findNeighbours(SQLHSTMT statement, const GalacticPoint& centre, const NeighbourRequest& request,
                    Id excludedSystemId, NeighbourList& list);

// What the result line of one kept system shows.
struct ResultLine {
    Id systemId = 0;
    double distance = 0;           // from the centre (light-years)
    GalacticPoint place;           // where it lies (galactic, light-years from the Sun)
    std::string name;              // display name (display_name.h)
    bool hasSpectralClass = false;  // the first component has a spectral class
    std::string spectralClass;     // of the first component
    std::string luminosityClass;   // of the first component; empty when it has none
};

// What a result page lists.
struct SearchResults {
    bool searched = false;          // false: the position rows could not be read
    long found = 0;                 // systems that passed every test, kept or not
    std::vector<ResultLine> lines;  // the kept systems, nearest first
};

// Runs findNeighbours into list and reads, system by system and nearest
// first, the display name and the first component's spectrum of each kept
// system, all on statement (long names from catalogs). Writes nothing.
SearchResults loadSearchResults(SQLHSTMT statement, const CatalogNames& catalogs, const GalacticPoint& centre,
                                const NeighbourRequest& request, Id excludedSystemId, NeighbourList& list);

}  // namespace vldr
