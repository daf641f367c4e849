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
    // Every query runs before the page begins: the catalogue names, the
    // heading's name, the search and the result lines' details.
    const CatalogNames catalogs = loadCatalogNames(statement);
    const std::string name = systemDisplayName(statement, catalogs, request.systemId);
    const SearchResults results =
        loadSearchResults(statement, catalogs, centre, request, request.systemId, neighbours);

    writeHtmlHead(kSystemSearchTitle);
    printSearchHeading(request, name);
    printSearchResults(results);
    writeHtmlClose();
}

}  // namespace vldr
