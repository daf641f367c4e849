#include "cone_request.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <strings.h>

#include "field_limits.h"

namespace vldr {
namespace {

// Longest part of a refused value a message repeats (characters).
constexpr std::size_t kQuotedValueLength = 40;

// The value of the first pair named name in either letter case, or null.
const char* findParameter(const QueryString& query, const char* name)
{
    for (const QueryParam& pair : query.pairs)
        if (strcasecmp(pair.name.c_str(), name) == 0) return pair.value.text().c_str();
    return nullptr;
}

// The value as a message quotes it: cut, within double quotes.
std::string quoted(const char* value)
{
    std::string text(value);
    if (text.size() > kQuotedValueLength) text = text.substr(0, kQuotedValueLength) + "...";
    return "\"" + text + "\"";
}

// The plain decimal number text holds (white space around it allowed), or
// nothing: no hexadecimal, no infinity or NaN, nothing after the number.
std::optional<double> plainNumber(const char* text)
{
    for (const char* c = text; *c; ++c) {
        const bool allowed = (*c >= '0' && *c <= '9') || *c == '+' || *c == '-' || *c == '.' || *c == 'e' ||
                             *c == 'E' || *c == ' ';
        if (!allowed) return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
    while (*end == ' ') ++end;
    if (*end != '\0') return std::nullopt;
    return value;
}

// Reads the required number parameter name into value; returns the message
// for a missing or malformed one.
std::string readNumber(const QueryString& query, const char* name, const char* meaning, double& value)
{
    const char* text = findParameter(query, name);
    if (!text) return std::string("The parameter ") + name + " (" + meaning + ") is required.";
    const std::optional<double> number = plainNumber(text);
    if (!number) return std::string("The parameter ") + name + " must be a decimal number, not " + quoted(text) + ".";
    value = *number;
    return {};
}

}  // namespace

std::string readConeRequest(const QueryString& query, ConeRequest& request)
{
    struct NumberParameter {
        const char* name;
        const char* meaning;
        double low;
        double high;
        const char* range;
        double& value;
    };
    const NumberParameter numbers[] = {
        {"RA", "right ascension of the centre, ICRS degrees", 0, 360, "from 0 to 360 degrees", request.centre.ra},
        {"DEC", "declination of the centre, ICRS degrees", -90, 90, "from -90 to 90 degrees", request.centre.dec},
        {"SR", "search radius, degrees", 0, kMaxSearchRadiusDegrees,
         "from 0 to 180 degrees, this service's largest search radius", request.radius},
    };
    static_assert(kMaxSearchRadiusDegrees == 180.0, "the message above names the largest search radius");
    for (const NumberParameter& p : numbers) {
        std::string fault = readNumber(query, p.name, p.meaning, p.value);
        if (!fault.empty()) return fault;
        if (!(p.value >= p.low && p.value <= p.high))
            return std::string("The parameter ") + p.name + " must lie " + p.range + ", not " +
                   quoted(findParameter(query, p.name)) + ".";
    }

    request.verbosity = kDefaultVerbosity;
    if (const char* verb = findParameter(query, "VERB")) {
        const std::optional<double> level = plainNumber(verb);
        if (!level || (*level != 1 && *level != 2 && *level != 3))
            return "The parameter VERB must be 1, 2 or 3, not " + quoted(verb) + ".";
        request.verbosity = static_cast<int>(*level);
    }
    return {};
}

}  // namespace vldr
