// How a neighbour program (proxlist, proxmap) answers a checked request on
// the database: one mechanism, so that both answer every failure alike.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <functional>

#include "database_session.h"
#include "ids.h"
#include "session_keeper.h"

namespace vldr {

// Opens the request's session (sessions.open), lets writePage write the
// page on its statement, finishes the session (sessions.finish) and
// returns the exit status. A connection that cannot be
// made gets the plain-text answer with the driver's diagnostic; a session
// whose handles could not be allocated, or a writePage that returns false
// having written nothing (a system without a usable position), gets the
// not-found page of systemId. Status 0 after a page, -1 otherwise.
// Everything written is flushed.
int serveNeighbourRequest(SessionKeeper& sessions, Id systemId,
                          const std::function<bool(SQLHSTMT)>& writePage);

// Answers a request that cannot be searched: the three-line answer to a
// missing QUERY_STRING when fault is null, else the one-line refusal of
// fault. Everything written is flushed; returns the failed status, -1.
int refuseNeighbourRequest(const char* fault);

}  // namespace vldr
