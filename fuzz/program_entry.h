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

// Runs sysview's request reading on query, and writes its plain-text
// answer when it refuses, as the entry does.
SysviewRequestOutcome readSysviewRequest(const QueryString& query);

// proxlist's main: reads QUERY_STRING and writes one response; returns the exit status.
int runProxlist();

}  // namespace vldr::fuzz
