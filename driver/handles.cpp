// Allocating and releasing the driver's handles (SQLAllocHandle,
// SQLFreeHandle; the driver manager maps SQLAllocEnv, SQLAllocConnect,
// SQLAllocStmt, SQLFreeConnect and SQLFreeEnv onto these).
#include "diagnostics.h"
#include "handles.h"
#include "statement_support.h"

#include <algorithm>
#include <new>

using namespace vldr::driver;

namespace {

SQLRETURN allocateConnection(Environment* environment, SQLHANDLE* output)
{
    *output = new (std::nothrow) Connection(environment);
    return *output ? SQL_SUCCESS : fail(environment->diagnostics, "HY001", "out of memory for a connection");
}

SQLRETURN allocateStatement(Connection* connection, SQLHANDLE* output)
{
    if (connection->database == nullptr) {
        return fail(connection->diagnostics, "08003", "the connection is not open");
    }
    auto* statement = new (std::nothrow) Statement(connection);
    if (statement == nullptr) return fail(connection->diagnostics, "HY001", "out of memory for a statement");
    connection->statements.push_back(statement);
    *output = statement;
    return SQL_SUCCESS;
}

SQLRETURN freeStatement(Statement* statement)
{
    auto& siblings = statement->connection->statements;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), statement), siblings.end());
    finalizeStatement(*statement);
    delete statement;
    return SQL_SUCCESS;
}

}  // namespace

// Allocates an environment, a connection on an environment, or a statement
// on an open connection; writes the new handle to *output.
SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT handleType, SQLHANDLE input, SQLHANDLE* output)
{
    if (output == nullptr) return SQL_ERROR;
    *output = SQL_NULL_HANDLE;
    switch (handleType) {
    case SQL_HANDLE_ENV:
        *output = new (std::nothrow) Environment();
        return *output ? SQL_SUCCESS : SQL_ERROR;
    case SQL_HANDLE_DBC: {
        auto* environment = static_cast<Environment*>(input);
        if (environment == nullptr) return SQL_INVALID_HANDLE;
        clearDiagnostics(environment->diagnostics);
        return allocateConnection(environment, output);
    }
    case SQL_HANDLE_STMT: {
        auto* connection = static_cast<Connection*>(input);
        if (connection == nullptr) return SQL_INVALID_HANDLE;
        clearDiagnostics(connection->diagnostics);
        return allocateStatement(connection, output);
    }
    case SQL_HANDLE_DESC: {
        DiagnosticArea* area = diagnosticsOf(SQL_HANDLE_DBC, input);
        if (area == nullptr) return SQL_INVALID_HANDLE;
        clearDiagnostics(*area);
        return notImplemented(*area, "SQLAllocHandle(SQL_HANDLE_DESC)");
    }
    default:
        return SQL_ERROR;
    }
}

// Releases a handle; a connection must be disconnected first.
SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT handleType, SQLHANDLE handle)
{
    if (handle == nullptr) return SQL_INVALID_HANDLE;
    switch (handleType) {
    case SQL_HANDLE_ENV:
        delete static_cast<Environment*>(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC: {
        auto* connection = static_cast<Connection*>(handle);
        clearDiagnostics(connection->diagnostics);
        if (connection->database != nullptr) {
            return fail(connection->diagnostics, "HY010", "the connection is still open; call SQLDisconnect first");
        }
        delete connection;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT:
        return freeStatement(static_cast<Statement*>(handle));
    default:
        return SQL_ERROR;
    }
}
