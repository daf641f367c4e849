// When a request stops querying: at its deadline, or as soon as the data
// source has given up on a statement because it waited out a writer's lock
// or ran past the data source's time limit (sqlite_policy/vldr_statement_clock.h).
// From then on every query fails at once without reaching the data source,
// so each loader leaves its part out as after any failed query and the
// page so far is closed properly: a complete response, never a truncated
// one, within about the deadline plus one statement's limit.
//
// One process answers one request: the clock is the request's, started
// again by each DatabaseSession::open.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <chrono>

namespace vldr {

// How long a request may spend on its queries (milliseconds): a page takes
// a few milliseconds on the real data; past three seconds a visitor is
// better served by the page so far than by more waiting.
inline constexpr std::chrono::milliseconds kRequestDeadline{3000};

// Starts the request's deadline and forgets any earlier give-up.
void startRequestDeadline();

// True once the request must send no more statements: its deadline has
// passed or the data source gave up on an earlier statement. The first
// time it turns true for a request, one line on standard error says why.
bool requestStoppedQuerying();

// Reads the first diagnostic record of a failed call on handle and, when it
// says the data source gave up (a lock waited out, a statement interrupted
// at its time limit), stops the request's querying.
void noteFailedCall(SQLSMALLINT handleType, SQLHANDLE handle);

// Writes the answer to a request that stopped querying before it could
// tell whether what it names exists: one plain-text line asking to try
// again, so that a busy or slow data source never reads as "no such system".
void writeStoppedQueryingAnswer();

}  // namespace vldr
