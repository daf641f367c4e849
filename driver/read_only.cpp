#include "read_only.h"

#include <math.h>

// INT() as the SQLite extension defines it (same source).
#include "../db/vldr_int_function.h"
#include "../db/vldr_like_function.h"

namespace vldr::driver {
namespace {

// PRAGMAs that only describe the table or index named by their argument.
constexpr const char* kDescribingPragmas[] = {
    "table_info", "table_xinfo", "index_list", "index_info", "index_xinfo", "foreign_key_list",
};

// PRAGMAs that only report, allowed in their query form (no argument).
constexpr const char* kReportingPragmas[] = {
    "database_list", "collation_list", "function_list", "pragma_list", "compile_options", "encoding",
    "query_only",    "schema_version", "user_version",  "page_size",   "page_count",      "freelist_count",
    "foreign_keys",  "data_version",   "application_id", "busy_timeout", "table_list",
};

template <std::size_t N>
bool isListed(const char* name, const char* const (&list)[N])
{
    for (const char* entry : list) {
        if (sqlite3_stricmp(name, entry) == 0) return true;
    }
    return false;
}

bool isReadingPragma(const char* name, const char* argument)
{
    if (name == nullptr) return false;
    if (isListed(name, kDescribingPragmas)) return true;
    return argument == nullptr && isListed(name, kReportingPragmas);
}

// Allows reading the database and nothing else: no write, no schema
// change, no ATTACH, no transaction control (a reader needs none; an open
// transaction would only hold a lock), no PRAGMA that sets anything, no
// load_extension().
int readOnlyAuthorizer(void*, int action, const char* a, const char* b, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        // b: the function's name.
        return sqlite3_stricmp(b, "load_extension") == 0 ? SQLITE_DENY : SQLITE_OK;
    case SQLITE_PRAGMA:
        // a: the PRAGMA's name, b: its argument or null.
        return isReadingPragma(a, b) ? SQLITE_OK : SQLITE_DENY;
    default:
        return SQLITE_DENY;
    }
}

}  // namespace

int prepareReadOnlyConnection(sqlite3* database, int busyTimeoutMs)
{
    // Extension loading is off by default; keep it off, C interface included.
    int rc = sqlite3_db_config(database, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    // No function in the schema runs unless it is marked harmless, and no
    // statement can turn the protections of a defensive connection off.
    if (rc == SQLITE_OK) rc = sqlite3_db_config(database, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_db_config(database, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // No second database can be attached (VACUUM INTO attaches its target).
    sqlite3_limit(database, SQLITE_LIMIT_ATTACHED, 0);
    if (rc == SQLITE_OK) rc = sqlite3_busy_timeout(database, busyTimeoutMs);
    if (rc == SQLITE_OK) rc = vldrRegisterIntFunction(database);
    if (rc == SQLITE_OK) rc = vldrRegisterLikeFunction(database);
    if (rc == SQLITE_OK) rc = sqlite3_exec(database, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_set_authorizer(database, readOnlyAuthorizer, nullptr);
    return rc;
}

}  // namespace vldr::driver
