#include "neighbour_request.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "constants.h"
#include "ids.h"

namespace vldr {
namespace {

// How one limit (minimum or maximum, RA or Dec) is read: the keys of its
// three components, the range of the whole part and the message for each
// component out of range.
struct LimitKeys {
    const char* wholeKey;
    ClosedRange<int> wholeRange;
    const char* wholeMessage;
    const char* minutesKey;
    const char* minutesMessage;
    const char* secondsKey;
    const char* secondsMessage;
};

constexpr LimitKeys kMinimumRAKeys = {
    "minRAHour", kHourRange, "Minimum right ascension hours must be between 0 and 23 inclusive.",
    "minRAMin", "Minimum right ascension minutes must be between 0 and 59 inclusive.",
    "minRASec", "Minimum right ascension seconds must be >= 0 and < 60.",
};
constexpr LimitKeys kMaximumRAKeys = {
    "maxRAHour", kHourRange, "Maximum right ascension hours must be between 0 and 23 inclusive.",
    "maxRAMin", "Maximum right ascension minutes must be between 0 and 59 inclusive.",
    "maxRASec", "Maximum right ascension seconds must be >= 0 and < 60.",
};
constexpr LimitKeys kMinimumDecKeys = {
    "minDecDeg", kDegreeRange, "Minimum declination degrees must be between -89 and +89 inclusive.",
    "minDecMin", "Minimum declination minutes must be between 0 and 59 inclusive.",
    "minDecSec", "Minimum declination seconds must be >= 0 and < 60",
};
// The misspelt "Maxmimum" is the message as this program has always sent it.
constexpr LimitKeys kMaximumDecKeys = {
    "maxDecDeg", kDegreeRange, "Maxmimum declination degrees must be between -89 and +89 inclusive.",
    "maxDecMin", "Maximum declination minutes must be between 0 and 59 inclusive.",
    "maxDecSec", "Maximum declination seconds must be >= 0 and < 60",
};

// A value that is there and not empty.
bool isGiven(const char* value)
{
    return value && *value != '\0';
}

// Reads a decimal number as atof does: leading white space, an optional
// sign, digits with an optional decimal point and exponent, up to the first
// character that does not fit; text without digits gives 0. Words such as
// "inf" or "nan" and hexadecimal forms are not numbers here (they give 0),
// and a value beyond the range of a double is held at the largest double,
// so that every result is finite.
double toDecimal(const char* text)
{
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    bool hasDigits = false;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p, hasDigits = true;
    if (*p == '.') {
        ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) ++p, hasDigits = true;
    }
    if (!hasDigits) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (std::isdigit(static_cast<unsigned char>(*exponent))) {
            p = exponent;
            while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
        }
    }
    const std::string number(start, p);
    const double value = std::strtod(number.c_str(), nullptr);
    if (std::isinf(value)) return value < 0 ? -DBL_MAX : DBL_MAX;
    return value;
}

// Reads a whole number as atoi does, into value. Returns false when the
// number lies outside range; digits beyond the range of an int count as
// outside.
bool readWhole(const char* text, ClosedRange<int> range, int& value)
{
    const std::optional<std::int32_t> converted = toInt32(text);
    if (!converted || !range.contains(*converted)) return false;
    value = *converted;
    return true;
}

// Reads the three components of one limit that query gives, with the
// resetting rule: a whole part resets minutes and seconds to 0, minutes
// reset the seconds. Returns the message of the first component out of
// range, or null.
const char* readLimit(const QueryString& query, const LimitKeys& keys, int& whole, int& minutes, double& seconds)
{
    if (const char* text = getQueryValue(query, keys.wholeKey)) {
        if (!readWhole(text, keys.wholeRange, whole)) return keys.wholeMessage;
        minutes = 0;
        seconds = 0;
    }
    if (const char* text = getQueryValue(query, keys.minutesKey)) {
        if (!readWhole(text, kMinuteRange, minutes)) return keys.minutesMessage;
        seconds = 0;
    }
    if (const char* text = getQueryValue(query, keys.secondsKey)) {
        const double value = toDecimal(text);
        if (value < 0 || value > kLargestLimitSeconds) return keys.secondsMessage;
        seconds = value;
    }
    return nullptr;
}

