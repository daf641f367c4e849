// Text written into XML documents (the VOTables of the cone search and the
// catalogue downloads). The database holds windows-1252 text; XML documents
// are written in UTF-8, the one encoding every XML parser must read, so each
// text is converted on its way out and escaped for element content and
// attribute values alike.
#pragma once

#include <string>
#include <string_view>

namespace vldr {

// Appends text (windows-1252) to out as UTF-8 with &, <, >, " and ' turned
// into their XML entities. Bytes that name no character in windows-1252
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) and control bytes that XML 1.0 forbids
// (all below 0x20 but tab, line feed and carriage return) become U+FFFD,
// the replacement character, so that the document always stays well formed.
void appendXmlText(std::string& out, std::string_view text);

// Appends text (windows-1252) to out as UTF-8, unescaped: for CSV cells.
void appendUtf8Text(std::string& out, std::string_view text);

// Writes text (windows-1252, from the database or the query) through the
// output module as appendXmlText gives it.
void writeUtf8XmlText(std::string_view text);

}  // namespace vldr
