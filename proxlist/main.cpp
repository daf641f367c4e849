// proxlist: the CGI program that lists the star systems near a place.
//
// Reads QUERY_STRING: either ID= (search around that system) or X=, Y=, Z=
// (search around a point in galactic coordinates, light-years), with the
// radius ly= and inner radius minLY= and optional right-ascension and
// declination limits. Writes the page of the nearest systems (at most 100),
// a not-found page, or a plain-text error. Exits with 0 after a result page
// and with -1 otherwise. Runs as CGI or as a FastCGI responder
// (fastcgi_loop.h), with the same answers.
#include <cstdlib>
#include <optional>

#include "database_session.h"
#include "fastcgi_loop.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "neighbour_session.h"
#include "output.h"
#include "plain_text_answers.h"
#include "point_search_page.h"
#include "query_string.h"
#include "request_context.h"
#include "system_search_page.h"

using namespace vldr;

namespace {

// Writes the result page context.request asks for, on statement of the open session.
// Returns false, having written nothing, when the system searched around
// has no usable position.
bool writeResultPage(SQLHSTMT statement, RequestContext& context)
{
    if (!searchesAroundSystem(context.request)) {
        writePointSearchPage(statement, context.request, context.neighbours);
        return true;
    }
    const std::optional<GalacticPoint> centre = systemCentre(statement, context.request.systemId);
    if (!centre) return false;
    writeSystemSearchPage(statement, context.request, *centre, context.neighbours);
    return true;
}

// Answers one request (a RequestAnswer: see fastcgi_loop.h).
int answerRequest(const char* queryString, SessionKeeper& sessions)
{
    if (!queryString) return refuseNeighbourRequest(nullptr);
    RequestContext context{.query = {}, .request = {}, .session = sessions.session(), .neighbours = {}};
    context.query = parseQueryString(queryString);
    if (const char* fault = readNeighbourRequest(context.query, context.request)) {
        return refuseNeighbourRequest(fault);
    }

    return serveNeighbourRequest(sessions, context.request.systemId,
                                 [&context](SQLHSTMT statement) { return writeResultPage(statement, context); });
}

}  // namespace

int main()
{
    return runRequests(answerRequest);
}
