// What the driver says about itself and the data source: SQLGetInfo (the
// driver manager asks some at connect, tools ask more) and SQLGetFunctions.
#include "diagnostics.h"
#include "handles.h"
#include "text_output.h"

#include <string>

namespace vldr::driver {
namespace {

// The ODBC version the driver implements, and its own version.
constexpr const char* kDriverOdbcVersion = "03.00";
constexpr const char* kDriverVersion = "01.00.0000";
constexpr const char* kDriverFileName = "libvldrodbc.so";

// The ODBC functions the driver exports (SQLGetFunctions answers from this;
// the driver manager passes only these on). The last row's answer HYC00
// (unsupported.cpp), so that a tool learns why they fail.
constexpr SQLUSMALLINT kImplementedFunctions[] = {
    SQL_API_SQLALLOCHANDLE,  SQL_API_SQLFREEHANDLE,    SQL_API_SQLCONNECT,       SQL_API_SQLDRIVERCONNECT,
    SQL_API_SQLDISCONNECT,   SQL_API_SQLGETINFO,       SQL_API_SQLGETFUNCTIONS,  SQL_API_SQLSETENVATTR,
    SQL_API_SQLGETENVATTR,   SQL_API_SQLSETCONNECTATTR, SQL_API_SQLGETCONNECTATTR, SQL_API_SQLSETSTMTATTR,
    SQL_API_SQLGETSTMTATTR,  SQL_API_SQLPREPARE,       SQL_API_SQLEXECUTE,       SQL_API_SQLEXECDIRECT,
    SQL_API_SQLFETCH,        SQL_API_SQLFETCHSCROLL,   SQL_API_SQLFREESTMT,      SQL_API_SQLCLOSECURSOR,
    SQL_API_SQLNUMRESULTCOLS, SQL_API_SQLDESCRIBECOL,  SQL_API_SQLCOLATTRIBUTE,  SQL_API_SQLBINDCOL,
    SQL_API_SQLGETDATA,      SQL_API_SQLROWCOUNT,      SQL_API_SQLMORERESULTS,   SQL_API_SQLCANCEL,
    SQL_API_SQLGETDIAGREC,   SQL_API_SQLGETDIAGFIELD,  SQL_API_SQLTABLES,
    SQL_API_SQLENDTRAN,
    SQL_API_SQLBINDPARAMETER, SQL_API_SQLNUMPARAMS,    SQL_API_SQLDESCRIBEPARAM, SQL_API_SQLPARAMDATA,
    SQL_API_SQLPUTDATA,      SQL_API_SQLSETPOS,        SQL_API_SQLBULKOPERATIONS, SQL_API_SQLEXTENDEDFETCH,
    SQL_API_SQLCOLUMNS,      SQL_API_SQLPRIMARYKEYS,   SQL_API_SQLFOREIGNKEYS,   SQL_API_SQLSTATISTICS,
    SQL_API_SQLSPECIALCOLUMNS, SQL_API_SQLPROCEDURES,  SQL_API_SQLPROCEDURECOLUMNS, SQL_API_SQLCOLUMNPRIVILEGES,
    SQL_API_SQLTABLEPRIVILEGES, SQL_API_SQLGETTYPEINFO, SQL_API_SQLSETCURSORNAME, SQL_API_SQLGETCURSORNAME,
    SQL_API_SQLNATIVESQL,    SQL_API_SQLBROWSECONNECT,
};

bool isImplemented(SQLUSMALLINT function)
{
    for (SQLUSMALLINT implemented : kImplementedFunctions) {
        if (implemented == function) return true;
    }
    return false;
}

SQLRETURN textInfo(Connection& connection, const std::string& text, SQLPOINTER value, SQLSMALLINT bufferLength,
                   SQLSMALLINT* length)
{
    if (!copyText(text, value, bufferLength, length)) return SQL_SUCCESS;
    return warn(connection.diagnostics, "01004", "String data, right truncated: the information was cut to fit");
}

template <typename T>
SQLRETURN numberInfo(T number, SQLPOINTER value, SQLSMALLINT* length)
{
    if (value) *static_cast<T*>(value) = number;
    if (length) *length = sizeof(T);
    return SQL_SUCCESS;
}

}  // namespace

}  // namespace vldr::driver

using namespace vldr::driver;

