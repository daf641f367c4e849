#include "read_transaction.h"

#include "diagnostics.h"
#include "statement_support.h"

namespace vldr::driver {
namespace {

// Runs BEGIN or COMMIT with the authorizer's permission for the moment.
int runTransactionStatement(Connection& connection, const char* text)
{
    connection.transactionControl = 1;
    const int rc = sqlite3_exec(connection.database, text, nullptr, nullptr, nullptr);
    connection.transactionControl = 0;
    return rc;
}

bool transactionOpen(const Connection& connection)
{
    return connection.database != nullptr && !sqlite3_get_autocommit(connection.database);
}

}  // namespace

int beginReadTransactionIfManual(Connection& connection)
{
    if (!connection.manualCommit || transactionOpen(connection)) return SQLITE_OK;
    return runTransactionStatement(connection, "BEGIN");
}

SQLRETURN endReadTransaction(Connection& connection)
{
    if (!transactionOpen(connection)) return SQL_SUCCESS;
    for (Statement* statement : connection.statements) closeCursor(*statement);
    const int rc = runTransactionStatement(connection, "COMMIT");
    if (rc == SQLITE_OK) return SQL_SUCCESS;
    return failFromSqlite(connection.diagnostics, connection.database, rc, "ending the read transaction");
}

}  // namespace vldr::driver
