/*
 * SQLite loadable extension that makes a plain SQLite file speak the
 * dialect the VLDR programs send, and keeps the connection read-only.
 *
 * Two entry points:
 *
 *   sqlite3_extension_init (the default; loaded by the SQLite3 ODBC driver
 *   through the DSN's LoadExt= setting). It
 *     - registers INT(x): NULL stays NULL, an integer stays itself, any
 *       other value becomes the largest integer not above its numeric value;
 *     - replaces LIKE by one that compares windows-1252 bytes (SQLite's own
 *       reads text as UTF-8 and confuses every accented letter with every
 *       other);
 *     - refuses a database that a reader would have to change (WAL mode, a
 *       -wal file, a hot rollback journal left by a crashed writer; the
 *       live journal of a writer at work is waited for like any lock), and
 *       one without every VLDR table as a table (a view standing in for
 *       one): every statement is then denied, and the reason is written to
 *       standard error;
 *     - installs the authorizer of vldr_read_only_rules.h, which allows
 *       reading only: no write, schema change, ATTACH, VACUUM, function
 *       outside its allow-list or PRAGMA that sets anything, and bounds
 *       the length of any value;
 *     - switches extension loading off for the rest of the connection and
 *       sets PRAGMA query_only=1;
 *     - limits each statement's waiting for a lock and running, together
 *       (vldr_statement_clock.h; in place of the driver's own busy wait).
 *
 *   sqlite3_vldr_dialect_init (for building a database: `.load FILE
 *   sqlite3_vldr_dialect_init` in the sqlite3 shell). Registers INT() and
 *   the windows-1252 LIKE and nothing else, so that expression indexes
 *   over INT() can be written.
 */
#include <fcntl.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "vldr_file_checks.h"
#include "vldr_int_function.h"
#include "vldr_like_function.h"
#include "vldr_read_only_rules.h"
#include "vldr_statement_clock.h"

/* Read transactions change no file; the SQLite3 ODBC driver opens them itself. */
static const int kTransactionsAllowed = 1;

/* Denies every statement: the connection is of no use, and says so. */
static int denyAllAuthorizer(void *unused, int action, const char *a, const char *b, const char *database,
                             const char *trigger)
{
    (void)unused;
    (void)action;
    (void)a;
    (void)b;
    (void)database;
    (void)trigger;
    return SQLITE_DENY;
}

/* Whether a -wal file with data lies beside the main database. */
static int walBesideHoldsData(sqlite3 *db)
{
    const char *path = sqlite3_db_filename(db, "main");
    if (path == 0 || *path == '\0') return 0;
    char beside[kVldrMaxPathSize];
    return snprintf(beside, sizeof beside, "%s-wal", path) < (int)sizeof beside && vldrFileHasData(beside);
}

/*
 * Whether reading the main database would make SQLite change a file: the
 * file is in WAL mode (format bytes 18 and 19 are 2), or a -wal file or a
 * hot rollback journal lies beside it. Reads the file's header with stdio,
 * so SQLite has not yet opened anything.
 */
static int readerWouldChangeFiles(sqlite3 *db)
{
    const char *path = sqlite3_db_filename(db, "main");
    if (path == 0 || *path == '\0') return 0;
    if (walBesideHoldsData(db)) return 1;
    if (vldrHasHotJournal(path)) return 1;
    FILE *file = fopen(path, "rb");
    if (file == 0) return 0;
    unsigned char header[20];
    const size_t got = fread(header, 1, sizeof header, file);
    fclose(file);
    return got == sizeof header && (header[18] == 2 || header[19] == 2);
}

/* How long the schema check waits for a writer's lock in all (milliseconds):
 * the data source's default busy wait. */
static const int kSchemaWaitMs = 2000;
static const int kSchemaRetryMs = 10;

static long long monotonicMs(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

/* SQLite's answer to whether table is a table of the main database
 * (SQLITE_ERROR for none, or a view), retried while a writer holds the
 * file, for kSchemaWaitMs at most whatever busy handler the driver set. */
static int tableStatus(sqlite3 *db, const char *table)
{
    const long long deadline = monotonicMs() + kSchemaWaitMs;
    for (;;) {
        const int rc = sqlite3_table_column_metadata(db, "main", table, 0, 0, 0, 0, 0, 0);
        const int primary = rc & 0xff;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) || monotonicMs() >= deadline) return rc;
        sqlite3_sleep(kSchemaRetryMs);
    }
}

