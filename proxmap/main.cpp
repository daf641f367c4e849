// proxmap: the CGI program that draws the star systems near a place.
//
// Reads QUERY_STRING as proxlist does (ID= or X=, Y=, Z=, the radius ly=,
// the inner radius minLY= and the right-ascension and declination limits),
// and the view: Turn= (degrees about the galactic pole) and Tilt= (degrees
// above the galactic plane). Writes one page with an oblique map of exactly
// the systems proxlist lists for the same search, proxlist's not-found page,
// or a plain-text error (proxlist's own for every search it refuses). Exits
// with 0 after a map page and with -1 otherwise. Runs as CGI or as a
// FastCGI responder (fastcgi_loop.h), with the same answers.
#include <cstdlib>
#include <optional>

#include "database_session.h"
#include "fastcgi_loop.h"
#include "map_page.h"
#include "map_view.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "neighbour_session.h"
#include "output.h"
#include "plain_text_answers.h"
#include "query_string.h"
#include "request_context.h"

using namespace vldr;

namespace {

// Writes the map page context asks for, on statement of the open session. Returns
// false, having written nothing, when the system searched around has no
// usable position.
bool writeResultPage(SQLHSTMT statement, RequestContext& context)
{
    const NeighbourRequest& request = context.request;
    std::optional<GalacticPoint> centre = GalacticPoint{request.X, request.Y, request.Z};
    if (searchesAroundSystem(request)) centre = systemCentre(statement, request.systemId);
    if (!centre) return false;
    writeMapPage(statement, request, *centre, context.view, context.rawQuery, context.neighbours);
    return true;
}

// Answers one request (a RequestAnswer: see fastcgi_loop.h).
int answerRequest(const char* queryString, SessionKeeper& sessions)
{
    if (!queryString) return refuseNeighbourRequest(nullptr);
    RequestContext context{.rawQuery = {}, .query = {}, .request = {}, .view = {},
                           .session = sessions.session(), .neighbours = {}};
    context.rawQuery = queryString;
    context.query = parseQueryString(queryString);
    // The search is checked first, so that every search proxlist refuses
    // gets proxlist's own answer; only then the view.
    const char* fault = readNeighbourRequest(context.query, context.request);
    if (!fault) fault = readMapView(context.query, context.view);
    if (fault) return refuseNeighbourRequest(fault);

    return serveNeighbourRequest(sessions, context.request.systemId,
                                 [&context](SQLHSTMT statement) { return writeResultPage(statement, context); });
}

}  // namespace

int main()
{
    return runRequests(answerRequest);
}
