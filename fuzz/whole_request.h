// One whole request of a program, run in the fuzz process against the
// fixture database and checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vldr::fuzz {

// What one program offers the whole-request target.
struct Program {
    int (*run)();            // the program's main
    bool hasMatchList;       // true for sysview, whose match list ends after its last link
};

// Stops the process with a message unless ODBCSYSINI and ODBCINI name a
// data-source configuration (scripts/fuzz writes one for the fixture
// database) through which the program answers "ID=100" (the Sun) with a
// page and exit status 0: a data source that fails would otherwise answer
// every input with a complete failure response, and the fuzzing pass.
void requireWorkingDataSource(const Program& program, const char* targetName);

// Sets QUERY_STRING from the input (up to its first byte 0), runs the
// program with standard output caught, and stops the process with a report
// unless the response is complete and well-formed and the exit status is 0
// after an HTML page only, or -1.
void runWholeRequest(const Program& program, const std::uint8_t* data, std::size_t size);

// runWholeRequest with the query text given.
void runRequest(const Program& program, const std::string& query);

}  // namespace vldr::fuzz
