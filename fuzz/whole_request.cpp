#include "whole_request.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "captured_output.h"
#include "response_check.h"

namespace vldr::fuzz {
namespace {

constexpr int kStatusServed = 0;
constexpr int kStatusFailed = -1;

// A request every fixture database built from the catalogues serves: the Sun.
constexpr const char* kProbeQuery = "ID=100";

}  // namespace

void requireWorkingDataSource(const Program& program, const char* targetName)
{
    if (!std::getenv("ODBCSYSINI") || !std::getenv("ODBCINI")) {
        std::fprintf(stderr,
                     "%s: set ODBCSYSINI and ODBCINI to the configuration of a fixture database "
                     "(scripts/fuzz does)\n",
                     targetName);
        std::exit(2);
    }
    setenv("QUERY_STRING", kProbeQuery, 1);
    int status = 0;
    const std::string response = captureStandardOutput([&] { status = program.run(); });
    if (status == kStatusServed && response.starts_with(kHtmlHeader) && response.ends_with(kHtmlEnd)) return;
    std::fprintf(stderr, "%s: the data source does not serve \"%s\" (exit status %d):\n%s\n", targetName,
                 kProbeQuery, status, response.c_str());
    std::exit(2);
}

void runWholeRequest(const Program& program, const std::uint8_t* data, std::size_t size)
{
    runRequest(program, queryTextOf(data, size));
}

void runRequest(const Program& program, const std::string& query)
{
    setenv("QUERY_STRING", query.c_str(), 1);
    int status = 0;
    const std::string response = captureStandardOutput([&] { status = program.run(); });

    const std::string fault = responseFault(response, query, program.hasMatchList);
    if (!fault.empty()) reportFault(fault, query, response);
    if (status != kStatusServed && status != kStatusFailed)
        reportFault("exit status " + std::to_string(status), query, response);
    if (status == kStatusServed && !response.starts_with(kHtmlHeader))
        reportFault("exit status 0 without an HTML page", query, response);
}

}  // namespace vldr::fuzz
