// The CGI request: decoding of QUERY_STRING into name/value pairs and their lookup.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sql_text.h"

namespace vldr {

// One decoded pair of the query string.
struct QueryParam {
    std::string name;   // as written in the query, never decoded (1..255 characters)
    SqlQuoted value;    // decoded and quoted; may be empty (up to 1,022 characters)
};

// The decoded pairs of one request, in order of appearance. The caller of
// parseQueryString owns it; lookups hand out texts that live as long as it.
struct QueryString {
    std::vector<QueryParam> pairs;
};

// Splits and decodes the whole query text into one pair per well-formed
// segment, in order of appearance. A name longer than 255 characters or a
// raw value longer than 511 ends the parse; the pairs before it are kept.
QueryString parseQueryString(std::string_view text);

// Returns the value of the first pair of query named exactly name
// (case-sensitive), or null when no pair has that name. The text belongs to
// query and stays valid while query lives unchanged.
const char* getQueryValue(const QueryString& query, const char* name);

// Decodes one raw value: + is a space, * the windows-1252 degree sign 0xB0,
// ' becomes '' (so the value is safe between single quotes in a statement),
// %hh and %h give the byte of their hexadecimal digits. A decoded byte 0 ends the value.
std::string decodeQueryValue(std::string_view raw);

// The same decoding, as the quoted text that a statement may take.
SqlQuoted decodeQueryText(std::string_view raw);

// The value of the first pair named exactly name as quoted text, or null;
// it lives as long as query.
const SqlQuoted* findQueryText(const QueryString& query, const char* name);

// The first `limit` characters of a decoded value, or one fewer where the cut
// would fall between the two quotes of a doubled single quote. Every quote of
// a decoded value comes doubled; a lone one left by a cut would end the SQL
// literal the value is placed in and let the rest of the request run as SQL.
std::string cutDecodedValue(std::string_view decoded, std::size_t limit);

// Converts the leading integer of text as strtol does (white space, an
// optional sign, digits up to the first non-digit; no digits give 0).
// Returns nothing when the digits exceed the 32-bit signed range.
std::optional<std::int32_t> toInt32(const char* text);

}  // namespace vldr
