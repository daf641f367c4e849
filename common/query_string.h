// The CGI request: decoding of QUERY_STRING into name/value pairs and their lookup.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vldr {

// One decoded pair of the query string.
struct QueryParam {
    std::string name;   // as written in the query, never decoded (1..255 characters)
    std::string value;  // decoded; may be empty (up to 1,022 characters)
};

// Splits and decodes the whole query text and appends one pair per
// well-formed segment to the program-wide list, in order of appearance.
// Returns the number of pairs appended. A name longer than 255 characters or
// a raw value longer than 511 ends the parse; the pairs before it stay.
int parseQueryString(std::string_view text);

// Appends a pair with owned copies of name and value to the program-wide list.
void addQueryParam(std::string_view name, std::string_view value);

// Returns the value of the first pair named exactly name (case-sensitive),
// or null when no pair has that name. The text stays valid until the process ends.
const char* getQueryValue(const char* name);

// Decodes one raw value: + is a space, * the windows-1252 degree sign 0xB0,
// ' becomes '' (so the value is safe between single quotes in a statement),
// %hh and %h give the byte of their hexadecimal digits. A decoded byte 0 ends the value.
std::string decodeQueryValue(std::string_view raw);

// The first `limit` characters of a decoded value, or one fewer where the cut
// would fall between the two quotes of a doubled single quote. Every quote of
// a decoded value comes doubled; a lone one left by a cut would end the SQL
// literal the value is placed in and let the rest of the request run as SQL.
std::string cutDecodedValue(std::string_view decoded, std::size_t limit);

// Empties the program-wide list (for tests; the programs parse once).
void clearQueryParams();

// Converts the leading integer of text as strtol does (white space, an
// optional sign, digits up to the first non-digit; no digits give 0).
// Returns nothing when the digits exceed the 32-bit signed range.
std::optional<std::int32_t> toInt32(const char* text);

}  // namespace vldr
