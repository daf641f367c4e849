/*
 * What a VLDR connection may do: read the database and nothing else. The
 * authorizer below allows SELECT and reading tables, the functions needed
 * to read (an allow-list), and PRAGMAs that only describe or report; it
 * denies every write, schema change, ATTACH, VACUUM and PRAGMA that sets
 * anything. vldrLimitConnection bounds what one value may make the process
 * allocate.
 *
 * Shared by the SQLite extension (db/vldr_sqlite_ext.c) and the VLDR ODBC
 * driver (driver/), so that both data sources refuse exactly the same.
 * Include after <sqlite3.h> (or <sqlite3ext.h> in an extension).
 */
#ifndef VLDR_READ_ONLY_RULES_H
#define VLDR_READ_ONLY_RULES_H

/*
 * The longest text, blob or row a connection makes or reads (bytes). The
 * longest value of the VLDR tables is a list of points of interest of at
 * most 4095 characters; sixteen times that leaves room for any reader,
 * while randomblob(500000000), zeroblob(999999999) or a generated 100 MB
 * name fail at once ("string or blob too big"), and a LIKE over one value
 * stays short enough for the statement time limit to stop a scan of many
 * (vldr_statement_clock.h).
 */
#define VLDR_MAX_VALUE_BYTES 65536

/* PRAGMAs that only describe a table or index named by their argument. */
static const char *const kVldrDescribingPragmas[] = {
    "table_info", "table_xinfo", "index_list", "index_info", "index_xinfo", "foreign_key_list", 0,
};

/* PRAGMAs that only report a setting, allowed in their query form (no
 * argument). The SQLite3 ODBC driver asks for some of them itself. */
static const char *const kVldrReportingPragmas[] = {
    "database_list", "collation_list", "function_list", "pragma_list", "compile_options",
    "encoding", "journal_mode", "query_only", "schema_version", "user_version", "page_size",
    "page_count", "freelist_count", "short_column_names", "full_column_names",
    "empty_result_callbacks", "foreign_keys", "data_version", "application_id", "busy_timeout",
    "table_list", 0,
};

/*
 * The functions a statement may call: the dialect's (INT, and LIKE with or
 * without ESCAPE), SQLite's core scalar, aggregate and math functions, which
 * only compute from their arguments. Left out on purpose: load_extension,
 * fts3_tokenizer (its legacy form hands out and overwrites a code pointer),
 * and everything else a build may add (JSON, FTS, window functions), which
 * no reader of the VLDR tables needs.
 */
static const char *const kVldrAllowedFunctions[] = {
    /* the dialect */
    "int", "like",
    /* core scalar functions */
    "abs", "char", "coalesce", "concat", "concat_ws", "format", "glob", "hex", "ifnull", "iif", "instr",
    "length", "likelihood", "likely", "lower", "ltrim", "max", "min", "nullif", "octet_length", "printf",
    "quote", "random", "randomblob", "replace", "round", "rtrim", "sign", "soundex", "sqlite_version",
    "substr", "substring", "trim", "typeof", "unhex", "unicode", "unlikely", "upper", "zeroblob",
    /* core aggregate functions */
    "avg", "count", "group_concat", "string_agg", "sum", "total",
    /* math functions */
    "acos", "acosh", "asin", "asinh", "atan", "atan2", "atanh", "ceil", "ceiling", "cos", "cosh", "degrees",
    "exp", "floor", "ln", "log", "log10", "log2", "mod", "pi", "pow", "power", "radians", "sin", "sinh",
    "sqrt", "tan", "tanh", "trunc",
    0,
};

static int vldrIsListed(const char *name, const char *const *list)
{
    if (name == 0) return 0;
    for (int i = 0; list[i]; ++i) {
        if (sqlite3_stricmp(name, list[i]) == 0) return 1;
    }
    return 0;
}

static int vldrIsReadingPragma(const char *name, const char *argument)
{
    if (vldrIsListed(name, kVldrDescribingPragmas)) return 1;
    return argument == 0 && vldrIsListed(name, kVldrReportingPragmas);
}

/*
 * The authorizer of a read-only connection. Its user data points at an int
 * that says whether BEGIN, COMMIT and savepoints are allowed too: the SQLite3
 * ODBC driver opens read transactions of its own; ours never needs one (an
 * open transaction would only hold a lock).
 */
static int vldrReadOnlyAuthorizer(void *transactionsAllowed, int action, const char *a, const char *b, const char *database,
                                  const char *trigger)
{
    (void)database;
    (void)trigger;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        /* a: unused, b: the function's name. */
        return vldrIsListed(b, kVldrAllowedFunctions) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
        return *(const int *)transactionsAllowed ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_PRAGMA:
        /* a: the PRAGMA's name, b: its argument or null. */
        return vldrIsReadingPragma(a, b) ? SQLITE_OK : SQLITE_DENY;
    default:
        return SQLITE_DENY;
    }
}

/* Bounds what one value may make the connection allocate. */
static void vldrLimitConnection(sqlite3 *db)
{
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, VLDR_MAX_VALUE_BYTES);
}

#endif
