// Fixed widths and capacities of both programs, each with the reason for
// its value. The importer cuts the texts it writes to the same widths
// (importer/vldr_import/layout.py; tests/importer_writer_test.py checks
// that the two agree).
#pragma once

#include <cstddef>

#include "ids.h"

namespace vldr {

// The bytes of a bound text field that holds `characters` characters: the
// driver always writes a terminating zero, and cuts a longer text to fit.
constexpr std::size_t textFieldSize(std::size_t characters)
{
    return characters + 1;
}

// The query string.
// Longest parameter name accepted; a longer one ends the parse. The names
// the programs read have at most 9 characters ("minDecDeg"), so the limit
// only stops abuse and never a real request.
inline constexpr std::size_t kMaxQueryNameLength = 255;
// Longest raw (undecoded) value accepted; a longer one ends the parse. It
// bounds what one parameter can bring into a statement or a page: a
// decoded value has at most 1,022 characters (every quote doubled).
inline constexpr std::size_t kMaxRawQueryValueLength = 511;

// Bound text fields. The schema's TEXT columns have no width of their own;
// these are the widths the programs read them with, and a longer text
// arrives cut.
// Catalogue abbreviations and source codes: 10 characters, the longest
// abbreviation the importer writes (CatAbbrev, Abbreviation, *Source).
inline constexpr std::size_t kAbbreviationSize = textFieldSize(10);
// Names, spectral and luminosity classes and catalogue values: 50
// characters, the longest name or value the importer writes.
inline constexpr std::size_t kNameSize = textFieldSize(50);
// A catalogue's long name: fetched with room for 100 characters, one more
// than the 99 the importer writes, so that no stored long name is cut.
inline constexpr std::size_t kLongNameSize = textFieldSize(100);
// A catalogue's description: 2,047 characters, the longest the importer
// writes and the catalogue registry keeps.
inline constexpr std::size_t kDescriptionSize = textFieldSize(2047);
// A variable-star type code: 3 characters, the longest code of the table of
// variable types the system page explains.
inline constexpr std::size_t kVariableTypeSize = textFieldSize(3);
// A system's age, metallicity and arity comments: 511 characters of free
// text, a paragraph of the system page (kept by hand, not imported).
inline constexpr std::size_t kCommentSize = textFieldSize(511);
// A system's points of interest: 4,095 characters of free text (HTML),
// the longest section of prose the system page shows (kept by hand).
inline constexpr std::size_t kPointsOfInterestSize = textFieldSize(4095);

// Diagnostics of the driver manager.
// An SQLSTATE: five characters, as ODBC defines it.
inline constexpr std::size_t kSqlStateSize = textFieldSize(5);
// The message of a driver diagnostic that is reported: 511 characters,
// enough for the driver manager's and the drivers' messages whole.
inline constexpr std::size_t kDiagnosticMessageSize = textFieldSize(511);
// The database path of the data source, as a FastCGI process reads it to
// see whether the file was replaced: 4,095 bytes, Linux's longest path.
inline constexpr std::size_t kDatabasePathSize = textFieldSize(4095);

// Capacities.
// Most result columns one query binds: the widest query, of Orbits, reads
// 14; two more leave room for a column added to it.
inline constexpr std::size_t kMaxBoundColumns = 16;
// Most systems a neighbour search page lists: the nearest 100, as the page
// says when it finds more.
inline constexpr std::size_t kMaxShownNeighbours = 100;
// A point as a neighbour search heading writes it, "(x, y, z)" with "%g":
// three numbers of at most 13 characters ("-1.79769e+308"), two ", ", the
// brackets and the terminator take 46 bytes.
inline constexpr std::size_t kPointTextSize = 64;
// A FastCGI responder keeps its response buffer for the next request up to
// 1 MiB, so that one huge answer does not hold memory for the life of the
// process; every page of both programs is far smaller.
inline constexpr std::size_t kMaxKeptResponseBufferBytes = 1 << 20;

// --- conesearch's limits ---

// Largest search radius a cone search accepts (degrees): half a turn
// reaches every point of the sky, so a larger one asks for nothing more and
// is refused as out of range.
inline constexpr double kMaxSearchRadiusDegrees = 180.0;
// Most rows one cone-search answer holds: the nearest ones to the centre
// are kept and the answer says it overflowed. The bound keeps a whole-sky
// request on a large database to a bounded memory and a response a client
// can still load (about 30 MB of VOTable).
inline constexpr std::size_t kMaxConeRecords = 100000;

// --- sysview's capacities ---

// The report's tables hold one entry per ID of each range of a system S
// (ids.h), so that a loader that queries exactly its range never overflows.
inline constexpr int kMaxComponents = kComponentOffsets.count();  // 9
inline constexpr int kMaxOrbits = kOrbitOffsets.count();          // 39
inline constexpr int kMaxPlanets = kPlanetOffsets.count();        // 19
// Distinct planet IDs an orbit table can name (last two digits 51 to 99).
inline constexpr int kMaxCompanions = kIdsPerSystem - kPlanetOffsets.first;  // 49
// Longest composed name of a body (sysview's orbit section): a pair is a
// member of at most one pair, so a name holds each of the kMaxOrbits pairs
// at most once, over at most kMaxOrbits + 1 names of 50 characters (a
// component's or planet's name, or "<ERROR>"), with "(", "-" and ")" per
// pair: 2,117 characters. It keeps a page of the most orbits a system can
// have within a few hundred kilobytes.
inline constexpr std::size_t kMaxComposedNameLength =
    (static_cast<std::size_t>(kMaxOrbits) + 1) * (kNameSize - 1) + static_cast<std::size_t>(kMaxOrbits) * 3;
// Systems a name search stores and its match list shows: the page promises
// "Only the first 50 matches" when more systems match.
inline constexpr int kMaxMatches = 50;
// A search text built from Catalog= and CatNo= takes this much of each: an
// abbreviation is at most 10 characters (kAbbreviationSize), and 20 hold
// every catalogue number the catalogues use.
inline constexpr std::size_t kCatalogPrefixLength = 10;
inline constexpr std::size_t kCatalogNumberLength = 20;
// Longest printf flag text formatWithError uses: far more than the five
// flag characters printf knows, so that no flag text a caller writes is cut.
inline constexpr std::size_t kMaxFormatFlagsLength = 15;

}  // namespace vldr
