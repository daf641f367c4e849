// Fixed widths and capacities shared by both programs.
#pragma once

#include <cstddef>

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

}  // namespace vldr
