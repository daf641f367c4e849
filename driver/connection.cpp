// Connecting: SQLConnect and SQLDriverConnect open the data source's file
// read-only after the open checks, SQLDisconnect closes it. A connection
// that cannot serve the VLDR programs fails here, with a message saying
// why, rather than at the first query.
#include "data_source.h"
#include "diagnostics.h"
#include "open_checks.h"
#include "read_only.h"
#include "read_transaction.h"
#include "statement_support.h"
#include "text_output.h"

#include <string>

namespace vldr::driver {
namespace {

// Read-only, never created; one thread per connection at a time (the
// driver manager serializes calls), so SQLite's own mutexes are not needed.
//
// Not `immutable`: a site that replaces the file whole by rename needs no
// such promise (an open connection keeps reading the file it opened), but a
// writer that changes the file in place would, under `immutable`, go
// unnoticed: no locks, so a reader could see half-written pages and would
// never wait for the writer. With ordinary locking a read-only connection
// in rollback-journal mode still writes nothing: it only takes shared locks.
constexpr int kOpenFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;

SQLRETURN refuse(Connection& connection, const Refusal& refusal)
{
    return fail(connection.diagnostics, refusal.state, refusal.message, refusal.native);
}

SQLRETURN openDataSource(Connection& connection, const std::string& name, const DataSourceSettings& settings)
{
    DiagnosticArea& diagnostics = connection.diagnostics;
    if (connection.database != nullptr) return fail(diagnostics, "08002", "the connection is already open");
    if (!settings.problem.empty()) return fail(diagnostics, "08001", "data source " + name + ": " + settings.problem);
    const std::string& path = settings.databasePath;
    const Refusal fileRefusal = checkDatabaseFile(path);
    if (fileRefusal.refused()) return refuse(connection, fileRefusal);
    sqlite3* database = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &database, kOpenFlags, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_extended_result_codes(database, 1);
    if (rc == SQLITE_OK) rc = prepareReadOnlyConnection(database, settings.busyTimeoutMs, &connection.transactionControl);
    if (rc != SQLITE_OK) {
        const std::string why = database ? sqlite3_errmsg(database) : sqlite3_errstr(rc);
        sqlite3_close(database);
        return fail(diagnostics, "08001", "cannot open " + path + " read-only: " + why, rc);
    }
    const Refusal tableRefusal = checkVldrTables(database, path);
    if (tableRefusal.refused()) {
        sqlite3_close(database);
        return refuse(connection, tableRefusal);
    }
    connection.database = database;
    connection.dataSourceName = name;
    connection.databasePath = path;
    return SQL_SUCCESS;
}

}  // namespace

}  // namespace vldr::driver

using namespace vldr::driver;

// Opens the data source named by dataSource (user and password are not
// used: the data source's own configuration governs access).
SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dataSource, SQLSMALLINT dataSourceLength, SQLCHAR*, SQLSMALLINT,
                             SQLCHAR*, SQLSMALLINT)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    const std::string name(textArgument(dataSource, dataSourceLength));
    return openDataSource(*connection, name, readDataSource(name));
}

// Opens the data source of a connection string: DSN= names a configured
// data source, Database= and BusyTimeout= set or override its settings.
// The driver never prompts; the string given is the string completed.
SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* input, SQLSMALLINT inputLength, SQLCHAR* output,
                                   SQLSMALLINT outputSize, SQLSMALLINT* outputLength, SQLUSMALLINT)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    const std::string_view text = textArgument(input, inputLength);
    const std::string name = connectionStringValue(text, "DSN");
    DataSourceSettings settings = name.empty() ? DataSourceSettings{} : readDataSource(name);
    applySettings(settings, connectionStringValue(text, "Database"), connectionStringValue(text, "BusyTimeout"));
    const SQLRETURN rc = openDataSource(*connection, name, settings);
    if (rc != SQL_SUCCESS) return rc;
    if (copyText(text, output, outputSize, outputLength)) {
        return warn(connection->diagnostics, "01004", "the completed connection string was cut to fit the buffer");
    }
    return SQL_SUCCESS;
}

// Closes the database; the connection's statements go with it.
SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    if (connection->database == nullptr) return fail(connection->diagnostics, "08003", "the connection is not open");
    // A read transaction left open has nothing to keep: it ends here.
    endReadTransaction(*connection);
    clearDiagnostics(connection->diagnostics);
    for (Statement* statement : connection->statements) {
        finalizeStatement(*statement);
        delete statement;
    }
    connection->statements.clear();
    connection->preparedStatements.clear();
    sqlite3_close(connection->database);
    connection->database = nullptr;
    return SQL_SUCCESS;
}

// Ends a connection's read transaction (manual-commit mode); commit and
// rollback alike, since nothing was changed. With autocommit on there is
// never one to end. For an environment handle the driver manager ends the
// transactions of its connections one by one.
SQLRETURN SQL_API SQLEndTran(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT)
{
    DiagnosticArea* diagnostics = diagnosticsOf(handleType, handle);
    if (diagnostics == nullptr) return SQL_INVALID_HANDLE;
    clearDiagnostics(*diagnostics);
    if (handleType != SQL_HANDLE_DBC) return SQL_SUCCESS;
    return endReadTransaction(*static_cast<Connection*>(handle));
}
