// The catalog function SQLTables (isql's `help`), answered by a query over
// the schema in the database itself, so that its rows come through the
// same cursor as any query's.
#include "diagnostics.h"
#include "statement_support.h"
#include "text_output.h"

#include <strings.h>

#include <string>

namespace vldr::driver {
namespace {

// The tables and views of the database, in ODBC's five columns. ?1 is the
// name pattern; ?2 and ?3 are 1 when tables and views are wanted.
constexpr const char* kTablesQuery =
    "SELECT NULL AS TABLE_CAT, NULL AS TABLE_SCHEM, name AS TABLE_NAME, "
    "CASE type WHEN 'view' THEN 'VIEW' ELSE 'TABLE' END AS TABLE_TYPE, NULL AS REMARKS "
    "FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
    "AND name LIKE ?1 ESCAPE '\\' AND ((?2 = 1 AND type = 'table') OR (?3 = 1 AND type = 'view')) "
    "ORDER BY 4, 3";

// The table types the database has, for SQLTables(type "%").
constexpr const char* kTableTypesQuery =
    "SELECT NULL AS TABLE_CAT, NULL AS TABLE_SCHEM, NULL AS TABLE_NAME, 'TABLE' AS TABLE_TYPE, NULL AS REMARKS "
    "UNION ALL SELECT NULL, NULL, NULL, 'VIEW', NULL";

// A pattern argument: the text given, or "%" (everything) when absent.
std::string patternOf(const SQLCHAR* text, SQLSMALLINT length)
{
    const std::string_view pattern = textArgument(text, length);
    return text == nullptr ? std::string("%") : std::string(pattern);
}

// Whether a list of table types ("TABLE,VIEW" or "'TABLE','VIEW'") names type.
bool namesType(std::string_view list, const char* type)
{
    std::string word;
    const auto matches = [&] { return strcasecmp(word.c_str(), type) == 0; };
    for (char c : list) {
        if (c == ',') {
            if (matches()) return true;
            word.clear();
        } else if (c != '\'' && c != ' ') {
            word += c;
        }
    }
    return matches();
}

// Prepares query, lets bind set its parameters, and executes it.
template <typename Binder>
SQLRETURN runCatalogQuery(Statement& statement, const char* query, Binder bind)
{
    if (hasResultSet(statement)) return fail(statement.diagnostics, "24000", "the cursor is still open; close it first");
    const SQLRETURN rc = prepareStatement(statement, query);
    if (rc != SQL_SUCCESS) return rc;
    bind(statement.prepared);
    return executeStatement(statement);
}

}  // namespace

}  // namespace vldr::driver

using namespace vldr::driver;

// The tables and views whose names match tableName (a LIKE pattern, `\`
// escapes), of the types listed in tableType (all when absent); type "%"
// alone lists the table types. There are no catalogs or schemas.
SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* tableName,
                            SQLSMALLINT tableNameLength, SQLCHAR* tableType, SQLSMALLINT tableTypeLength)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    const std::string_view types = textArgument(tableType, tableTypeLength);
    if (types == "%" && textArgument(tableName, tableNameLength).empty()) {
        return runCatalogQuery(*statement, kTableTypesQuery, [](sqlite3_stmt*) {});
    }
    const bool all = tableType == nullptr || types.empty() || types == "%";
    const std::string pattern = patternOf(tableName, tableNameLength);
    return runCatalogQuery(*statement, kTablesQuery, [&](sqlite3_stmt* prepared) {
        sqlite3_bind_text(prepared, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(prepared, 2, all || namesType(types, "TABLE") ? 1 : 0);
        sqlite3_bind_int(prepared, 3, all || namesType(types, "VIEW") ? 1 : 0);
    });
}
