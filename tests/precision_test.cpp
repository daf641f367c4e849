// Printing a value with the digits its relative error justifies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "precision.h"

using vldr::formatWithError;

namespace {

TEST(FormatWithError, WorkedValues)
{
    EXPECT_EQ(formatWithError(8.6, 0.0046), "8.600");
    EXPECT_EQ(formatWithError(1234.6, 0.2), "1235");
    EXPECT_EQ(formatWithError(0.0123, 0.05), "0.012");
    EXPECT_EQ(formatWithError(0, 0.05), "0.00");
    // An error of 500 allows one significant digit.
    EXPECT_EQ(formatWithError(8.6, 500), "9");
}

TEST(FormatWithError, NoUsableErrorSelectsPercentG)
{
    EXPECT_EQ(formatWithError(8.6, 0), "8.6");
    EXPECT_EQ(formatWithError(8.6, -0.1), "8.6");
    EXPECT_EQ(formatWithError(8.6, std::nan("")), "8.6");
    EXPECT_EQ(formatWithError(1234567.0, 0), "1.23457e+06");
}

TEST(FormatWithError, Flags)
{
    EXPECT_EQ(formatWithError(8.6, 0.0046, "+"), "+8.600");
    EXPECT_EQ(formatWithError(-4.2, 0, "+"), "-4.2");
    EXPECT_EQ(formatWithError(8.6, 0.0046, nullptr), "8.600");
}

TEST(FormatWithError, HugeValuesAreNotCut)
{
    // A value with hundreds of digits must come out whole, not cut at 100 bytes.
    const double value = std::ldexp(1.0, 700);  // 211 digits, exact in a double
    char expected[300];
    std::snprintf(expected, sizeof expected, "%.0f", value);
    EXPECT_EQ(std::string(formatWithError(value, 0.05)), expected);
    EXPECT_GT(std::string(expected).size(), 200u);
}

TEST(FormatWithError, NonFiniteValuesDoNotCrash)
{
    EXPECT_EQ(formatWithError(std::numeric_limits<double>::infinity(), 0.05), "inf");
    // An infinite error justifies one digit; the smallest error all its digits.
    EXPECT_EQ(formatWithError(1.5, std::numeric_limits<double>::infinity()), "2");
    char expected[400];
    std::snprintf(expected, sizeof expected, "%.*f", 324, 1.5);
    EXPECT_EQ(std::string(formatWithError(1.5, std::numeric_limits<double>::denorm_min())), expected);
}

}  // namespace
