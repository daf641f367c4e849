#include "precision.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "field_limits.h"

namespace vldr {
namespace {

// trunc(log10(|x|)) as an integer; 0 for x of 0 or for a value with no finite logarithm.
int truncatedLog10(double x)
{
    const double l = std::trunc(std::log10(std::fabs(x)));
    if (!std::isfinite(l)) return 0;
    return static_cast<int>(l);
}

// Significant digits that a relative error justifies: trunc(log10(1/e)) + 2,
// at least 1. An error so small that 1/e overflows still gets its digits,
// and an infinite one gets 1.
int significantDigits(double relativeError)
{
    const double inverse = 1 / relativeError;
    const double logarithm = std::isfinite(inverse) ? std::log10(inverse) : -std::log10(relativeError);
    const double digits = std::trunc(logarithm) + 2;
    if (!(digits >= 1)) return 1;
    return static_cast<int>(digits);
}

template <typename... Args>
std::string formatToString(const char* format, Args... args)
{
    int length = std::snprintf(nullptr, 0, format, args...);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

}  // namespace

std::string formatWithError(double value, double relativeError, const char* flags)
{
    std::string format = "%";
    if (flags) format.append(flags, strnlen(flags, kMaxFormatFlagsLength));

    if (relativeError > 0) {
        int digits = significantDigits(relativeError);
        int places = digits - (value == 0 ? 0 : truncatedLog10(value)) - 1;
        if (places < 0) places = 0;
        format += ".*f";
        return formatToString(format.c_str(), places, value);
    }
    format += "g";
    return formatToString(format.c_str(), value);
}

}  // namespace vldr
