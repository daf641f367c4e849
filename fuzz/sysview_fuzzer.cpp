// Fuzz target: a whole sysview request, from QUERY_STRING through the real
// ODBC stack to the last byte of the response, against the fixture database.
//
// The program runs in this process, so that the fuzzer sees the coverage
// of every input. Nothing of a request outlives it (its query and request
// context are the entry's own), so each run starts as a fresh process would.
#include <cstddef>
#include <cstdint>

#include "program_entry.h"
#include "whole_request.h"

using namespace vldr::fuzz;

namespace {
const Program kProgram{runSysview, true};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    requireWorkingDataSource(kProgram, "sysview_fuzzer");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    runWholeRequest(kProgram, data, size);
    return 0;
}
