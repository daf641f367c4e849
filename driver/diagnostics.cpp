#include "diagnostics.h"

#include "text_output.h"

#include <cstring>

namespace vldr::driver {
namespace {

// Every message begins so, as ODBC asks of a component's messages.
constexpr const char* kMessagePrefix = "[VLDR] ";

bool isWarningState(const std::string& state)
{
    return state.compare(0, 2, "01") == 0;
}

// The SQLSTATE of an SQLite result code, by its primary code.
const char* stateForSqlite(int rc, const char* message)
{
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "HYT00";
    case SQLITE_AUTH:
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return "42000";
    case SQLITE_NOMEM:
        return "HY001";
    case SQLITE_INTERRUPT:
        return "HY008";
    case SQLITE_ERROR:
        if (std::strstr(message, "not authorized") != nullptr) return "42000";
        if (std::strncmp(message, "no such table", 13) == 0) return "42S02";
        if (std::strncmp(message, "no such column", 14) == 0) return "42S22";
        if (std::strstr(message, "syntax error") != nullptr) return "42000";
        return "HY000";
    default:
        return "HY000";
    }
}

// "ISO 9075" for states the SQL standard defines, "ODBC 3.0" for the rest.
const char* classOrigin(const std::string& state)
{
    const bool odbc = state.compare(0, 2, "IM") == 0 || state.compare(0, 2, "HY") == 0;
    return odbc ? "ODBC 3.0" : "ISO 9075";
}

const char* subclassOrigin(const std::string& state)
{
    const bool odbc = state.compare(0, 2, "IM") == 0 || state.compare(0, 2, "HY") == 0 || state[2] == 'S';
    return odbc ? "ODBC 3.0" : "ISO 9075";
}

SQLRETURN add(DiagnosticArea& area, const char* state, const std::string& message, SQLINTEGER native)
{
    area.records.push_back({state, native, std::string(kMessagePrefix) + message});
    return returnCodeOf(area);
}

// Writes a text field of SQLGetDiagField; SQL_SUCCESS_WITH_INFO when cut.
SQLRETURN textField(const std::string& text, SQLPOINTER value, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return copyText(text, value, bufferLength, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

}  // namespace

void clearDiagnostics(DiagnosticArea& area)
{
    area.records.clear();
}

SQLRETURN fail(DiagnosticArea& area, const char* state, const std::string& message, SQLINTEGER native)
{
    return add(area, state, message, native);
}

SQLRETURN warn(DiagnosticArea& area, const char* state, const std::string& message)
{
    return add(area, state, message, 0);
}

SQLRETURN failFromSqlite(DiagnosticArea& area, sqlite3* database, int rc, const std::string& doing)
{
    const char* sqliteMessage = database ? sqlite3_errmsg(database) : sqlite3_errstr(rc);
    std::string message = doing + ": " + sqliteMessage;
    const char* state = stateForSqlite(rc, sqliteMessage);
    if (std::strcmp(state, "HYT00") == 0) {
        message = doing + ": the database stayed locked by a writer for the whole busy wait (" + sqliteMessage + ")";
    } else if (std::strstr(sqliteMessage, "not authorized") != nullptr) {
        message = doing + ": the data source only reads; this statement is refused (" + sqliteMessage + ")";
    }
    return add(area, state, message, rc);
}

SQLRETURN notImplemented(DiagnosticArea& area, const char* function)
{
    return fail(area, "HYC00", std::string("Optional feature not implemented: ") + function);
}

SQLRETURN returnCodeOf(const DiagnosticArea& area)
{
    SQLRETURN rc = SQL_SUCCESS;
    for (const Diagnostic& record : area.records) {
        if (!isWarningState(record.state)) return SQL_ERROR;
        rc = SQL_SUCCESS_WITH_INFO;
    }
    return rc;
}

DiagnosticArea* diagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle)
{
    if (handle == nullptr) return nullptr;
    switch (handleType) {
    case SQL_HANDLE_ENV:
        return &static_cast<Environment*>(handle)->diagnostics;
    case SQL_HANDLE_DBC:
        return &static_cast<Connection*>(handle)->diagnostics;
    case SQL_HANDLE_STMT:
        return &static_cast<Statement*>(handle)->diagnostics;
    default:
        return nullptr;
    }
}

}  // namespace vldr::driver

using namespace vldr::driver;

// Reads record recordNumber (from 1) of the handle's diagnostics.
SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message, SQLSMALLINT bufferLength,
                                SQLSMALLINT* messageLength)
{
    const DiagnosticArea* area = diagnosticsOf(handleType, handle);
    if (area == nullptr) return SQL_INVALID_HANDLE;
    if (recordNumber <= 0 || bufferLength < 0) return SQL_ERROR;
    if (static_cast<std::size_t>(recordNumber) > area->records.size()) return SQL_NO_DATA;
    const Diagnostic& record = area->records[static_cast<std::size_t>(recordNumber) - 1];
    if (state) std::memcpy(state, record.state.c_str(), 6);
    if (native) *native = record.native;
    return copyText(record.message, message, bufferLength, messageLength) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

// Reads one field of the header (record 0) or of a record.
SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                  SQLSMALLINT field, SQLPOINTER value, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* length)
{
    const DiagnosticArea* area = diagnosticsOf(handleType, handle);
    if (area == nullptr) return SQL_INVALID_HANDLE;
    switch (field) {
    case SQL_DIAG_NUMBER:
        *static_cast<SQLINTEGER*>(value) = static_cast<SQLINTEGER>(area->records.size());
        return SQL_SUCCESS;
    case SQL_DIAG_RETURNCODE:
        *static_cast<SQLRETURN*>(value) = returnCodeOf(*area);
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT:
        if (handleType != SQL_HANDLE_STMT) return SQL_ERROR;
        *static_cast<SQLLEN*>(value) = -1;
        return SQL_SUCCESS;
    case SQL_DIAG_DYNAMIC_FUNCTION:
        if (handleType != SQL_HANDLE_STMT) return SQL_ERROR;
        return textField("", value, bufferLength, length);
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        if (handleType != SQL_HANDLE_STMT) return SQL_ERROR;
        *static_cast<SQLINTEGER*>(value) = SQL_DIAG_UNKNOWN_STATEMENT;
        return SQL_SUCCESS;
    default:
        break;
    }
    if (recordNumber <= 0) return SQL_ERROR;
    if (static_cast<std::size_t>(recordNumber) > area->records.size()) return SQL_NO_DATA;
    const Diagnostic& record = area->records[static_cast<std::size_t>(recordNumber) - 1];
    switch (field) {
    case SQL_DIAG_SQLSTATE:
        return textField(record.state, value, bufferLength, length);
    case SQL_DIAG_NATIVE:
        *static_cast<SQLINTEGER*>(value) = record.native;
        return SQL_SUCCESS;
    case SQL_DIAG_MESSAGE_TEXT:
        return textField(record.message, value, bufferLength, length);
    case SQL_DIAG_CLASS_ORIGIN:
        return textField(classOrigin(record.state), value, bufferLength, length);
    case SQL_DIAG_SUBCLASS_ORIGIN:
        return textField(subclassOrigin(record.state), value, bufferLength, length);
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
        return textField("", value, bufferLength, length);
    case SQL_DIAG_ROW_NUMBER:
        *static_cast<SQLLEN*>(value) = SQL_ROW_NUMBER_UNKNOWN;
        return SQL_SUCCESS;
    case SQL_DIAG_COLUMN_NUMBER:
        *static_cast<SQLINTEGER*>(value) = SQL_COLUMN_NUMBER_UNKNOWN;
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}
