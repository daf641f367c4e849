// Everything proxlist keeps for one request, in one place. main owns the
// one RequestContext of the process and hands each step only the parts it
// uses.
#pragma once

#include "database_session.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "query_string.h"

namespace vldr {

struct RequestContext {
    // The decoded QUERY_STRING. Filled by main (parseQueryString); read by
    // readNeighbourRequest only.
    QueryString query;
    // The checked search. Filled by readNeighbourRequest; read by the result
    // pages and, for its system ID, by the not-found page.
    NeighbourRequest request;
    // The ODBC session. Opened and closed by main; every query of a page
    // runs on its statement.
    DatabaseSession session;
    // The systems a page's search found. Filled by findNeighbours when a
    // result page runs its search; read by that page's result lines.
    NeighbourList neighbours;
};

}  // namespace vldr
