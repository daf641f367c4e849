// sysview's main.cpp compiled into the fuzz targets: its main becomes
// runSysview, and its request reading (in the file's unnamed namespace) is
// reachable from this translation unit only.
#include <cstdlib>
#include <optional>
#include <string>

#include "catalog.h"
#include "database_session.h"
#include "output.h"
#include "query_string.h"
#include "report.h"
#include "report_driver.h"
#include "resolve.h"

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
    const std::optional<Request> request = readRequest(query);
    if (!request) return outcome;
    outcome.accepted = true;
    outcome.byId = request->byId;
    outcome.id = request->id;
    outcome.searchText = request->searchText;
    return outcome;
}

void resetSysviewState()
{
    matchTable() = MatchTable{};
    report() = Report{};
    freeCatalogNames();
}

}  // namespace vldr::fuzz
