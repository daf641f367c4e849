// What makes an open connection read-only by construction and gives it the
// VLDR dialect: INT() registered here, an authorizer that allows reading
// only, no extension loading, no ATTACH, query_only, a bounded busy wait.
#pragma once

#include <sqlite3.h>

namespace vldr::driver {

// Sets up a connection just opened with SQLITE_OPEN_READONLY: waits at most
// busyTimeoutMs milliseconds for a writer's lock, registers INT(), and
// installs the read-only rules. Returns SQLITE_OK, or SQLite's result code
// when a step failed (the connection must then be closed).
int prepareReadOnlyConnection(sqlite3* database, int busyTimeoutMs);

}  // namespace vldr::driver
