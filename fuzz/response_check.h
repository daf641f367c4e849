// What every response of both programs must look like, whatever the request:
// one header, an empty line, and a body that is complete.
#pragma once

#include <string>
#include <string_view>

namespace vldr::fuzz {

// The two headers a response may start with (each followed by its empty line).
inline constexpr std::string_view kPlainTextHeader = "Content-type: text/plain\n\n";
inline constexpr std::string_view kHtmlHeader = "Content-type: text/html\n\n";

// The last lines of a whole HTML page.
inline constexpr std::string_view kHtmlEnd = "</BODY>\n</HTML>\n";

// True when text holds "nan" or "inf" standing as a word of its own, as
// printf writes a non-finite number ("nan", "-nan", "inf", "+inf").
bool containsNonFiniteNumber(std::string_view text);

// True when text contains "nan" or "inf" in any case, so that a page may
// echo it back legitimately.
bool mentionsNonFiniteWord(std::string_view text);

// Checks a whole response. A plain-text response is the header and at
// least one line, ending with a line feed. An HTML page is the header,
// "<HTML>", and ends with "</BODY>\n</HTML>\n", which appears only there;
// when allowMatchList is true, a page whose body is sysview's match list
// may instead end after its last "</A>\n". Unless query mentions nan or
// inf, no non-finite number may appear.
// Returns an empty text when the response is complete, else what is wrong.
std::string responseFault(std::string_view response, std::string_view query, bool allowMatchList);

// Stops the process with a report (message, query and response) that
// libFuzzer records as a crash with its reproducer.
[[noreturn]] void reportFault(const std::string& message, std::string_view query, std::string_view response);

}  // namespace vldr::fuzz
