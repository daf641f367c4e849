// What makes an open connection read-only by construction and gives it the
// VLDR dialect: INT() registered here, an authorizer that allows reading
// only, no extension loading, no ATTACH, query_only, and a time limit on
// each statement for waiting and running alike.
#pragma once

#include <sqlite3.h>

namespace vldr::driver {

// Sets up a connection just opened with SQLITE_OPEN_READONLY: each statement
// may wait for a writer's lock and run busyTimeoutMs milliseconds at most,
// together (sqlite_policy/vldr_statement_clock.h), registers INT(), and
// installs the read-only rules; BEGIN and COMMIT are allowed only while
// *transactionControl is non-zero (the driver's own read transaction, see
// read_transaction.h). transactionControl must outlive the connection.
// Returns SQLITE_OK, or SQLite's result code
// when a step failed (the connection must then be closed).
int prepareReadOnlyConnection(sqlite3* database, int busyTimeoutMs, const int* transactionControl);

}  // namespace vldr::driver
