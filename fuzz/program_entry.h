// The two programs' entry points and request checks, callable in the fuzz
// process. Each program's main.cpp is compiled into the fuzz targets with
// its main renamed (see sysview_entry.cpp, proxlist_entry.cpp), so the
// fuzzers run exactly the code the programs run, without a change to it.
#pragma once

#include <string>

#include "query_string.h"

namespace vldr::fuzz {

// sysview's main: reads QUERY_STRING and writes one response; returns the exit status.
int runSysview();

// What sysview's request reading decided.
struct SysviewRequestOutcome {
    bool accepted = false;   // false: a plain-text answer was written
    bool byId = false;
    long id = 0;
    std::string searchText;  // for a name or catalogue search
};

// Runs sysview's request reading on query.
SysviewRequestOutcome readSysviewRequest(const QueryString& query);

// Empties every program-wide table a sysview request fills (the match
// table, the report, the catalogue names), so that the
// next in-process run starts as a fresh process would.
void resetSysviewState();

// proxlist's main: reads QUERY_STRING and writes one response; returns the exit status.
int runProxlist();

// Empties every program-wide table a proxlist request fills (the catalogue
// names). The rest of a request's state lives in its RequestContext.
void resetProxlistState();

}  // namespace vldr::fuzz
