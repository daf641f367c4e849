// The neighbour search's request: what QUERY_STRING asks for, checked in a
// fixed order, with the right-ascension and declination limits derived from
// their components.
#pragma once

#include <cstdint>

#include "closed_range.h"
#include "ids.h"
#include "query_string.h"

namespace vldr {

// Radius searched when the request gives no "ly" (light-years).
inline constexpr double kDefaultRadius = 15.0;
// Smallest radius a request may ask for (light-years).
inline constexpr double kSmallestRadius = 2.0;
// Largest seconds of arc or of time a limit accepts (just short of a minute).
inline constexpr double kLargestLimitSeconds = 59.999999999;
// Seconds of the default maximum limits (just short of a minute).
inline constexpr double kDefaultLimitSeconds = 59.999;

// Ranges of the whole-number limit components.
inline constexpr ClosedRange<int> kHourRange{0, 23};
inline constexpr ClosedRange<int> kMinuteRange{0, 59};
inline constexpr ClosedRange<int> kDegreeRange{-89, 89};

// Beyond these derived limits a limit counts as open and its clause is left
// out of the heading (hours; degrees). The defaults lie beyond them.
inline constexpr double kOpenMinimumRA = 0.0;
inline constexpr double kOpenMaximumRA = 23.9999997;
inline constexpr double kOpenMinimumDec = -89.9999997;
inline constexpr double kOpenMaximumDec = 89.9999997;

// One search request. The limit components are kept as given (after the
// resetting rule) because the heading prints them; the derived limits are
// what the search compares with.
struct NeighbourRequest {
    Id systemId = 0;             // the system searched around; 0 for a search around a point
    double X = 0, Y = 0, Z = 0;  // centre of a search around a point (galactic, light-years)
    double ly = kDefaultRadius;  // radius (light-years)
    double minLY = 0;            // inner radius (light-years)

    int minRAHour = kHourRange.first, minRAMin = kMinuteRange.first;
    double minRASec = 0;
    int maxRAHour = kHourRange.last, maxRAMin = kMinuteRange.last;
    double maxRASec = kDefaultLimitSeconds;
    int minDecDeg = kDegreeRange.first, minDecMin = kMinuteRange.last;
    double minDecSec = kDefaultLimitSeconds;
    int maxDecDeg = kDegreeRange.last, maxDecMin = kMinuteRange.last;
    double maxDecSec = kDefaultLimitSeconds;

    // Derived limits: right ascension in hours, declination in degrees.
    double minRA = 0, maxRA = 0;
    double minDec = 0, maxDec = 0;
};

// The combined value of a right-ascension limit (hours) from its hours,
// minutes and seconds.
double rightAscensionLimit(int hours, int minutes, double seconds);

// The combined value of a declination limit (degrees) from its degrees,
// arcminutes and arcseconds; the minutes and seconds take the sign of the
// degrees, so 0 degrees counts as north.
double declinationLimit(int degrees, int arcminutes, double arcseconds);

// Reads the request from query into request, checking each parameter in
// the fixed order, and derives the limits. Writes nothing.
// Returns null when every check passed, else the message of the first
// check that failed (request then partly filled and not to be used).
// Numbers are read as atol/atoi/atof read them, except that digits beyond
// the range of an int make that component out of range, and a decimal
// beyond the range of a double is held at the largest double.
const char* readNeighbourRequest(const QueryString& query, NeighbourRequest& request);

// True when the request searches around a named system.
inline bool searchesAroundSystem(const NeighbourRequest& request)
{
    return request.systemId != 0;
}

}  // namespace vldr
