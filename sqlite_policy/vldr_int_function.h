/*
 * INT(x), the one function of the VLDR statements that SQLite lacks:
 * NULL stays NULL, an integer stays itself, any other value becomes the
 * largest integer not above its numeric value (NaN becomes NULL; a value
 * beyond the 64-bit integer range stays the floored real).
 *
 * Shared by the SQLite extension (db/vldr_sqlite_ext.c) and the VLDR ODBC
 * driver (driver/), so that both speak exactly the same dialect. Include
 * after <sqlite3.h> (or <sqlite3ext.h> in an extension) and <math.h>.
 */
#ifndef VLDR_INT_FUNCTION_H
#define VLDR_INT_FUNCTION_H

/* The largest double below 2^63: beyond it INT() keeps the real value. */
static const double kLargestInt64AsDouble = 9223372036854774784.0;

/* INT(x): the integer part of x, rounded toward minus infinity. */
static void vldrIntFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
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
        } else if (value > kLargestInt64AsDouble || value < -kLargestInt64AsDouble) {
            sqlite3_result_double(ctx, value);
        } else {
            sqlite3_result_int64(ctx, (sqlite3_int64)value);
        }
        return;
    }
    }
}

/* Registers INT() on a connection: deterministic and harmless, so that an
 * expression index over INT() can be built and used. */
static int vldrRegisterIntFunction(sqlite3 *db)
{
    return sqlite3_create_function(db, "INT", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, 0,
                                   vldrIntFunction, 0, 0);
}

#endif
