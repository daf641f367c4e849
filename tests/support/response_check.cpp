#include "response_check.h"

#include <cctype>

namespace vldr::test {
namespace {

constexpr const char* kHtmlClose = "</BODY>\n</HTML>\n";
constexpr const char* kSearchTitle = "<TITLE>VLDR search results</TITLE>";
constexpr const char* kIdLookupTitle = "<TITLE>VLDR system ID lookup search results</TITLE>";
constexpr const char* kPointTitle = "<TITLE>VLDR near-coordinate search results</TITLE>";
constexpr const char* kSystemSearchTitle = "<TITLE>VLDR neighbor search results</TITLE>";
// Every report page ends with the line of its newest date.
constexpr const char* kReportDateLine = "Data for this star system were most recently updated on ";

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The kind of a page with the given title and body (the text after "<BODY>\n").
ResponseKind classifyPage(const std::string& title, const std::string& body)
{
    const bool closed = endsWith(body, kHtmlClose) && countOf(body, kHtmlClose) == 1;
    if (title == kIdLookupTitle) {
        return closed && startsWith(body, "No star system with an ID of ") ? ResponseKind::NoSuchIdPage
                                                                            : ResponseKind::Incomplete;
    }
    if (title == kPointTitle || title == kSystemSearchTitle)
        return closed ? ResponseKind::NeighbourPage : ResponseKind::Incomplete;
    if (title != kSearchTitle) return ResponseKind::Incomplete;
    if (closed && startsWith(body, "No star name matching ID ")) return ResponseKind::NotFoundPage;
    if (closed && startsWith(body, "No star name matching \"") && endsWith(body, std::string("\" found.\n") + kHtmlClose))
        return ResponseKind::NoMatchPage;
    if (closed && body.find(kReportDateLine) != std::string::npos) return ResponseKind::ReportPage;
    if (!closed && startsWith(body, "<CENTER><H3>") && body.find(" found with a name matching &quot;") != std::string::npos &&
        endsWith(body, "</A>\n") && body.find("</BODY>") == std::string::npos)
        return ResponseKind::MatchList;
    return ResponseKind::Incomplete;
}

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Where "inf" or "nan" (any letter case) stands as a word of its own, not
// inside a longer word ("Information"); npos when nowhere.
std::size_t findNonFiniteWord(const std::string& text)
{
    for (std::size_t at = 0; at + 3 <= text.size(); ++at) {
        std::string word = text.substr(at, 3);
        for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (word != "inf" && word != "nan") continue;
        const bool startsWord = at == 0 || !isLetter(text[at - 1]);
        const bool endsWord = at + 3 == text.size() || !isLetter(text[at + 3]);
        if (startsWord && endsWord) return at;
    }
    return std::string::npos;
}

}  // namespace

const char* kindName(ResponseKind kind)
{
    switch (kind) {
    case ResponseKind::Incomplete: return "an incomplete response";
    case ResponseKind::PlainText: return "plain text";
    case ResponseKind::ReportPage: return "a report page";
    case ResponseKind::MatchList: return "a match list";
    case ResponseKind::NoSuchIdPage: return "the no-such-ID page";
    case ResponseKind::NoMatchPage: return "the no-match page";
    case ResponseKind::NeighbourPage: return "a neighbour page";
    case ResponseKind::NotFoundPage: return "proxlist's not-found page";
    }
    return "?";
}

ResponseKind classifyResponse(const std::string& output)
{
    const std::string plainHeader = kPlainTextHeader;
    const std::string htmlHeader = "Content-type: text/html\n\n";
    if (startsWith(output, plainHeader)) {
        const bool whole = output.size() > plainHeader.size() && endsWith(output, "\n") &&
                           output.find("Content-type:", plainHeader.size()) == std::string::npos &&
                           output.find("<HTML>") == std::string::npos;
        return whole ? ResponseKind::PlainText : ResponseKind::Incomplete;
    }
    if (!startsWith(output, htmlHeader) || countOf(output, "Content-type:") != 1) return ResponseKind::Incomplete;
    for (const char* title : {kSearchTitle, kIdLookupTitle, kPointTitle, kSystemSearchTitle}) {
        const std::string head = htmlHead(title);
        if (startsWith(output, head) && countOf(output, "<BODY>") == 1)
            return classifyPage(title, output.substr(head.size()));
    }
    return ResponseKind::Incomplete;
}

std::string responseFault(const std::string& program, const ProgramResult& result)
{
    if (result.killed) return "killed after " + std::to_string(kRunTimeLimitSeconds) + " s (a hang)";
    const ResponseKind kind = classifyResponse(result.output);
    if (kind == ResponseKind::Incomplete) return "incomplete response (" + std::to_string(result.output.size()) + " bytes)";
    bool sysviewKind = kind == ResponseKind::ReportPage || kind == ResponseKind::MatchList ||
                       kind == ResponseKind::NoSuchIdPage || kind == ResponseKind::NoMatchPage;
    bool proxlistKind = kind == ResponseKind::NeighbourPage || kind == ResponseKind::NotFoundPage;
    if ((program == "sysview" && proxlistKind) || (program == "proxlist" && sysviewKind))
        return std::string("a page of the other program: ") + kindName(kind);
    // Only a report page (sysview) or a neighbour page (proxlist) is a success.
    const int expected = kind == ResponseKind::ReportPage || kind == ResponseKind::NeighbourPage ? 0 : 255;
    if (result.status != expected) {
        return std::string(kindName(kind)) + " with exit status " + std::to_string(result.status) + ", expected " +
               std::to_string(expected);
    }
    return "";
}

std::string nonFiniteText(const std::string& output, const std::vector<std::string>& echoes)
{
    std::string text = output;
    for (const std::string& echo : echoes) {
        if (echo.empty()) continue;
        for (std::size_t at = text.find(echo); at != std::string::npos; at = text.find(echo, at))
            text.replace(at, echo.size(), " ");
    }
    const std::size_t at = findNonFiniteWord(text);
    if (at == std::string::npos) return "";
    const std::size_t lineStart = text.rfind('\n', at);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    return text.substr(from, text.find('\n', at) - from);
}

bool logsSqlState(const std::string& text)
{
    const std::string marker = "SQLSTATE=";
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        const std::size_t state = at + marker.size();
        if (text.size() < state + 5) return false;
        bool fiveCharacters = true;
        for (std::size_t i = state; i < state + 5; ++i)
            fiveCharacters = fiveCharacters && std::isalnum(static_cast<unsigned char>(text[i]));
        if (fiveCharacters) return true;
    }
    return false;
}

std::string htmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace vldr::test
