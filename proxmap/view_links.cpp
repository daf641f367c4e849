#include "view_links.h"

#include <cstdio>

#include "map_constants.h"
#include "output.h"

namespace vldr {
namespace {

// The name of a raw segment "name=value" (all of it when it has no "=").
std::string_view segmentName(std::string_view segment)
{
    return segment.substr(0, segment.find('='));
}

// Writes an <A> element to program with query (escaped for the URL and
// its attribute) with text (our literal).
void printLink(const char* program, const std::string& query, const char* text)
{
    std::string urlStorage, attributeStorage;
    writeFormatted("<A HREF=\"%s?", program);
    writeText(escapeXml(escapeUrlQuery(query, urlStorage), attributeStorage));
    writeFormatted("\">%s</A>", text);
}

// The query of the map of searchQuery in view.
std::string mapQuery(const std::string& searchQuery, const MapView& view)
{
    char viewText[64];
    std::snprintf(viewText, sizeof viewText, "Turn=%g&Tilt=%g", view.turn, view.tilt);
    return searchQuery + (searchQuery.empty() ? "" : "&") + viewText;
}

// Writes the link to the map of searchQuery in view.
void printMapLink(const std::string& searchQuery, const MapView& view, const char* text)
{
    printLink("proxmap.exe", mapQuery(searchQuery, view), text);
}

}  // namespace

std::string searchQuery(std::string_view rawQuery)
{
    std::string kept;
    while (!rawQuery.empty()) {
        const std::size_t end = rawQuery.find('&');
        const std::string_view segment = rawQuery.substr(0, end);
        rawQuery.remove_prefix(end == std::string_view::npos ? rawQuery.size() : end + 1);
        const std::string_view name = segmentName(segment);
        if (segment.empty() || name == "Turn" || name == "Tilt") continue;
        if (!kept.empty()) kept += '&';
        kept += segment;
    }
    return kept;
}

void printViewLinks(const std::string& searchQuery, const MapView& view)
{
    writeText("<P CLASS=\"view\">");
    printMapLink(searchQuery, turnedBy(view, -kTurnStep), "Turn 30&deg; clockwise");
    writeText(" | ");
    printMapLink(searchQuery, turnedBy(view, kTurnStep), "Turn 30&deg; counterclockwise");
    if (view.tilt > kLowestTilt) {
        writeText(" | ");
        printMapLink(searchQuery, tiltedBy(view, -kTiltStep), "Tilt down");
    }
    if (view.tilt < kHighestTilt) {
        writeText(" | ");
        printMapLink(searchQuery, tiltedBy(view, kTiltStep), "Tilt up");
    }
    writeText(" | ");
    printLink("proxlist.exe", searchQuery, "The same search as a list");
    writeLine("</P>");
}

}  // namespace vldr
