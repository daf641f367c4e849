// Everything conesearch keeps for one request, in one place. main owns the
// one RequestContext of the process and hands each step only the parts it uses.
#pragma once

#include "cone_request.h"
#include "database_session.h"
#include "query_string.h"

namespace vldr {

struct RequestContext {
    // The decoded QUERY_STRING. Filled by main (parseQueryString); read by
    // readConeRequest only.
    QueryString query;
    // The checked search. Filled by readConeRequest; read by the search.
    ConeRequest request;
    // The ODBC session. Opened and closed by main; every query runs on its statement.
    DatabaseSession session;
};

}  // namespace vldr
