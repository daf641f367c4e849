#include "request_deadline.h"

#include <string>

#include "error_log.h"
#include "output.h"

namespace vldr {
namespace {

using Clock = std::chrono::steady_clock;

// SQLite's result codes (the low byte of a native error both data sources
// pass on) for a statement given up: the database stayed busy or locked,
// or the statement was interrupted.
constexpr SQLINTEGER kSqliteBusy = 5;
constexpr SQLINTEGER kSqliteLocked = 6;
constexpr SQLINTEGER kSqliteInterrupt = 9;

// The request's state, reset by startRequestDeadline.
struct QueryClock {
    Clock::time_point deadline = Clock::now() + kRequestDeadline;
    bool gaveUp = false;    // the data source gave up on a statement
    bool stopped = false;   // the request has stopped querying (and said so)
};

QueryClock& queryClock()
{
    static QueryClock clock;
    return clock;
}

bool isGivenUp(const std::string& state, SQLINTEGER nativeError)
{
    const SQLINTEGER code = nativeError & 0xFF;
    if (code == kSqliteBusy || code == kSqliteLocked || code == kSqliteInterrupt) return true;
    // Time-outs and cancellations, in ODBC 3 and ODBC 2 spelling.
    return state == "HYT00" || state == "HYT01" || state == "S1T00" || state == "HY008" || state == "S1008";
}

void sayStopped(const char* why)
{
    logNote(std::string("no further queries for this request: ") + why);
}

}  // namespace

void startRequestDeadline()
{
    queryClock() = QueryClock{};
}

bool requestStoppedQuerying()
{
    QueryClock& clock = queryClock();
    if (clock.stopped) return true;
    if (clock.gaveUp) {
        sayStopped("the data source gave up on a statement");
    } else if (Clock::now() >= clock.deadline) {
        sayStopped("the request's deadline has passed");
    } else {
        return false;
    }
    clock.stopped = true;
    return true;
}

void noteFailedCall(SQLSMALLINT handleType, SQLHANDLE handle)
{
    const std::optional<DiagnosticRecord> diagnostic = firstDiagnosticRecord(handleType, handle);
    if (diagnostic && isGivenUp(diagnostic->state, diagnostic->nativeError)) queryClock().gaveUp = true;
}

void writeStoppedQueryingAnswer()
{
    writePlainTextHeader();
    writeLine("Internal error: the database did not answer in time.  Please try again.");
}

}  // namespace vldr
