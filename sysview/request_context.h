// Everything one sysview request keeps while it is answered, declared once.
//
// The entry (main.cpp) makes a fresh context for every request and passes
// each part to the code that fills or reads it; nothing here is reached
// through a global, and nothing here outlives the request but the session
// it borrows.
#pragma once

#include "database_session.h"
#include "report.h"
#include "request.h"
#include "resolve.h"

namespace vldr {

struct RequestContext {
    // Filled by readRequest from the query string; read by the entry to
    // choose the answer.
    Request request;
    // The session of the process (SessionKeeper), opened and finished by the
    // entry; its connection and statement are handed to every lookup and
    // loader.
    DatabaseSession& session;
    // Filled by findSystemsByName for a name request; read by the entry
    // (how many matched) and by writeMatchListPage.
    MatchTable matches;
    // Filled by the loaders in writeReport (the catalogue registry among
    // them), then read by the report's sections.
    Report report;
};

}  // namespace vldr
