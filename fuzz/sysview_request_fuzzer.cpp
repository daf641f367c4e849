// Fuzz target: sysview's request reading, on any query string.
//
// Checks: a refused request is answered by one complete plain-text
// response; an accepted one writes nothing yet and names either a positive
// multiple of 100 or a non-empty search text whose single quotes all come
// doubled (so that it stays one SQL literal); no sanitizer report.
#include <cstddef>
#include <cstdint>
#include <string>

#include "captured_output.h"
#include "literal_check.h"
#include "program_entry.h"
#include "query_string.h"
#include "response_check.h"

using namespace vldr;
using namespace vldr::fuzz;

namespace {

void checkAccepted(const SysviewRequestOutcome& outcome, const std::string& query, const std::string& written)
{
    if (!written.empty()) reportFault("an accepted request already wrote output", query, written);
    if (outcome.byId) {
        if (outcome.id <= 0 || outcome.id % 100 != 0) reportFault("accepted an ID that names no system", query, "");
        return;
    }
    if (outcome.searchText.empty()) reportFault("accepted an empty search text", query, "");
    if (!quotesAreDoubled(outcome.searchText))
        reportFault("search text with a lone quote: " + outcome.searchText, query, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string query = queryTextOf(data, size);
    const QueryString parsed = parseQueryString(query);
    SysviewRequestOutcome outcome;
    const std::string written = captureStandardOutput([&] { outcome = readSysviewRequest(parsed); });
    if (outcome.accepted) {
        checkAccepted(outcome, query, written);
    } else {
        if (!written.starts_with(kPlainTextHeader)) reportFault("a refused request without a plain-text answer", query, written);
        const std::string fault = responseFault(written, query, false);
        if (!fault.empty()) reportFault(fault, query, written);
    }
    return 0;
}
