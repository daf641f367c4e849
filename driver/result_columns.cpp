// Describing result columns: SQLDescribeCol and SQLColAttribute. A column
// of a table takes its SQL type from its declared type (SQLite's affinity
// rules); a computed column from the kind of its value in the first row.
#include "diagnostics.h"
#include "statement_support.h"
#include "text_output.h"

#include <strings.h>

#include <cstring>
#include <string>

namespace vldr::driver {
namespace {

// Characters isql and other tools set aside for a text column whose declared type gives no length.
constexpr SQLULEN kTextColumnSize = 255;

struct ColumnDescription {
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN size = kTextColumnSize;      // characters (text), digits (numbers)
    SQLSMALLINT decimalDigits = 0;
    SQLLEN displaySize = kTextColumnSize;  // characters needed to show any value
    SQLLEN octetLength = kTextColumnSize;  // bytes of its C form
    const char* typeName = "TEXT";
};

constexpr ColumnDescription kInteger{SQL_BIGINT, 19, 0, 20, 8, "INTEGER"};
constexpr ColumnDescription kReal{SQL_DOUBLE, 15, 0, 24, 8, "REAL"};
constexpr ColumnDescription kText{SQL_VARCHAR, kTextColumnSize, 0, kTextColumnSize, kTextColumnSize, "TEXT"};
constexpr ColumnDescription kBytes{SQL_VARBINARY, kTextColumnSize, 0, 2 * kTextColumnSize, kTextColumnSize, "BLOB"};

bool contains(const char* text, const char* part)
{
    return strcasestr(text, part) != nullptr;
}

ColumnDescription describe(sqlite3_stmt* prepared, int column)
{
    const char* declared = sqlite3_column_decltype(prepared, column);
    if (declared != nullptr && *declared != '\0') {
        if (contains(declared, "INT")) return kInteger;
        if (contains(declared, "CHAR") || contains(declared, "CLOB") || contains(declared, "TEXT")) return kText;
        if (contains(declared, "BLOB")) return kBytes;
        return kReal;
    }
    switch (sqlite3_column_type(prepared, column)) {
    case SQLITE_INTEGER:
        return kInteger;
    case SQLITE_FLOAT:
        return kReal;
    case SQLITE_BLOB:
        return kBytes;
    default:
        return kText;
    }
}

// Checks the statement and column number; SQL_SUCCESS when both serve.
SQLRETURN checkColumn(Statement& statement, SQLUSMALLINT column)
{
    if (statement.prepared == nullptr) return fail(statement.diagnostics, "HY010", "no statement is prepared");
    if (column == 0 || column > sqlite3_column_count(statement.prepared)) {
        return fail(statement.diagnostics, "07009", "there is no column " + std::to_string(column));
    }
    return SQL_SUCCESS;
}

std::string nameOf(sqlite3_stmt* prepared, int column)
{
    const char* name = sqlite3_column_name(prepared, column);
    return name ? name : "";
}

std::string tableOf(sqlite3_stmt* prepared, int column)
{
    const char* table = sqlite3_column_table_name(prepared, column);
    return table ? table : "";
}

SQLRETURN textAttribute(Statement& statement, const std::string& text, SQLPOINTER buffer, SQLSMALLINT bufferLength,
                        SQLSMALLINT* length)
{
    if (!copyText(text, buffer, bufferLength, length)) return SQL_SUCCESS;
    return warn(statement.diagnostics, "01004", "String data, right truncated: the attribute was cut to fit the buffer");
}

}  // namespace

}  // namespace vldr::driver

using namespace vldr::driver;

