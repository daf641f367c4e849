// ODBC functions the VLDR clients do not call and the driver does not
// offer: each answers HYC00 "Optional feature not implemented", so that a
// tool that tries one learns why it failed.
#include "diagnostics.h"
#include "handles.h"

using namespace vldr::driver;

namespace {

SQLRETURN onStatement(SQLHSTMT handle, const char* function)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    return notImplemented(statement->diagnostics, function);
}

SQLRETURN onConnection(SQLHDBC handle, const char* function)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    return notImplemented(connection->diagnostics, function);
}

}  // namespace

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT h, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLULEN,
                                   SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*)
{
    return onStatement(h, "SQLBindParameter (statements take no parameters)");
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT h, SQLSMALLINT*) { return onStatement(h, "SQLNumParams"); }

SQLRETURN SQL_API SQLDescribeParam(SQLHSTMT h, SQLUSMALLINT, SQLSMALLINT*, SQLULEN*, SQLSMALLINT*, SQLSMALLINT*)
{
    return onStatement(h, "SQLDescribeParam");
}

SQLRETURN SQL_API SQLParamData(SQLHSTMT h, SQLPOINTER*) { return onStatement(h, "SQLParamData"); }

SQLRETURN SQL_API SQLPutData(SQLHSTMT h, SQLPOINTER, SQLLEN) { return onStatement(h, "SQLPutData"); }

SQLRETURN SQL_API SQLSetPos(SQLHSTMT h, SQLSETPOSIROW, SQLUSMALLINT, SQLUSMALLINT)
{
    return onStatement(h, "SQLSetPos (the cursor is forward-only and read-only)");
}

SQLRETURN SQL_API SQLBulkOperations(SQLHSTMT h, SQLSMALLINT) { return onStatement(h, "SQLBulkOperations"); }

SQLRETURN SQL_API SQLExtendedFetch(SQLHSTMT h, SQLUSMALLINT, SQLLEN, SQLULEN*, SQLUSMALLINT*)
{
    return onStatement(h, "SQLExtendedFetch (use SQLFetch)");
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*,
                             SQLSMALLINT)
{
    return onStatement(h, "SQLColumns (PRAGMA table_info(TABLE) lists a table's columns)");
}

SQLRETURN SQL_API SQLPrimaryKeys(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    return onStatement(h, "SQLPrimaryKeys");
}

SQLRETURN SQL_API SQLForeignKeys(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                                 SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    return onStatement(h, "SQLForeignKeys");
}

SQLRETURN SQL_API SQLStatistics(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                                SQLUSMALLINT, SQLUSMALLINT)
{
    return onStatement(h, "SQLStatistics");
}

SQLRETURN SQL_API SQLSpecialColumns(SQLHSTMT h, SQLUSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*,
                                    SQLSMALLINT, SQLUSMALLINT, SQLUSMALLINT)
{
    return onStatement(h, "SQLSpecialColumns");
}

SQLRETURN SQL_API SQLProcedures(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    return onStatement(h, "SQLProcedures");
}

SQLRETURN SQL_API SQLProcedureColumns(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*,
                                      SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    return onStatement(h, "SQLProcedureColumns");
}

SQLRETURN SQL_API SQLColumnPrivileges(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*,
                                      SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    return onStatement(h, "SQLColumnPrivileges");
}

SQLRETURN SQL_API SQLTablePrivileges(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    return onStatement(h, "SQLTablePrivileges");
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT h, SQLSMALLINT) { return onStatement(h, "SQLGetTypeInfo"); }

SQLRETURN SQL_API SQLSetCursorName(SQLHSTMT h, SQLCHAR*, SQLSMALLINT) { return onStatement(h, "SQLSetCursorName"); }

SQLRETURN SQL_API SQLGetCursorName(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*)
{
    return onStatement(h, "SQLGetCursorName");
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC h, SQLCHAR*, SQLINTEGER, SQLCHAR*, SQLINTEGER, SQLINTEGER*)
{
    return onConnection(h, "SQLNativeSql");
}

SQLRETURN SQL_API SQLBrowseConnect(SQLHDBC h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*)
{
    return onConnection(h, "SQLBrowseConnect (use SQLConnect or SQLDriverConnect)");
}
