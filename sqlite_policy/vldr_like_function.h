/*
 * LIKE for windows-1252 text. SQLite's own LIKE reads text as UTF-8, so
 * every lone windows-1252 letter (bytes C0..FF) decodes to the same
 * replacement character and "ö" matched "É"; a byte 80..BF after such a
 * letter was even swallowed into it. This LIKE compares bytes: "%" matches
 * any run of bytes, "_" exactly one byte (one windows-1252 character), and
 * letters match without regard to case, the windows-1252 letters as well as
 * A..Z. NULL operands give NULL; a pattern longer than the connection's
 * LIKE pattern limit is an error, as with SQLite's own.
 *
 * Shared by the SQLite extension (db/vldr_sqlite_ext.c) and the VLDR ODBC
 * driver (driver/), so that both speak exactly the same dialect. Include
 * after <sqlite3.h> (or <sqlite3ext.h> in an extension).
 */
#ifndef VLDR_LIKE_FUNCTION_H
#define VLDR_LIKE_FUNCTION_H

/* The windows-1252 byte c in lower case: A..Z, the letters C0..DE (but the
 * multiplication sign D7) and the capitals S, OE and Z with caron and Y
 * with diaeresis (8A, 8C, 8E, 9F); any other byte is itself. */
static unsigned vldrLowerWindows1252(unsigned c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;
    if (c == 0x9F) return 0xFF;
    return c;
}

/* True when text matches pattern; escape is the escape byte, or -1. One
 * backtracking point (the last "%") suffices, so the work is at most the
 * product of the two lengths. */
static int vldrLikeMatches(const unsigned char *pattern, const unsigned char *text, int escape)
{
    const unsigned char *resumePattern = 0; /* just past the last "%" */
    const unsigned char *resumeText = 0;    /* where that "%" matched up to */
    for (;;) {
        if (*pattern == '%' && (int)'%' != escape) {
            while (*pattern == '%') ++pattern;
            if (*pattern == 0) return 1;
            resumePattern = pattern;
            resumeText = text;
            continue;
        }
        if (*text == 0) break;
        unsigned wanted = *pattern;
        int isLiteral = 0;
        const unsigned char *next = pattern + 1;
        if (escape >= 0 && wanted == (unsigned)escape && pattern[1] != 0) {
            wanted = pattern[1];
            isLiteral = 1;
            next = pattern + 2;
        }
        if (wanted != 0 && ((wanted == '_' && !isLiteral) || vldrLowerWindows1252(wanted) == vldrLowerWindows1252(*text))) {
            pattern = next;
            ++text;
            continue;
        }
        if (!resumePattern) return 0;
        pattern = resumePattern;
        text = ++resumeText;
    }
    while (*pattern == '%' && (int)'%' != escape) ++pattern;
    return *pattern == 0;
}

/* like(pattern, text) and like(pattern, text, escape): what "text LIKE
 * pattern [ESCAPE escape]" computes. */
static void vldrLikeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    int escape = -1;
    if (argc == 3) {
        const unsigned char *escapeText = sqlite3_value_text(argv[2]);
        if (!escapeText) return; /* NULL */
        if (sqlite3_value_bytes(argv[2]) != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = escapeText[0];
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) return;
    const unsigned char *pattern = sqlite3_value_text(argv[0]);
    int patternBytes = sqlite3_value_bytes(argv[0]);
    const unsigned char *text = sqlite3_value_text(argv[1]);
    if (!pattern || !text) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (patternBytes > sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) {
        sqlite3_result_error(ctx, "LIKE or GLOB pattern too complex", -1);
        return;
    }
    sqlite3_result_int(ctx, vldrLikeMatches(pattern, text, escape));
}

/* Registers both forms of LIKE on a connection (deterministic and harmless). */
static int vldrRegisterLikeFunction(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_function(db, "like", 2, flags, 0, vldrLikeFunction, 0, 0);
    if (rc == SQLITE_OK) rc = sqlite3_create_function(db, "like", 3, flags, 0, vldrLikeFunction, 0, 0);
    return rc;
}

#endif
