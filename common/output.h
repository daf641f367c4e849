// The one way bytes reach standard output. Every response of both programs
// is written through these writers.
//
// Values from the database and the programs' own literals are trusted
// markup. Text that came from the query string is not: it reaches a page
// only through writeQueryText, which escapes it.
#pragma once

#include <string>
#include <string_view>

namespace vldr {

// The indentation of a continued or nested line on a page.
inline constexpr const char* kIndent = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

// Writes text followed by one line feed.
void writeLine(std::string_view text);

// Writes printf-style formatted text; the format's own "\n" are the only line ends.
void writeFormatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes a number with "%f" when it is below smallLimit and with "%g"
// otherwise, followed by suffix (a unit, a line end, or nothing).
void writeNumber(double value, double smallLimit, const char* suffix = "");

// Writes text as it stands (trusted markup: database values, our literals).
void writeText(std::string_view text);

// Writes text taken from the query string into a page, with &, <, > and "
// turned into their HTML entities.
void writeQueryText(std::string_view text);

// Returns text with &, <, > and " turned into their HTML entities.
std::string_view escapeHtml(std::string_view text, std::string& storage);

// Returns text fit to stand in XML, as SVG text or an attribute value in
// double quotes, and so in HTML too: &, <, >, " and ' as character
// references, and every control character XML does not allow (bytes below
// 32 other than tab, line feed and carriage return) as "?".
std::string_view escapeXml(std::string_view text, std::string& storage);

// Writes text (from the database or the query) as escapeXml returns it.
void writeXmlText(std::string_view text);

// Returns a raw query string (as QUERY_STRING holds it) fit to follow "?"
// in a URL: every byte but letters, digits and - _ . ~ % + * = & , ; : / !
// ( ) $ @ written %hh (upper-case hexadecimal), which the query decoding
// reads back as the same byte. Escape the URL for its attribute after.
std::string_view escapeUrlQuery(std::string_view rawQuery, std::string& storage);

// Writes the header of a plain-text response: "Content-type: text/plain" and an empty line.
void writePlainTextHeader();

// Writes the header and head of an HTML page up to and including "<BODY>",
// with the given title line (for example "<TITLE>VLDR search results</TITLE>").
void writeHtmlHead(std::string_view titleLine);

// Writes the closing lines of an HTML page: "</BODY>" and "</HTML>".
void writeHtmlClose();

// Writes everything still buffered to standard output.
void flushOutput();

// Sends every byte written from now on to the end of *response instead of
// standard output, byte for byte as standard output would get it; nullptr
// returns to standard output. The caller owns response and keeps it alive
// until it calls this again. Used by the FastCGI loop (fastcgi_loop.h).
void captureOutput(std::string* response);

}  // namespace vldr
