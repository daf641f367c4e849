// Printing of a measured value with the digits its relative error justifies.
#pragma once

namespace vldr {

// Formats value with as many significant digits as relativeError (a
// fraction) justifies: n = trunc(log10(1/relativeError)) + 2 digits (at
// least 1), written in fixed notation. A relativeError of 0, below 0 or not
// a number selects "%g". flags (may be null, at most 15 characters) go right
// after the '%'. With out null the text lies in one program-wide buffer that
// the next call overwrites; print each result before formatting the next.
// Otherwise out must hold 100 bytes; a longer text is cut to fit.
const char* formatWithError(double value, double relativeError, const char* flags = nullptr,
                            char* out = nullptr);

}  // namespace vldr
