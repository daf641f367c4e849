// Environment, connection and statement attributes. The connection is
// read-only and changes nothing, the cursor is forward-only and fetches
// one row at a time; a request for anything else keeps the driver's value
// and says so (01S02), or is refused (HYC00).
#include "diagnostics.h"
#include "handles.h"
#include "read_transaction.h"

#include <string>

using namespace vldr::driver;

namespace {

// Stores an integer attribute value for a Get*Attr call.
template <typename T>
SQLRETURN integerAttribute(T number, SQLPOINTER value, SQLINTEGER* length)
{
    if (value) *static_cast<T*>(value) = number;
    if (length) *length = sizeof(T);
    return SQL_SUCCESS;
}

SQLULEN integerValue(SQLPOINTER value)
{
    return reinterpret_cast<SQLULEN>(value);
}

SQLRETURN unknownAttribute(DiagnosticArea& diagnostics, SQLINTEGER attribute)
{
    return fail(diagnostics, "HY092", "Invalid attribute/option identifier " + std::to_string(attribute));
}

// Accepts value when it is the one the driver has; otherwise keeps the
// driver's and warns (01S02).
SQLRETURN onlyValue(DiagnosticArea& diagnostics, SQLPOINTER value, SQLULEN only, const char* what)
{
    if (integerValue(value) == only) return SQL_SUCCESS;
    return warn(diagnostics, "01S02", std::string("Option value changed: ") + what);
}

// SQL_ATTR_AUTOCOMMIT: on (every statement its own read) or off (one read
// transaction up to SQLEndTran); switching it on ends an open transaction.
SQLRETURN setAutocommit(Connection& connection, SQLULEN value)
{
    if (value != SQL_AUTOCOMMIT_ON && value != SQL_AUTOCOMMIT_OFF) {
        return fail(connection.diagnostics, "HY024", "autocommit is either on or off");
    }
    connection.manualCommit = value == SQL_AUTOCOMMIT_OFF;
    return connection.manualCommit ? SQL_SUCCESS : endReadTransaction(connection);
}

// A statement attribute with one fixed value: a Set asking for another
// keeps it (01S02), a Get reports it.
struct FixedStatementAttribute {
    SQLINTEGER attribute;
    SQLULEN value;
    const char* why;
};

constexpr FixedStatementAttribute kFixedStatementAttributes[] = {
    {SQL_ATTR_ROW_ARRAY_SIZE, 1, "one row per fetch"},
    {SQL_ROWSET_SIZE, 1, "one row per fetch"},
    {SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_FORWARD_ONLY, "the cursor is forward-only"},
    {SQL_ATTR_CONCURRENCY, SQL_CONCUR_READ_ONLY, "the cursor is read-only"},
    {SQL_ATTR_CURSOR_SCROLLABLE, SQL_NONSCROLLABLE, "the cursor is forward-only"},
    {SQL_ATTR_CURSOR_SENSITIVITY, SQL_INSENSITIVE, "the cursor is insensitive"},
    {SQL_ATTR_ROW_BIND_TYPE, SQL_BIND_BY_COLUMN, "columns are bound by column"},
    {SQL_ATTR_MAX_ROWS, 0, "no limit; the busy wait bounds a query"},
    {SQL_ATTR_MAX_LENGTH, 0, "no limit; the busy wait bounds a query"},
    {SQL_ATTR_QUERY_TIMEOUT, 0, "no limit; the busy wait bounds a query"},
    {SQL_ATTR_RETRIEVE_DATA, SQL_RD_ON, "data is always retrieved"},
    {SQL_ATTR_USE_BOOKMARKS, SQL_UB_OFF, "no bookmarks"},
};

const FixedStatementAttribute* findFixedStatementAttribute(SQLINTEGER attribute)
{
    for (const FixedStatementAttribute& fixed : kFixedStatementAttributes) {
        if (fixed.attribute == attribute) return &fixed;
    }
    return nullptr;
}

}  // namespace

// ODBC version, connection pooling and the like: accepted and remembered
// where it matters (the ODBC version).
SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    auto* environment = static_cast<Environment*>(handle);
    clearDiagnostics(environment->diagnostics);
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        environment->odbcVersion = static_cast<SQLINTEGER>(integerValue(value));
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_POOLING:
    case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
        return onlyValue(environment->diagnostics, value, SQL_TRUE, "text is always zero-terminated");
    default:
        return unknownAttribute(environment->diagnostics, attribute);
    }
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER, SQLINTEGER* length)
{
    auto* environment = static_cast<Environment*>(handle);
    clearDiagnostics(environment->diagnostics);
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        return integerAttribute<SQLINTEGER>(environment->odbcVersion, value, length);
    case SQL_ATTR_CONNECTION_POOLING:
        return integerAttribute<SQLUINTEGER>(SQL_CP_OFF, value, length);
    case SQL_ATTR_CP_MATCH:
        return integerAttribute<SQLUINTEGER>(SQL_CP_STRICT_MATCH, value, length);
    case SQL_ATTR_OUTPUT_NTS:
        return integerAttribute<SQLINTEGER>(SQL_TRUE, value, length);
    default:
        return unknownAttribute(environment->diagnostics, attribute);
    }
}