// One item of information about the driver or the data source.
SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT item, SQLPOINTER value, SQLSMALLINT bufferLength,
                             SQLSMALLINT* length)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    Connection& c = *connection;
    const auto text = [&](const std::string& t) { return textInfo(c, t, value, bufferLength, length); };
    const auto word = [&](SQLUSMALLINT n) { return numberInfo<SQLUSMALLINT>(n, value, length); };
    const auto mask = [&](SQLUINTEGER n) { return numberInfo<SQLUINTEGER>(n, value, length); };
    switch (item) {
    case SQL_DRIVER_NAME: return text(kDriverFileName);
    case SQL_DRIVER_VER: return text(kDriverVersion);
    case SQL_DRIVER_ODBC_VER: return text(kDriverOdbcVersion);
    case SQL_DBMS_NAME: return text("SQLite");
    case SQL_DBMS_VER: return text(sqlite3_libversion());
    case SQL_DATA_SOURCE_NAME: return text(c.dataSourceName);
    case SQL_DATABASE_NAME:
    case SQL_SERVER_NAME: return text(c.databasePath);
    case SQL_DATA_SOURCE_READ_ONLY: return text("Y");
    case SQL_ACCESSIBLE_TABLES:
    case SQL_ACCESSIBLE_PROCEDURES: return text(item == SQL_ACCESSIBLE_TABLES ? "Y" : "N");
    case SQL_USER_NAME:
    case SQL_CATALOG_TERM:
    case SQL_SCHEMA_TERM:
    case SQL_PROCEDURE_TERM:
    case SQL_CATALOG_NAME_SEPARATOR:
    case SQL_KEYWORDS: return text("");
    case SQL_CATALOG_NAME:
    case SQL_NEED_LONG_DATA_LEN:
    case SQL_MULT_RESULT_SETS:
    case SQL_MULTIPLE_ACTIVE_TXN:
    case SQL_PROCEDURES:
    case SQL_ROW_UPDATES:
    case SQL_DESCRIBE_PARAMETER:
    case SQL_INTEGRITY:
    case SQL_ORDER_BY_COLUMNS_IN_SELECT: return text("N");
    case SQL_COLUMN_ALIAS:
    case SQL_LIKE_ESCAPE_CLAUSE:
    case SQL_EXPRESSIONS_IN_ORDERBY: return text("Y");
    case SQL_TABLE_TERM: return text("table");
    case SQL_IDENTIFIER_QUOTE_CHAR: return text("\"");
    case SQL_SEARCH_PATTERN_ESCAPE: return text("\\");
    case SQL_SPECIAL_CHARACTERS: return text("");
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR: return word(SQL_CB_CLOSE);
    case SQL_TXN_CAPABLE: return word(SQL_TC_DML);
    case SQL_CONCAT_NULL_BEHAVIOR: return word(SQL_CB_NULL);
    case SQL_NULL_COLLATION: return word(SQL_NC_LOW);
    case SQL_IDENTIFIER_CASE: return word(SQL_IC_MIXED);
    case SQL_QUOTED_IDENTIFIER_CASE: return word(SQL_IC_SENSITIVE);
    case SQL_CORRELATION_NAME: return word(SQL_CN_ANY);
    case SQL_NON_NULLABLE_COLUMNS: return word(SQL_NNC_NON_NULL);
    case SQL_GROUP_BY: return word(SQL_GB_NO_RELATION);
    case SQL_FILE_USAGE: return word(SQL_FILE_NOT_SUPPORTED);
    case SQL_MAX_CONCURRENT_ACTIVITIES:
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_ACTIVE_ENVIRONMENTS:
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_PROCEDURE_NAME_LEN: return word(0);
    case SQL_MAX_COLUMN_NAME_LEN:
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN: return word(255);
    case SQL_MAX_IDENTIFIER_LEN: return word(255);
    case SQL_ODBC_INTERFACE_CONFORMANCE: return mask(SQL_OIC_CORE);
    case SQL_SQL_CONFORMANCE: return mask(SQL_SC_SQL92_ENTRY);
    case SQL_GETDATA_EXTENSIONS: return mask(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER);
    case SQL_SCROLL_OPTIONS: return mask(SQL_SO_FORWARD_ONLY);
    case SQL_FETCH_DIRECTION: return mask(SQL_FD_FETCH_NEXT);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1: return mask(SQL_CA1_NEXT);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2: return mask(SQL_CA2_READ_ONLY_CONCURRENCY);
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_LOCK_TYPES:
    case SQL_STATIC_SENSITIVITY:
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_ALTER_TABLE:
    case SQL_DATETIME_LITERALS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_CONVERT_FUNCTIONS:
    case SQL_BATCH_SUPPORT:
    case SQL_BATCH_ROW_COUNT:
    case SQL_PARAM_ARRAY_ROW_COUNTS:
    case SQL_PARAM_ARRAY_SELECTS:
    case SQL_SCHEMA_USAGE:
    case SQL_CATALOG_USAGE:
    case SQL_ASYNC_MODE:
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
    case SQL_TXN_ISOLATION_OPTION:
    case SQL_DEFAULT_TXN_ISOLATION: return mask(0);
    case SQL_CURSOR_SENSITIVITY: return mask(SQL_INSENSITIVE);
    case SQL_SCROLL_CONCURRENCY: return mask(SQL_SCCO_READ_ONLY);
    case SQL_STRING_FUNCTIONS: return mask(SQL_FN_STR_CONCAT | SQL_FN_STR_LENGTH | SQL_FN_STR_SUBSTRING |
                                           SQL_FN_STR_LTRIM | SQL_FN_STR_RTRIM | SQL_FN_STR_UCASE |
                                           SQL_FN_STR_LCASE | SQL_FN_STR_REPLACE);
    case SQL_NUMERIC_FUNCTIONS: return mask(SQL_FN_NUM_ABS | SQL_FN_NUM_ROUND);
    case SQL_AGGREGATE_FUNCTIONS: return mask(SQL_AF_ALL | SQL_AF_AVG | SQL_AF_COUNT | SQL_AF_DISTINCT |
                                              SQL_AF_MAX | SQL_AF_MIN | SQL_AF_SUM);
    default:
        break;
    }
    return fail(c.diagnostics, "HY096", "Information type out of range: " + std::to_string(item));
}

// Whether the driver offers function `function`, or the table of all.
SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT function, SQLUSMALLINT* supported)
{
    auto* connection = static_cast<Connection*>(handle);
    clearDiagnostics(connection->diagnostics);
    if (supported == nullptr) return SQL_SUCCESS;
    if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
        for (int i = 0; i < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE; ++i) supported[i] = 0;
        for (SQLUSMALLINT id : kImplementedFunctions) supported[id >> 4] |= static_cast<SQLUSMALLINT>(1 << (id & 0xf));
        return SQL_SUCCESS;
    }
    if (function == SQL_API_ALL_FUNCTIONS) {
        for (int i = 0; i < 100; ++i) supported[i] = isImplemented(static_cast<SQLUSMALLINT>(i)) ? SQL_TRUE : SQL_FALSE;
        return SQL_SUCCESS;
    }
    *supported = isImplemented(function) ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
}
