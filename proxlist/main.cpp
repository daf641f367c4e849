// proxlist: the CGI program that lists the star systems near a place.
//
// Reads QUERY_STRING: either ID= (search around that system) or X=, Y=, Z=
// (search around a point in galactic coordinates, light-years), with the
// radius ly= and inner radius minLY= and optional right-ascension and
// declination limits. Writes the page of the nearest systems (at most 100),
// a not-found page, or a plain-text error. Exits with 0 after a result page
// and with -1 otherwise.
#include <cstdlib>
#include <string>

#include "catalog.h"
#include "database_session.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "output.h"
#include "query_string.h"

using namespace vldr;

namespace {

constexpr int kStatusDone = 0;
constexpr int kStatusFailed = -1;

// Title line of the page for a system that cannot be searched around.
constexpr const char* kNotFoundTitle = "<TITLE>VLDR search results</TITLE>";

void reportMissingQueryString()
{
    writePlainTextHeader();
    writeLine("This CGI program must be passed a query string containing either an \"ID=###00\" clause,");
    writeLine("or \"X=###\", \"Y=###\", and \"Z=###\" clauses,");
    writeLine("or clauses for min. and max. RA and Dec components.");
}

// The plain-text answer for a connection that could not be made, with the
// driver manager's first diagnostic when it has one.
void reportFailedConnection(const DatabaseSession& session)
{
    writePlainTextHeader();
    writeFormatted("SQLConnect() failed!!\n");
    writeConnectionDiagnostic(session);
}

// The page for a request that could not be served: a system without a
// usable position, or a session whose handles could not be allocated.
void writeNotFoundPage(std::int32_t systemId)
{
    writeHtmlHead(kNotFoundTitle);
    writeFormatted("No star name matching ID %ld found.\n", static_cast<long>(systemId));
    writeHtmlClose();
}

// The whole page of a search around the point (X, Y, Z) of the request.
void showPointNeighbours(SQLHSTMT statement, const NeighbourRequest& request)
{
    const CatalogNames catalogs = loadCatalogNames(statement);
    writeHtmlHead(kPointSearchTitle);
    printPointHeading(request);
    listNeighbours(statement, catalogs, GalacticPoint{request.X, request.Y, request.Z}, request, 0);
    writeHtmlClose();
}

}  // namespace

int main()
{
    const char* queryString = std::getenv("QUERY_STRING");
    if (!queryString) {
        reportMissingQueryString();
        flushOutput();
        return kStatusFailed;
    }
    parseQueryString(queryString);
    NeighbourRequest request;
    if (const char* fault = readNeighbourRequest(request)) {
        writePlainTextHeader();
        writeLine(fault);
        flushOutput();
        return kStatusFailed;
    }

    DatabaseSession session;
    const SessionFailure failure = session.open();
    if (failure == SessionFailure::Connect) {
        // A failed connection is a failed request, whatever the page says.
        reportFailedConnection(session);
        session.close();
        flushOutput();
        return kStatusFailed;
    }
    bool served = false;
    if (failure == SessionFailure::None) {
        if (searchesAroundSystem(request)) {
            served = showSystemNeighbours(session.statement(), request.systemId, request);
        } else {
            showPointNeighbours(session.statement(), request);
            served = true;
        }
    }
    session.close();
    if (!served) writeNotFoundPage(request.systemId);
    flushOutput();
    return served ? kStatusDone : kStatusFailed;
}