/* Writes to why (of size bytes) the reason the database cannot serve, and
 * returns 1; returns 0 when it holds every VLDR table as a table. */
static int tablesUnfit(sqlite3 *db, char *why, size_t size)
{
    for (size_t i = 0; i < sizeof kVldrTables / sizeof kVldrTables[0]; ++i) {
        const int rc = tableStatus(db, kVldrTables[i]);
        if (rc == SQLITE_OK) continue;
        const int primary = rc & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            snprintf(why, size, "the database stayed locked by a writer for %d ms", kSchemaWaitMs);
        else if (primary == SQLITE_ERROR && strncmp(sqlite3_errmsg(db), "no such table", 13) == 0)
            snprintf(why, size, "it is not a VLDR database (it has no table %s)", kVldrTables[i]);
        else
            snprintf(why, size, "its schema cannot be read (%s)", sqlite3_errmsg(db));
        return 1;
    }
    if (vldrGridIsNotATable(db)) {
        snprintf(why, size, "it is not a VLDR database (its %s is not a table)", kVldrGridTable);
        return 1;
    }
    return 0;
}

#ifdef _WIN32
__declspec(dllexport)
#endif
int sqlite3_vldr_dialect_init(sqlite3 *db, char **errorMessage, const sqlite3_api_routines *api)
{
    (void)errorMessage;
    SQLITE_EXTENSION_INIT2(api);
    int rc = vldrRegisterIntFunction(db);
    if (rc == SQLITE_OK) rc = vldrRegisterLikeFunction(db);
    return rc;
}

#ifdef _WIN32
__declspec(dllexport)
#endif
int sqlite3_extension_init(sqlite3 *db, char **errorMessage, const sqlite3_api_routines *api)
{
    (void)errorMessage;
    SQLITE_EXTENSION_INIT2(api);
    /* No further extension may be loaded on this connection, whatever happens below. */
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, (int *)0);
    /*
     * A refusal must leave the library loaded and return SQLITE_OK: SQLite
     * unloads an extension whose initialisation fails, which would leave the
     * deny-all authorizer pointing into unmapped memory.
     */
    if (readerWouldChangeFiles(db)) {
        /*
         * Whatever the driver read before this ran, closing must not
         * checkpoint an orphaned -wal into the file. (Without one, the close
         * removes the empty -wal and -shm the driver's read made.)
         */
        if (walBesideHoldsData(db)) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, (int *)0);
        sqlite3_set_authorizer(db, denyAllAuthorizer, 0);
        fprintf(stderr, "vldr_sqlite_ext: %s is in WAL mode or has a journal beside it; a reader would "
                        "change its files, so every statement is refused\n",
                sqlite3_db_filename(db, "main"));
        return SQLITE_OK;
    }
    char why[512];
    if (tablesUnfit(db, why, sizeof why)) {
        sqlite3_set_authorizer(db, denyAllAuthorizer, 0);
        fprintf(stderr, "vldr_sqlite_ext: cannot use %s as the VLDR database: %s; every statement is refused\n",
                sqlite3_db_filename(db, "main"), why);
        return SQLITE_OK;
    }
    vldrLimitConnection(db);
    int rc = vldrInstallStatementClock(db, VLDR_STATEMENT_LIMIT_MS);
    if (rc == SQLITE_OK) rc = vldrRegisterIntFunction(db);
    if (rc == SQLITE_OK) rc = vldrRegisterLikeFunction(db);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA query_only=1", 0, 0, 0);
    if (rc != SQLITE_OK) {
        sqlite3_set_authorizer(db, denyAllAuthorizer, 0);
        fprintf(stderr, "vldr_sqlite_ext: could not set up the connection (%s); every statement is refused\n",
                sqlite3_errmsg(db));
        return SQLITE_OK;
    }
    sqlite3_set_authorizer(db, vldrReadOnlyAuthorizer, (void *)&kTransactionsAllowed);
    return SQLITE_OK;
}
