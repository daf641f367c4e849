// Everything proxlist keeps for one request, in one place. The entry makes
// a fresh RequestContext for every request and hands each step only the
// parts it uses; nothing here outlives the request but the session it
// borrows.
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
    // The ODBC session of the process (SessionKeeper), opened and finished
    // by the entry; every query of a page runs on its statement.
    DatabaseSession& session;
    // The systems a page's search found. Filled by findNeighbours when a
    // result page runs its search; read by that page's result lines.
    NeighbourList neighbours;
};

}  // namespace vldr
