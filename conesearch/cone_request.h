// The checked parameters of one cone search.
#pragma once

#include <string>

#include "query_string.h"
#include "sky_direction.h"

namespace vldr {

// Which columns an answer carries: 1 the fewest, 2 (the default) the usual
// ones, 3 all of them.
inline constexpr int kLeastVerbosity = 1;
inline constexpr int kDefaultVerbosity = 2;
inline constexpr int kMostVerbosity = 3;

struct ConeRequest {
    SkyDirection centre;            // RA (0 to 360) and DEC (-90 to 90), ICRS degrees
    double radius = 0;              // SR (degrees, 0 to kMaxSearchRadiusDegrees)
    int verbosity = kDefaultVerbosity;  // VERB
};

// Reads RA, DEC and SR (required) and VERB (optional) from query into
// request. Parameter names are matched in either letter case, the first
// pair of a name counting. Values must be plain decimal numbers (digits, a
// sign, a point, an exponent). Returns an empty text when the request is
// sound, else the message that tells the client what is wrong (naming the
// parameter and, cut to a few dozen characters, the value it sent);
// request is then partly filled and not to be used.
std::string readConeRequest(const QueryString& query, ConeRequest& request);

}  // namespace vldr
