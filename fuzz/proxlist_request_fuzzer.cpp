// Fuzz target: proxlist's request reading and the heading of a point
// search, on any query string.
//
// Checks: reading writes nothing; a refused request has a one-line
// message; an accepted one has finite numbers within their ranges (radius
// at least 2 light-years and not below the inner radius, each limit's
// components in range, minimum limits not above maximum ones) and a
// heading of one line without nan or inf; no sanitizer report.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include "captured_output.h"
#include "ids.h"
#include "neighbour_request.h"
#include "point_search_page.h"
#include "program_entry.h"
#include "query_string.h"
#include "response_check.h"
#include "search_results.h"

using namespace vldr;
using namespace vldr::fuzz;

namespace {

bool allFinite(const NeighbourRequest& r)
{
    for (double value : {r.X, r.Y, r.Z, r.ly, r.minLY, r.minRASec, r.maxRASec, r.minDecSec, r.maxDecSec, r.minRA,
                         r.maxRA, r.minDec, r.maxDec}) {
        if (!std::isfinite(value)) return false;
    }
    return true;
}

bool secondsInRange(double value)
{
    return value >= 0 && value <= kLargestLimitSeconds;
}

bool componentsInRange(const NeighbourRequest& r)
{
    return kHourRange.contains(r.minRAHour) && kHourRange.contains(r.maxRAHour) &&
           kMinuteRange.contains(r.minRAMin) && kMinuteRange.contains(r.maxRAMin) &&
           kDegreeRange.contains(r.minDecDeg) && kDegreeRange.contains(r.maxDecDeg) &&
           kMinuteRange.contains(r.minDecMin) && kMinuteRange.contains(r.maxDecMin) &&
           secondsInRange(r.minRASec) && secondsInRange(r.maxRASec) && secondsInRange(r.minDecSec) &&
           secondsInRange(r.maxDecSec);
}

void checkAccepted(const NeighbourRequest& request, const std::string& query)
{
    if (!allFinite(request)) reportFault("accepted request with a non-finite number", query, "");
    if (request.ly < kSmallestRadius || request.minLY > request.ly)
        reportFault("accepted request with radii out of order", query, "");
    if (!componentsInRange(request)) reportFault("accepted request with a limit component out of range", query, "");
    if (request.minRA > request.maxRA || request.minDec > request.maxDec)
        reportFault("accepted request with limits out of order", query, "");
    if (request.systemId < 0 || request.systemId % kIdsPerSystem != 0)
        reportFault("accepted request around an ID that names no system", query, "");

    const std::string heading = captureStandardOutput([&] { printSearchHeading(request, pointText(request)); });
    if (!heading.starts_with("<CENTER><H3>Stars ") || !heading.ends_with(":</H3></CENTER>\n") ||
        heading.find('\n') != heading.size() - 1)
        reportFault("heading is not one whole line", query, heading);
    if (containsNonFiniteNumber(heading)) reportFault("nan or inf in the heading", query, heading);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string query = queryTextOf(data, size);
    const QueryString parsed = parseQueryString(query);
    NeighbourRequest request;
    const char* refusal = nullptr;
    const std::string written = captureStandardOutput([&] { refusal = readNeighbourRequest(parsed, request); });
    if (!written.empty()) reportFault("request reading wrote output", query, written);
    if (refusal) {
        if (*refusal == '\0' || std::strchr(refusal, '\n')) reportFault("refusal message is not one line", query, refusal);
    } else {
        checkAccepted(request, query);
    }
    return 0;
}
