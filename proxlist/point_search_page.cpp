#include "point_search_page.h"

#include <cstdio>

#include "catalog.h"
#include "field_limits.h"
#include "output.h"
#include "search_results.h"

namespace vldr {
namespace {

constexpr const char* kPointSearchTitle = "<TITLE>VLDR near-coordinate search results</TITLE>";

}  // namespace

std::string pointText(const NeighbourRequest& request)
{
    char text[kPointTextSize];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", request.X, request.Y, request.Z);
    return text;
}

void writePointSearchPage(SQLHSTMT statement, const NeighbourRequest& request, NeighbourList& neighbours)
{
    // Every query runs before the page begins: the catalogue names, the
    // search and the result lines' details.
    const CatalogNames catalogs = loadCatalogNames(statement);
    const GalacticPoint centre{request.X, request.Y, request.Z};
    const SearchResults results = loadSearchResults(statement, catalogs, centre, request, 0, neighbours);

    writeHtmlHead(kPointSearchTitle);
    printSearchHeading(request, pointText(request));
    printSearchResults(results);
    writeHtmlClose();
}

}  // namespace vldr