// Describes result column `column` (from 1): name, SQL type, size, digits, nullability.
SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                                 SQLSMALLINT* nameLength, SQLSMALLINT* sqlType, SQLULEN* size,
                                 SQLSMALLINT* decimalDigits, SQLSMALLINT* nullable)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    const SQLRETURN check = checkColumn(*statement, column);
    if (check != SQL_SUCCESS) return check;
    const ColumnDescription description = describe(statement->prepared, column - 1);
    if (sqlType) *sqlType = description.sqlType;
    if (size) *size = description.size;
    if (decimalDigits) *decimalDigits = description.decimalDigits;
    if (nullable) *nullable = SQL_NULLABLE_UNKNOWN;
    return textAttribute(*statement, nameOf(statement->prepared, column - 1), name, bufferLength, nameLength);
}

// One attribute of result column `column` (from 1): texts into
// characterValue, numbers into *numericValue. SQL_DESC_COUNT needs no column.
SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER characterValue,
                                  SQLSMALLINT bufferLength, SQLSMALLINT* length, SQLLEN* numericValue)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    SQLLEN ignored = 0;
    SQLLEN& number = numericValue ? *numericValue : ignored;
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
        if (statement->prepared == nullptr) return fail(statement->diagnostics, "HY010", "no statement is prepared");
        number = sqlite3_column_count(statement->prepared);
        return SQL_SUCCESS;
    }
    const SQLRETURN check = checkColumn(*statement, column);
    if (check != SQL_SUCCESS) return check;
    sqlite3_stmt* prepared = statement->prepared;
    const int index = column - 1;
    const ColumnDescription description = describe(prepared, index);
    switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_COLUMN_NAME:
        return textAttribute(*statement, nameOf(prepared, index), characterValue, bufferLength, length);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
        return textAttribute(*statement, tableOf(prepared, index), characterValue, bufferLength, length);
    case SQL_DESC_TYPE_NAME:
        return textAttribute(*statement, description.typeName, characterValue, bufferLength, length);
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_SCHEMA_NAME:
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
    case SQL_DESC_LOCAL_TYPE_NAME:
        return textAttribute(*statement, "", characterValue, bufferLength, length);
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
        number = description.sqlType;
        return SQL_SUCCESS;
    case SQL_DESC_LENGTH:
    case SQL_DESC_PRECISION:
    case SQL_COLUMN_LENGTH:
    case SQL_COLUMN_PRECISION:
        number = static_cast<SQLLEN>(description.size);
        return SQL_SUCCESS;
    case SQL_DESC_OCTET_LENGTH:
        number = description.octetLength;
        return SQL_SUCCESS;
    case SQL_DESC_DISPLAY_SIZE:
        number = description.displaySize;
        return SQL_SUCCESS;
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
        number = description.decimalDigits;
        return SQL_SUCCESS;
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
        number = SQL_NULLABLE_UNKNOWN;
        return SQL_SUCCESS;
    case SQL_DESC_UNSIGNED:
        number = description.sqlType == SQL_VARCHAR || description.sqlType == SQL_VARBINARY ? SQL_TRUE : SQL_FALSE;
        return SQL_SUCCESS;
    case SQL_DESC_FIXED_PREC_SCALE:
    case SQL_DESC_AUTO_UNIQUE_VALUE:
        number = SQL_FALSE;
        return SQL_SUCCESS;
    case SQL_DESC_CASE_SENSITIVE:
        number = description.sqlType == SQL_VARCHAR ? SQL_TRUE : SQL_FALSE;
        return SQL_SUCCESS;
    case SQL_DESC_SEARCHABLE:
        number = SQL_PRED_SEARCHABLE;
        return SQL_SUCCESS;
    case SQL_DESC_UPDATABLE:
        number = SQL_ATTR_READONLY;
        return SQL_SUCCESS;
    case SQL_DESC_UNNAMED:
        number = SQL_NAMED;
        return SQL_SUCCESS;
    case SQL_DESC_NUM_PREC_RADIX:
        number = description.sqlType == SQL_VARCHAR || description.sqlType == SQL_VARBINARY ? 0 : 10;
        return SQL_SUCCESS;
    default:
        return fail(statement->diagnostics, "HY091", "Invalid descriptor field identifier " + std::to_string(field));
    }
}
