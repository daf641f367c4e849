// The three kinds of handle the driver hands to the driver manager, and the
// diagnostics each one carries. A handle is a pointer to one of these
// records; the driver manager checks handle types before it calls us.
#pragma once

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include "statement_cache.h"

#include <string>
#include <vector>

namespace vldr::driver {

// One diagnostic record: what SQLGetDiagRec reports.
struct Diagnostic {
    std::string state;    // five-character SQLSTATE
    SQLINTEGER native = 0;  // SQLite's extended result code, or 0
    std::string message;  // "[VLDR] ..." text for a person
};

// The diagnostics of the last call on a handle. Every driver function
// except the diagnostic ones clears its handle's area on entry.
struct DiagnosticArea {
    std::vector<Diagnostic> records;
};

struct Connection;

struct Environment {
    DiagnosticArea diagnostics;
    SQLINTEGER odbcVersion = SQL_OV_ODBC3;
};

struct Connection {
    explicit Connection(Environment* owner) : environment(owner) {}
    Environment* environment;
    DiagnosticArea diagnostics;
    sqlite3* database = nullptr;      // open between SQLConnect and SQLDisconnect
    std::string dataSourceName;       // as given to SQLConnect
    std::string databasePath;         // the DSN's Database= setting
    SQLUINTEGER loginTimeoutSeconds = 0;
    // SQL_AUTOCOMMIT_OFF asked for: the statements between two SQLEndTran
    // calls read inside one read transaction (read_transaction.h).
    bool manualCommit = false;
    // The authorizer's permission for BEGIN and COMMIT: 1 only while the
    // driver itself begins or ends that read transaction, so that an
    // application's own BEGIN is still refused.
    int transactionControl = 0;
    // Statements prepared on this connection, kept for their texts' next use.
    StatementCache preparedStatements;
    std::vector<struct Statement*> statements;  // allocated on this connection, owned here
};

// A column the application bound with SQLBindCol.
struct Binding {
    SQLSMALLINT cType = 0;            // 0: not bound
    SQLPOINTER buffer = nullptr;
    SQLLEN bufferLength = 0;          // bytes
    SQLLEN* indicator = nullptr;
};

// Where a statement is in its life: prepared text, executed with a row
// waiting that no fetch has delivered yet, positioned on a delivered row,
// or past the last row.
enum class CursorState { NoStatement, Prepared, RowPending, OnRow, AfterLastRow };

struct Statement {
    explicit Statement(Connection* owner) : connection(owner) {}
    Connection* connection;
    DiagnosticArea diagnostics;
    sqlite3_stmt* prepared = nullptr;
    std::string text;                 // the text prepared (what the cache keeps it under)
    CursorState cursor = CursorState::NoStatement;
    std::vector<Binding> bindings;    // index = column number (from 1)
    // SQLGetData's progress through the current row's text or bytes.
    SQLUSMALLINT getDataColumn = 0;
    SQLLEN getDataOffset = 0;         // bytes already returned
    bool getDataFinished = false;
    // Statement attributes the application may point at storage of its own.
    SQLULEN* rowsFetched = nullptr;
    SQLUSMALLINT* rowStatus = nullptr;
    // Stand-ins for the four implicit descriptors the driver manager asks
    // for; the driver offers no descriptor functions.
    int descriptors[4] = {};
};

}  // namespace vldr::driver
