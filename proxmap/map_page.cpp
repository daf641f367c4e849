#include "map_page.h"

#include "field_limits.h"
#include "map_drawing.h"
#include "map_layout.h"
#include "map_loading.h"
#include "output.h"
#include "search_results.h"
#include "view_links.h"

namespace vldr {
namespace {

constexpr const char* kMapTitle = "<TITLE>VLDR neighbourhood map</TITLE>";

// The lines between the heading and the drawing: the count when the map
// shows only the nearest 100, or the line that says nothing was found.
void printCountLine(const SearchResults& results)
{
    if (results.found > static_cast<long>(kMaxShownNeighbours)) {
        writeFormatted("<P>%ld stars were found.&nbsp; Only the nearest %d are drawn.</P>\n", results.found,
                       static_cast<int>(kMaxShownNeighbours));
    }
    if (results.lines.empty()) writeLine("<P>No neighboring stars were found in the Valdora.</P>");
}

}  // namespace

void writeMapPage(SQLHSTMT statement, const NeighbourRequest& request, const GalacticPoint& centre,
                  const MapView& view, const std::string& rawQuery, NeighbourList& neighbours)
{
    const MapData data = loadMapData(statement, request, centre, neighbours);
    const MapLayout layout = layOutMap(data, request, view);
    const std::string search = searchQuery(rawQuery);

    writeHtmlHead(kMapTitle);
    std::string storage;
    printSearchHeading(request, std::string(escapeXml(data.centreName, storage)));
    if (!data.results.searched) {
        writeLine("<BR>Internal error: Database query failed.");
    } else {
        printCountLine(data.results);
        writeLine("<DIV CLASS=\"map\">");
        printMapDrawing(layout, data.centreName);
        writeLine("</DIV>");
    }
    printViewLinks(search, view);
    writeLine("<P><A HREF=\"/fields.html#map\">How to read the map</A></P>");
    writeHtmlClose();
}

}  // namespace vldr
