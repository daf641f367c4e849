// Running a statement, shared by the statement functions and the catalog
// functions: prepare one reading statement, execute it up to its first
// row, step, close, finalize.
#pragma once

#include "handles.h"

#include <string_view>

namespace vldr::driver {

// Ends the statement's use of its prepared statement, if any: the
// connection keeps it for its text's next use (NoStatement after).
void finalizeStatement(Statement& statement);

// Closes the cursor: resets the prepared statement, which ends its read of
// the file; the text stays prepared for another SQLExecute.
void closeCursor(Statement& statement);

// Prepares text in place of any earlier statement. Refuses (SQL_ERROR, with
// diagnostics) a text that is empty, holds more than one statement, or
// would change anything; SQLite refuses what the read-only rules deny.
SQLRETURN prepareStatement(Statement& statement, std::string_view text);

// Executes the prepared statement: steps to its first row (RowPending) or
// its end (AfterLastRow). A busy database fails after the busy wait.
SQLRETURN executeStatement(Statement& statement);

// True when the statement has a result set (executed, cursor not closed).
bool hasResultSet(const Statement& statement);

}  // namespace vldr::driver
