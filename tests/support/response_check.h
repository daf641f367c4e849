// Checks that hold for every response of both programs, whatever the
// request or the database: one complete response with the exit status that
// belongs to it, no number printed as nan or inf, and every failed ODBC
// call logged on standard error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "test_database.h"

namespace vldr::test {

// The kinds of response, told apart by header, title and body.
enum class ResponseKind {
    Incomplete,       // anything else: empty, cut short, two headers, ...
    PlainText,        // "Content-type: text/plain", an empty line, lines ending in "\n"
    ReportPage,       // sysview: a system's report
    MatchList,        // sysview: the list of systems matching a name (no closing tags)
    NoSuchIdPage,     // sysview: "No star system with an ID of ... exists"
    NoMatchPage,      // sysview: "No star name matching \"...\" found."
    NeighbourPage,    // proxlist: a search around a system or a point
    NotFoundPage,     // proxlist: "No star name matching ID ... found."
};

// Readable name of a kind, for failure messages.
const char* kindName(ResponseKind kind);

// Lets test failures show a kind by its name.
inline void PrintTo(ResponseKind kind, std::ostream* out)
{
    *out << kindName(kind);
}

// The kind of response that output is. A page counts only when it is whole:
// the header, the empty line, the head, and "</BODY>\n</HTML>\n" at the end
// (the match list ends after its last "</A>\n" instead).
ResponseKind classifyResponse(const std::string& output);

// Empty when result is one complete response of program ("sysview" or
// "proxlist") with the exit status that kind of response has; else what is
// wrong. A killed run is always wrong.
std::string responseFault(const std::string& program, const ProgramResult& result);

// Empty when output shows no nan or inf (in any letter case, with or
// without a sign) outside the texts listed in echoes (query values that a
// page repeats, HTML-escaped as the page writes them); else the first line
// that shows one.
std::string nonFiniteText(const std::string& output, const std::vector<std::string>& echoes = {});

// True when text holds a line with "SQLSTATE=" followed by a five-character
// state, as the programs log a failed ODBC call on standard error.
bool logsSqlState(const std::string& text);

// text with &, <, > and " written as HTML entities, as a page repeats a query value.
std::string htmlEscaped(const std::string& text);

}  // namespace vldr::test
