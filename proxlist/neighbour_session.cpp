#include "neighbour_session.h"

#include "not_found_page.h"
#include "output.h"
#include "plain_text_answers.h"
#include "request_deadline.h"

namespace vldr {
namespace {

constexpr int kStatusDone = 0;
constexpr int kStatusFailed = -1;

}  // namespace

int serveNeighbourRequest(SessionKeeper& sessions, Id systemId,
                          const std::function<bool(SQLHSTMT)>& writePage)
{
    const SessionFailure failure = sessions.open();
    if (failure == SessionFailure::Connect) {
        // A failed connection is a failed request, whatever the page says.
        writeFailedConnectionAnswer(sessions.session());
        sessions.finish();
        flushOutput();
        return kStatusFailed;
    }
    // A session whose handles could not be allocated serves nothing.
    const bool served = failure == SessionFailure::None && writePage(sessions.session().statement());
    sessions.finish();
    // A lookup cut short by a busy data source proves nothing missing.
    if (!served && requestStoppedQuerying()) {
        writeStoppedQueryingAnswer();
    } else if (!served) {
        writeNotFoundPage(systemId);
    }
    flushOutput();
    return served ? kStatusDone : kStatusFailed;
}

int refuseNeighbourRequest(const char* fault)
{
    if (fault) {
        writeRefusalAnswer(fault);
    } else {
        writeMissingQueryAnswer();
    }
    flushOutput();
    return kStatusFailed;
}

}  // namespace vldr
