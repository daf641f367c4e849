// Printing of a measured value with the digits its relative error justifies.
#pragma once

#include <string>

namespace vldr {

// Formats value with as many significant digits as relativeError (a
// fraction) justifies: n = trunc(log10(1/relativeError)) + 2 digits (at
// least 1), written in fixed notation. A relativeError of 0, below 0 or not
// a number selects "%g". flags (may be null; the first kMaxFormatFlagsLength
// characters count) go right after the '%'. Returns the whole text, however
// long; the caller owns it.
std::string formatWithError(double value, double relativeError, const char* flags = nullptr);

}  // namespace vldr
