// Fixed widths and capacities shared by both programs.
#pragma once

#include <cstddef>

#include "ids.h"

namespace vldr {

// Longest query-string parameter name that is accepted; a longer one ends the parse.
inline constexpr std::size_t kMaxQueryNameLength = 255;
// Longest raw (undecoded) query value that is accepted; a longer one ends the parse.
inline constexpr std::size_t kMaxRawQueryValueLength = 511;

// Bound text fields: the column's width plus the terminating zero.
// Abbreviations and source codes hold 10 characters.
inline constexpr std::size_t kAbbreviationSize = 11;
// Names, classes and catalogue values hold 50 characters.
inline constexpr std::size_t kNameSize = 51;
// A catalogue's long name holds 100 characters, the width it is fetched with.
inline constexpr std::size_t kLongNameSize = 101;
// A catalogue's description holds 2,047 characters.
inline constexpr std::size_t kDescriptionSize = 2048;
// A variable-star type code holds 3 characters.
inline constexpr std::size_t kVariableTypeSize = 4;
// Free-text comments of a system hold 511 characters.
inline constexpr std::size_t kCommentSize = 512;
// A system's points of interest hold 4,095 characters.
inline constexpr std::size_t kPointsOfInterestSize = 4096;
// Room for the five characters of an SQLSTATE and its terminator.
inline constexpr std::size_t kSqlStateSize = 6;
// Longest driver message reported after a failed connection.
inline constexpr std::size_t kDiagnosticMessageSize = 512;

// Most result columns one query binds: the widest query, of Orbits, reads 14.
inline constexpr std::size_t kMaxBoundColumns = 16;

// --- sysview's capacities ---

// The report's tables hold one entry per ID of each range of a system S
// (ids.h), so that a loader that queries exactly its range never overflows.
inline constexpr int kMaxComponents = kLastComponentOffset - kFirstComponentOffset + 1;  // 9
inline constexpr int kMaxOrbits = kLastOrbitOffset - kFirstOrbitOffset + 1;              // 39
inline constexpr int kMaxPlanets = kLastPlanetOffset - kFirstPlanetOffset + 1;           // 19
// Distinct planet IDs an orbit table can name (last two digits 51 to 99).
inline constexpr int kMaxCompanions = kIdsPerSystem - kFirstPlanetOffset;               // 49
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
