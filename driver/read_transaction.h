// Manual-commit mode of a read-only connection. With autocommit on (the
// default) every statement takes and releases the file's shared lock,
// which costs a handful of system calls and a read of the file's header
// each time. With autocommit off, the first statement after connecting or
// after SQLEndTran begins a read transaction and SQLEndTran ends it: the
// statements in between take the lock once and read one snapshot of the
// file. Nothing is ever written, so commit and rollback mean the same.
#pragma once

#include <sql.h>

#include "handles.h"

namespace vldr::driver {

// Begins the read transaction when the connection is in manual-commit
// mode and none is open; SQLITE_OK, or SQLite's code when BEGIN failed.
int beginReadTransactionIfManual(Connection& connection);

// Ends the open read transaction, if any, after closing the cursors of the
// connection's statements (they are prepared still and can be executed
// again); SQL_SUCCESS, or SQL_ERROR with a diagnostic on the connection.
SQLRETURN endReadTransaction(Connection& connection);

}  // namespace vldr::driver
