// sysview's main.cpp compiled into the fuzz targets: its main becomes
// runSysview; its request reading is readRequest (request.h).
#include <cstdlib>
#include <optional>
#include <string>

#include "database_session.h"
#include "output.h"
#include "plain_text_page.h"
#include "query_string.h"
#include "request.h"

#define main sysviewMain
#include "../sysview/main.cpp"
#undef main

#include "program_entry.h"

namespace vldr::fuzz {

int runSysview()
{
    return sysviewMain();
}

SysviewRequestOutcome readSysviewRequest(const QueryString& query)
{
    SysviewRequestOutcome outcome;
    // As the entry does: a refused request is answered with its message.
    const RequestReading reading = readRequest(query);
    if (!reading.request) {
        writePlainTextPage(reading.message);
        return outcome;
    }
    const Request& request = *reading.request;
    outcome.accepted = true;
    outcome.byId = request.byId;
    outcome.id = request.id;
    outcome.searchText = request.searchText.text();
    return outcome;
}

}  // namespace vldr::fuzz
