/*
 * SQLite loadable extension that makes a plain SQLite file speak the
 * dialect the VLDR programs send, and keeps the connection read-only.
 *
 * Loaded by the SQLite3 ODBC driver through the DSN's LoadExt= setting.
 * On load it
 *   - registers INT(x): NULL stays NULL, an integer stays itself, any other
 *     value becomes the largest integer not above its numeric value;
 *   - sets PRAGMA query_only=1, so no statement on this connection can
 *     change the database (the driver ignores the read-only access mode).
 */
#include <math.h>
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

/* INT(x): the integer part of x, rounded toward minus infinity. */
static void intFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    (void)argc;
    switch (sqlite3_value_numeric_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    default: {
        double value = floor(sqlite3_value_double(argv[0]));
        if (isnan(value)) {
            sqlite3_result_null(ctx);
        } else {
            sqlite3_result_int64(ctx, (sqlite3_int64)value);
        }
        return;
    }
    }
}

#ifdef _WIN32
__declspec(dllexport)
#endif
int sqlite3_extension_init(sqlite3 *db, char **errorMessage, const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    int rc = sqlite3_create_function(db, "INT", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, 0,
                                     intFunction, 0, 0);
    if (rc != SQLITE_OK) {
        return rc;
    }
    return sqlite3_exec(db, "PRAGMA query_only=1", 0, 0, errorMessage);
}