// Reads the centre of the request from query: a valid "ID" names the system searched
// around; without one, X, Y and Z are read in sequence, each only when the
// one before it was given. Returns the message for an invalid ID, or null.
const char* readCentre(const QueryString& query, NeighbourRequest& request)
{
    const char* idText = getQueryValue(query, "ID");
    if (isGiven(idText)) {
        const std::optional<Id> id = toInt32(idText);
        if (!id || !isSystemId(*id))
            return "Invalid \"ID=###\" clause.  Must be a multiple of 100 greater than 0.";
        request.systemId = *id;
        return nullptr;
    }
    const char* x = getQueryValue(query, "X");
    if (!isGiven(x)) return nullptr;
    request.X = toDecimal(x);
    const char* y = getQueryValue(query, "Y");
    if (!isGiven(y)) return nullptr;
    request.Y = toDecimal(y);
    const char* z = getQueryValue(query, "Z");
    if (isGiven(z)) request.Z = toDecimal(z);
    return nullptr;
}

// Reads the radius and the inner radius from query. Returns the message of the first
// that is out of range, or null.
const char* readRadii(const QueryString& query, NeighbourRequest& request)
{
    if (const char* text = getQueryValue(query, "ly")) {
        request.ly = toDecimal(text);
        if (request.ly < kSmallestRadius) return "Search radius must be at least 2 light-years.";
    }
    if (const char* text = getQueryValue(query, "minLY")) {
        request.minLY = toDecimal(text);
        if (request.minLY > request.ly)
            return "Minimum search radius cannot be greater than maximum search radius.";
    }
    return nullptr;
}

}  // namespace

double rightAscensionLimit(int hours, int minutes, double seconds)
{
    return hours + minutes * kPartsPerMinute + seconds * kPartsPerSecond;
}

double declinationLimit(int degrees, int arcminutes, double arcseconds)
{
    const double sign = degrees < 0 ? -1.0 : 1.0;
    return degrees + sign * arcminutes * kPartsPerMinute + sign * arcseconds * kPartsPerSecond;
}

const char* readNeighbourRequest(const QueryString& query, NeighbourRequest& request)
{
    if (const char* fault = readCentre(query, request)) return fault;
    if (const char* fault = readRadii(query, request)) return fault;

    if (const char* fault = readLimit(query, kMinimumRAKeys, request.minRAHour, request.minRAMin, request.minRASec))
        return fault;
    request.minRA = rightAscensionLimit(request.minRAHour, request.minRAMin, request.minRASec);
    if (const char* fault = readLimit(query, kMaximumRAKeys, request.maxRAHour, request.maxRAMin, request.maxRASec))
        return fault;
    request.maxRA = rightAscensionLimit(request.maxRAHour, request.maxRAMin, request.maxRASec);
    if (request.minRA > request.maxRA)
        return "Minimum right ascension cannot be greater than maximum right ascension.";

    if (const char* fault = readLimit(query, kMinimumDecKeys, request.minDecDeg, request.minDecMin, request.minDecSec))
        return fault;
    request.minDec = declinationLimit(request.minDecDeg, request.minDecMin, request.minDecSec);
    if (const char* fault = readLimit(query, kMaximumDecKeys, request.maxDecDeg, request.maxDecMin, request.maxDecSec))
        return fault;
    request.maxDec = declinationLimit(request.maxDecDeg, request.maxDecMin, request.maxDecSec);
    if (request.minDec > request.maxDec) return "Minimum declination cannot be greater than maximum declination.";
    return nullptr;
}

}  // namespace vldr
