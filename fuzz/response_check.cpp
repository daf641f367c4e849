#include "response_check.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace vldr::fuzz {
namespace {

// The heading that opens sysview's match list.
constexpr std::string_view kMatchListHeading = " stars found with a name matching &quot;";
constexpr std::string_view kMatchListEnd = "</A>\n";

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool containsWord(std::string_view text, std::string_view word)
{
    for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const bool startsWord = at == 0 || !isLetter(text[at - 1]);
        const std::size_t after = at + word.size();
        const bool endsWord = after == text.size() || !isLetter(text[after]);
        if (startsWord && endsWord) return true;
    }
    return false;
}

std::size_t occurrences(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string htmlPageFault(std::string_view response, bool allowMatchList)
{
    if (!response.substr(kHtmlHeader.size()).starts_with("<HTML>\n")) return "HTML response without <HTML>";
    if (response.ends_with(kHtmlEnd)) {
        if (occurrences(response, kHtmlEnd) != 1) return "more than one </BODY></HTML>";
        return "";
    }
    if (allowMatchList && response.find(kMatchListHeading) != std::string_view::npos &&
        response.ends_with(kMatchListEnd) && occurrences(response, kHtmlEnd) == 0)
        return "";
    return "HTML page ends before </BODY></HTML>";
}

}  // namespace

bool containsNonFiniteNumber(std::string_view text)
{
    return containsWord(text, "nan") || containsWord(text, "inf");
}

bool mentionsNonFiniteWord(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

std::string responseFault(std::string_view response, std::string_view query, bool allowMatchList)
{
    std::string fault;
    if (response.empty()) {
        fault = "empty response";
    } else if (response.starts_with(kPlainTextHeader)) {
        if (response.size() == kPlainTextHeader.size()) fault = "plain-text response without a body";
        else if (!response.ends_with("\n")) fault = "plain-text response without its last line end";
    } else if (response.starts_with(kHtmlHeader)) {
        fault = htmlPageFault(response, allowMatchList);
    } else {
        fault = "response without a Content-type header and empty line";
    }
    if (fault.empty() && !mentionsNonFiniteWord(query) && containsNonFiniteNumber(response))
        fault = "nan or inf printed";
    return fault;
}

void reportFault(const std::string& message, std::string_view query, std::string_view response)
{
    std::fprintf(stderr, "\n== response fault: %s\n== QUERY_STRING (%zu bytes): ", message.c_str(), query.size());
    for (char c : query) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') std::fputc(byte, stderr);
        else std::fprintf(stderr, "\\x%02X", byte);
    }
    const std::size_t shown = response.size() < 2000 ? response.size() : 2000;
    std::fprintf(stderr, "\n== response (%zu bytes; the last %zu):\n%.*s\n== end of response\n", response.size(), shown,
                 static_cast<int>(shown), response.data() + response.size() - shown);
    std::abort();
}

}  // namespace vldr::fuzz
