// Fuzz target: proxlist's requests against a hostile database built from each
// input (hostile_database.h), through the real ODBC stack; every response
// must be complete and well-formed.
#include <cstddef>
#include <cstdint>

#include "hostile_database.h"
#include "program_entry.h"
#include "whole_request.h"

using namespace vldr::fuzz;

namespace {
const Program kProgram{runProxlist, false};
// The requests each database is asked.
const char* const kQueries[] = {"ID=100&ly=100000", "ly=100000"};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    prepareHostileDataSource("proxlist_database_fuzzer");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    buildHostileDatabase(data, size);
    for (const char* query : kQueries) runRequest(kProgram, query);
    return 0;
}
