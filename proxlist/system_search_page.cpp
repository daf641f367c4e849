#include "system_search_page.h"

#include <string>

#include "catalog.h"
#include "display_name.h"
#include "output.h"
#include "search_results.h"

namespace vldr {
namespace {

constexpr const char* kSystemSearchTitle = "<TITLE>VLDR neighbor search results</TITLE>";

}  // namespace

void writeSystemSearchPage(SQLHSTMT statement, const NeighbourRequest& request, const GalacticPoint& centre,
                           NeighbourList& neighbours)
{
    loadCatalogNames(statement);
    const std::string name = systemDisplayName(statement, request.systemId);
    writeHtmlHead(kSystemSearchTitle);
    printSearchHeading(request, name);
    const bool searched = findNeighbours(statement, centre, request, request.systemId, neighbours);
    printSearchResults(statement, searched, neighbours);
    freeCatalogNames();
    writeHtmlClose();
}

}  // namespace vldr
