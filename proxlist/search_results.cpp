#include "search_results.h"

#include "field_limits.h"
#include "output.h"

namespace vldr {
namespace {

// Writes the right-ascension and declination clauses of a heading, each
// only when its limit is not open: ", with Right Ascensions between ..."
// and ", with (or and) Declinations between ...".
void printLimitClauses(const NeighbourRequest& request)
{
    const bool limitsRA = request.minRA > kOpenMinimumRA || request.maxRA < kOpenMaximumRA;
    if (limitsRA) {
        writeFormatted(", with Right Ascensions between %dh%dm%gs and %dh%dm%gs", request.minRAHour, request.minRAMin,
                       request.minRASec, request.maxRAHour, request.maxRAMin, request.maxRASec);
    }
    if (request.minDec > kOpenMinimumDec || request.maxDec < kOpenMaximumDec) {
        writeFormatted(", %s Declinations between %+d&deg;%d'%g\" and %+d&deg;%d'%g\"", limitsRA ? "and" : "with",
                       request.minDecDeg, request.minDecMin, request.minDecSec, request.maxDecDeg, request.maxDecMin,
                       request.maxDecSec);
    }
}

// Writes one result line: link with display name, distance, and the class
// of the system's first component when it has a spectral class.
void printResultLine(const ResultLine& line)
{
    writeFormatted("<BR><A HREF=\"sysview.exe?ID=%d\">%s</A>: %g light-years", static_cast<int>(line.systemId),
                   line.name.c_str(), line.distance);
    if (line.hasSpectralClass)
        writeFormatted(", class %s %s", line.spectralClass.c_str(), line.luminosityClass.c_str());
    writeFormatted("\n");
}

}  // namespace

void printSearchHeading(const NeighbourRequest& request, const std::string& centre)
{
    if (request.minLY > 0) {
        writeFormatted("<CENTER><H3>Stars between %g and %g light-years from %s", request.minLY, request.ly,
                       centre.c_str());
    } else {
        writeFormatted("<CENTER><H3>Stars within %g light-years of %s", request.ly, centre.c_str());
    }
    printLimitClauses(request);
    writeFormatted(":</H3></CENTER>\n");
}

void printSearchResults(const SearchResults& results)
{
    if (!results.searched) {
        writeLine("<BR>Internal error: Database query failed.");
        return;
    }
    if (results.found > static_cast<long>(kMaxShownNeighbours)) {
        writeFormatted("<BR>%ld stars were found.&nbsp; Only the nearest %d will be displayed.\n<BR>\n", results.found,
                       static_cast<int>(kMaxShownNeighbours));
    }
    if (results.lines.empty()) {
        writeLine("<BR>No neighboring stars were found in the Valdora.");
        return;
    }
    for (const ResultLine& line : results.lines) printResultLine(line);
}

}  // namespace vldr