// SQL_ATTR_ACCESS_MODE: read-only whatever is asked (a request for
// read-write keeps read-only, 01S02). SQL_ATTR_LOGIN_TIMEOUT is remembered;
// the busy wait of the data source bounds a connect. Autocommit off reads
// the statements up to SQLEndTran in one read transaction; switching it
// back on ends that transaction.
SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    auto* connection = static_cast<Connection*>(handle);
    DiagnosticArea& diagnostics = connection->diagnostics;
    clearDiagnostics(diagnostics);
    switch (attribute) {
    case SQL_ATTR_ACCESS_MODE:
        return onlyValue(diagnostics, value, SQL_MODE_READ_ONLY, "the data source is read-only");
    case SQL_ATTR_LOGIN_TIMEOUT:
        connection->loginTimeoutSeconds = static_cast<SQLUINTEGER>(integerValue(value));
        return SQL_SUCCESS;
    case SQL_ATTR_AUTOCOMMIT:
        return setAutocommit(*connection, integerValue(value));
    case SQL_ATTR_CONNECTION_TIMEOUT:
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_PACKET_SIZE:
        return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION:
        return onlyValue(diagnostics, value, SQL_TXN_SERIALIZABLE, "a reader sees one committed state");
    case SQL_ATTR_METADATA_ID:
        return onlyValue(diagnostics, value, SQL_FALSE, "catalog arguments are patterns");
    case SQL_ATTR_CURRENT_CATALOG:
    case SQL_ATTR_ASYNC_ENABLE:
    case SQL_ATTR_TRANSLATE_LIB:
    case SQL_ATTR_TRANSLATE_OPTION:
        return notImplemented(diagnostics, "SQLSetConnectAttr for this attribute");
    default:
        return unknownAttribute(diagnostics, attribute);
    }
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                    SQLINTEGER* length)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    switch (attribute) {
    case SQL_ATTR_ACCESS_MODE:
        return integerAttribute<SQLUINTEGER>(SQL_MODE_READ_ONLY, value, length);
    case SQL_ATTR_AUTOCOMMIT:
        return integerAttribute<SQLUINTEGER>(connection->manualCommit ? SQL_AUTOCOMMIT_OFF : SQL_AUTOCOMMIT_ON, value,
                                             length);
    case SQL_ATTR_LOGIN_TIMEOUT:
        return integerAttribute<SQLUINTEGER>(connection->loginTimeoutSeconds, value, length);
    case SQL_ATTR_CONNECTION_TIMEOUT:
        return integerAttribute<SQLUINTEGER>(0, value, length);
    case SQL_ATTR_CONNECTION_DEAD:
        return integerAttribute<SQLUINTEGER>(connection->database ? SQL_CD_FALSE : SQL_CD_TRUE, value, length);
    case SQL_ATTR_TXN_ISOLATION:
        return integerAttribute<SQLUINTEGER>(SQL_TXN_SERIALIZABLE, value, length);
    case SQL_ATTR_METADATA_ID:
    case SQL_ATTR_AUTO_IPD:
    case SQL_ATTR_ASYNC_ENABLE:
        return integerAttribute<SQLUINTEGER>(SQL_FALSE, value, length);
    default:
        return unknownAttribute(connection->diagnostics, attribute);
    }
}

// Forward-only, read-only, one row per fetch; the rows-fetched and row
// status pointers are honoured.
SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    auto* statement = static_cast<Statement*>(handle);
    DiagnosticArea& diagnostics = statement->diagnostics;
    clearDiagnostics(diagnostics);
    if (const FixedStatementAttribute* fixed = findFixedStatementAttribute(attribute)) {
        return onlyValue(diagnostics, value, fixed->value, fixed->why);
    }
    switch (attribute) {
    case SQL_ATTR_ROWS_FETCHED_PTR:
        statement->rowsFetched = static_cast<SQLULEN*>(value);
        return SQL_SUCCESS;
    case SQL_ATTR_ROW_STATUS_PTR:
        statement->rowStatus = static_cast<SQLUSMALLINT*>(value);
        return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN:
    case SQL_ATTR_METADATA_ID:
        return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAMSET_SIZE:
    case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_PARAM_STATUS_PTR:
    case SQL_ATTR_ASYNC_ENABLE:
    case SQL_ATTR_SIMULATE_CURSOR:
    case SQL_ATTR_KEYSET_SIZE:
        return notImplemented(diagnostics, "SQLSetStmtAttr for this attribute");
    default:
        return unknownAttribute(diagnostics, attribute);
    }
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                 SQLINTEGER* length)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (const FixedStatementAttribute* fixed = findFixedStatementAttribute(attribute)) {
        return integerAttribute<SQLULEN>(fixed->value, value, length);
    }
    switch (attribute) {
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
    case SQL_ATTR_IMP_ROW_DESC:
    case SQL_ATTR_IMP_PARAM_DESC:
        return integerAttribute<SQLPOINTER>(&statement->descriptors[attribute - SQL_ATTR_APP_ROW_DESC], value, length);
    case SQL_ATTR_ROWS_FETCHED_PTR:
        return integerAttribute<SQLPOINTER>(statement->rowsFetched, value, length);
    case SQL_ATTR_ROW_STATUS_PTR:
        return integerAttribute<SQLPOINTER>(statement->rowStatus, value, length);
    case SQL_ATTR_NOSCAN:
    case SQL_ATTR_METADATA_ID:
    case SQL_ATTR_ASYNC_ENABLE:
    case SQL_ATTR_ROW_NUMBER:
        return integerAttribute<SQLULEN>(0, value, length);
    default:
        return unknownAttribute(statement->diagnostics, attribute);
    }
}
