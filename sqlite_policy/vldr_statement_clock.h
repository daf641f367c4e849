/*
 * One time limit per statement for waiting and running alike: a statement
 * that has waited for a writer's lock, or run, longer than its connection's
 * limit since it started fails at once ("database is locked" after the
 * wait, "interrupted" while it runs), so that no lock and no slow statement
 * holds a request for long. The programs stop querying after the first such
 * failure (common/request_deadline.h).
 *
 * Shared by the SQLite extension (db/vldr_sqlite_ext.c) and the VLDR ODBC
 * driver (driver/). Include after <sqlite3.h> (or <sqlite3ext.h> in an
 * extension), <stdlib.h> and <time.h>.
 */
#ifndef VLDR_STATEMENT_CLOCK_H
#define VLDR_STATEMENT_CLOCK_H

/* The time limit of one statement (milliseconds): the VLDR statements each
 * take well under a millisecond, and a writer's transaction on this data
 * set commits in far less; two seconds is what a visitor may wait. */
#define VLDR_STATEMENT_LIMIT_MS 2000

/* Virtual-machine steps between two looks at the clock: about one row of a
 * scan, so that a scan whose rows each take milliseconds (a LIKE over long
 * names) stops within milliseconds of its limit; a look (tens of
 * nanoseconds) is little beside what a driver does for each row. */
#define VLDR_CLOCK_CHECK_STEPS 10

/* Milliseconds slept between two tries at a writer's lock. */
#define VLDR_BUSY_RETRY_MS 5

/* An environment variable that may shorten (never lengthen) the limit, for
 * tests that must not wait seconds for each lock. */
#define VLDR_STATEMENT_LIMIT_VARIABLE "VLDR_STATEMENT_LIMIT_MS"

typedef struct VldrStatementClock {
    long long limitMs;      /* the connection's limit */
    long long startedMs;    /* when the running statement started; 0: none runs */
    long long waitStartMs;  /* when the current wait for a lock started */
} VldrStatementClock;

/* A monotonic clock (milliseconds), coarse. */
static long long vldrNowMs(void)
{
    struct timespec now;
    /* The coarse clock (a few milliseconds fine, against limits of
     * hundreds) is read without the time-stamp counter: looked at every few
     * steps, the precise one cost several percent of a page. */
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

/* The limit for a connection whose data source asks for limitMs: shortened
 * by the environment variable when it holds a smaller positive number. */
static long long vldrStatementLimit(long long limitMs)
{
    const char *text = getenv(VLDR_STATEMENT_LIMIT_VARIABLE);
    if (text == 0 || *text == '\0') return limitMs;
    char *end = 0;
    const long long shorter = strtoll(text, &end, 10);
    return *end == '\0' && shorter > 0 && shorter < limitMs ? shorter : limitMs;
}

/* Whether the clock's statement (or, before it started, the wait since
 * waitStartMs) has used up the limit. */
static int vldrLimitPassed(const VldrStatementClock *clock, long long since)
{
    return vldrNowMs() - since >= clock->limitMs;
}

/* Progress handler: interrupts a statement that has run past the limit. */
static int vldrStatementProgress(void *context)
{
    const VldrStatementClock *clock = (const VldrStatementClock *)context;
    return clock->startedMs != 0 && vldrLimitPassed(clock, clock->startedMs);
}

/* Busy handler: retries a writer's lock every few milliseconds until the
 * statement (or, while it is being prepared, this wait) reaches the limit. */
static int vldrStatementBusy(void *context, int tries)
{
    VldrStatementClock *clock = (VldrStatementClock *)context;
    if (tries == 0) clock->waitStartMs = vldrNowMs();
    const long long since = clock->startedMs != 0 ? clock->startedMs : clock->waitStartMs;
    if (vldrLimitPassed(clock, since)) return 0;
    sqlite3_sleep(VLDR_BUSY_RETRY_MS);
    return 1;
}

/* Statement trace: a statement starts (its first step) and ends; the
 * connection closes. */
static int vldrStatementTrace(unsigned event, void *context, void *statement, void *detail)
{
    (void)statement;
    (void)detail;
    VldrStatementClock *clock = (VldrStatementClock *)context;
    if (event == SQLITE_TRACE_STMT) clock->startedMs = vldrNowMs();
    if (event == SQLITE_TRACE_PROFILE) clock->startedMs = 0;
    if (event == SQLITE_TRACE_CLOSE) sqlite3_free(clock);
    return 0;
}

/* Gives db the statement time limit limitMs (milliseconds; shortened by
 * VLDR_STATEMENT_LIMIT_VARIABLE): a progress handler, a busy handler and a
 * statement trace that share one clock, freed when db closes. Returns
 * SQLITE_OK or SQLite's result code. */
static int vldrInstallStatementClock(sqlite3 *db, long long limitMs)
{
    VldrStatementClock *clock = (VldrStatementClock *)sqlite3_malloc(sizeof *clock);
    if (clock == 0) return SQLITE_NOMEM;
    clock->limitMs = vldrStatementLimit(limitMs);
    clock->startedMs = 0;
    clock->waitStartMs = 0;
    const int rc = sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE | SQLITE_TRACE_CLOSE,
                                    vldrStatementTrace, clock);
    if (rc != SQLITE_OK) {
        sqlite3_free(clock);
        return rc;
    }
    sqlite3_progress_handler(db, VLDR_CLOCK_CHECK_STEPS, vldrStatementProgress, clock);
    return sqlite3_busy_handler(db, vldrStatementBusy, clock);
}

#endif
