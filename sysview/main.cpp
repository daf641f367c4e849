// sysview: the CGI program that shows one star system.
//
// Reads QUERY_STRING, decides which system the request names (ID=, Name=,
// or Catalog= with CatNo=), and writes the report page of that system, a
// list of the systems whose names match, a not-found page, or a plain-text
// error. Exits with 0 after a report page and with -1 otherwise. Runs as
// CGI or as a FastCGI responder (fastcgi_loop.h), with the same answers.
#include <cstdlib>
#include <memory>
#include <string>

#include "database_session.h"
#include "fastcgi_loop.h"
#include "id_not_found_page.h"
#include "match_list_page.h"
#include "no_match_page.h"
#include "output.h"
#include "plain_text_page.h"
#include "query_string.h"
#include "report_page.h"
#include "request.h"
#include "request_context.h"
#include "request_deadline.h"
#include "resolve.h"
#include "session_failure_page.h"

using namespace vldr;

namespace {

constexpr int kStatusReport = 0;
constexpr int kStatusOther = -1;

int answerIdRequest(RequestContext& context)
{
    const DatabaseSession& session = context.session;
    const Id id = context.request.id;
    if (!systemExists(session.statement(), id)) {
        // A lookup cut short by a busy data source proves nothing missing.
        if (requestStoppedQuerying()) {
            writeStoppedQueryingAnswer();
            return kStatusOther;
        }
        writeIdNotFoundPage(id);
        return kStatusOther;
    }
    writeReport(context.report, session.connection(), session.statement(), id);
    return kStatusReport;
}

int answerNameRequest(RequestContext& context)
{
    const DatabaseSession& session = context.session;
    const SqlQuoted& quoted = context.request.searchText;
    // Pages show the search text as it was quoted for the statement.
    const std::string& text = quoted.text();
    MatchTable& matches = context.matches;
    if (!findSystemsByName(session.statement(), quoted, matches)) {
        if (requestStoppedQuerying()) {
            writeStoppedQueryingAnswer();
            return kStatusOther;
        }
        writeNoMatchPage(text);
        return kStatusOther;
    }
    if (matches.count >= 2) {
        writeMatchListPage(session.statement(), matches, text);
        return kStatusOther;
    }
    if (matches.ids[0] != 0) {
        writeReport(context.report, session.connection(), session.statement(), matches.ids[0]);
        return kStatusReport;
    }
    // Never reached while matches name valid systems; still a complete answer.
    writeNoMatchPage(text);
    return kStatusOther;
}

// Answers one request (a RequestAnswer: see fastcgi_loop.h).
int answerRequest(const char* queryString, SessionKeeper& sessions)
{
    if (!queryString) {
        writePlainTextPage("This CGI program requires a query string.  None was found.");
        return kStatusOther;
    }
    const QueryString query = parseQueryString(queryString);
    RequestReading reading = readRequest(query);
    if (!reading.request) {
        writePlainTextPage(reading.message);
        return kStatusOther;
    }

    // The report's tables are large; the context lives on the heap.
    const std::unique_ptr<RequestContext> context(
        new RequestContext{.request = std::move(*reading.request), .session = sessions.session(), .matches = {}, .report = {}});
    const SessionFailure failure = sessions.open();
    if (failure != SessionFailure::None) {
        writeSessionFailurePage(context->session, failure);
        sessions.finish();
        return kStatusOther;
    }
    const int status = context->request.byId ? answerIdRequest(*context) : answerNameRequest(*context);
    sessions.finish();
    flushOutput();
    return status;
}

}  // namespace

int main()
{
    return runRequests(answerRequest);
}
