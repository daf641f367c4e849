// Everything proxmap keeps for one request, in one place. The entry makes
// a fresh RequestContext for every request and hands each step only the
// parts it uses; nothing here outlives the request but the session it
// borrows.
#pragma once

#include <string>

#include "database_session.h"
#include "map_view.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "query_string.h"

namespace vldr {

struct RequestContext {
    // QUERY_STRING as it came. Kept by main; read by the page's links,
    // which repeat the search.
    std::string rawQuery;
    // The decoded QUERY_STRING. Filled by main (parseQueryString); read by
    // readNeighbourRequest and readMapView only.
    QueryString query;
    // The checked search, as proxlist reads it. Filled by
    // readNeighbourRequest; read by the page and, for its system ID, by the
    // not-found page.
    NeighbourRequest request;
    // The checked view. Filled by readMapView; read by the page.
    MapView view;
    // The ODBC session of the process (SessionKeeper), opened and finished
    // by the entry; every query of the page runs on its statement.
    DatabaseSession& session;
    // The systems the search found. Filled when the page runs its search.
    NeighbourList neighbours;
};

}  // namespace vldr
