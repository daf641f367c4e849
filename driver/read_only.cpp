#include "read_only.h"

#include "data_source.h"

#include <math.h>
#include <stdlib.h>
#include <time.h>

// The dialect and the read-only rules as the SQLite extension defines them (same source).
#include "vldr_int_function.h"
#include "vldr_like_function.h"
#include "vldr_read_only_rules.h"
#include "vldr_statement_clock.h"

namespace vldr::driver {

static_assert(kDefaultBusyTimeoutMs == VLDR_STATEMENT_LIMIT_MS, "both data sources limit statements alike");

int prepareReadOnlyConnection(sqlite3* database, int busyTimeoutMs, const int* transactionControl)
{
    // Extension loading is off by default; keep it off, C interface included.
    int rc = sqlite3_db_config(database, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    // No function in the schema runs unless it is marked harmless, and no
    // statement can turn the protections of a defensive connection off.
    if (rc == SQLITE_OK) rc = sqlite3_db_config(database, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_db_config(database, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // No second database can be attached (VACUUM INTO attaches its target).
    sqlite3_limit(database, SQLITE_LIMIT_ATTACHED, 0);
    vldrLimitConnection(database);
    if (rc == SQLITE_OK) rc = vldrInstallStatementClock(database, busyTimeoutMs);
    if (rc == SQLITE_OK) rc = vldrRegisterIntFunction(database);
    if (rc == SQLITE_OK) rc = vldrRegisterLikeFunction(database);
    if (rc == SQLITE_OK) rc = sqlite3_exec(database, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_set_authorizer(database, vldrReadOnlyAuthorizer,
                                                      const_cast<int*>(transactionControl));
    return rc;
}

}  // namespace vldr::driver
