// How a neighbour program (proxlist, proxmap) answers a checked request on
// the database: one mechanism, so that both answer every failure alike.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <functional>

#include "database_session.h"

namespace vldr {

// Opens session, lets writePage write the page on its statement, closes
// the session and returns the exit status. A connection that cannot be
// made gets the plain-text answer with the driver's diagnostic; a session
// whose handles could not be allocated, or a writePage that returns false
// having written nothing (a system without a usable position), gets the
// not-found page of systemId. Status 0 after a page, -1 otherwise.
// Everything written is flushed.
int serveNeighbourRequest(DatabaseSession& session, std::int32_t systemId,
                          const std::function<bool(SQLHSTMT)>& writePage);

}  // namespace vldr
