// The variable-star type table: its first and last rows, the texts with
// odd blanks or spelling the pages keep, and codes that match no row.
#include <gtest/gtest.h>

#include <string>

#include "variable_types.h"

using namespace vldr;

namespace {

// The name and class of a code, or "-" for an unknown code.
std::string described(const char* code)
{
    const char* generalClass = nullptr;
    const char* name = describeVariableType(code, generalClass);
    if (name == nullptr) return "-";
    return std::string(name) + " | " + (generalClass ? generalClass : "(null)");
}

TEST(VariableTypes, FirstLastAndTheTextsThatLookLikeSlips)
{
    // The first and the last row of the table.
    EXPECT_EQ(described("ACV"), "Alpha(2) Canum Venaticorum | rotating variable");
    EXPECT_EQ(described("ZZA"), "Hydrogen ZZ Ceti | pulsating variable");
    // Texts the pages have always shown, blanks and all.
    EXPECT_EQ(described("FKC"), "FK Comae Berenices  | rotating variable");
    EXPECT_EQ(described("IS"), "irregular |  eruptive variable");
    EXPECT_EQ(described("UGS"), "SS Cygni | cataclysmicvariable");
    EXPECT_EQ(described("CST"), "constant star | formally believed variable by some observer");
    // Two codes may share a name; the one-letter codes are whole codes.
    EXPECT_EQ(described("NB"), "slow nova | cataclysmic variable");
    EXPECT_EQ(described("NC"), "slow nova | cataclysmic variable");
    EXPECT_EQ(described("E"), "(E+, E/ ..) | eclipsing binary");
    EXPECT_EQ(described("L"), "slow irregular | pulsating variable");
    EXPECT_EQ(described("M"), "Mira Ceti | pulsating variable");
    // Codes that sort next to real ones are not prefixes of them.
    EXPECT_EQ(described("AC"), "-");
    EXPECT_EQ(described("ZZ"), "-");
    EXPECT_EQ(described("ZZAA"), "-");
}

TEST(VariableTypes, CodesAreComparedAsWholeTextsExactly)
{
    const char* generalClass = nullptr;
    // "I" keeps the leading blank of its class; "IN" has none.
    EXPECT_STREQ(describeVariableType("I", generalClass), "irregular");
    EXPECT_STREQ(generalClass, " eruptive variable");
    EXPECT_STREQ(describeVariableType("IN", generalClass), "irregular");
    EXPECT_STREQ(generalClass, "eruptive variable");
    EXPECT_STREQ(describeVariableType("CW", generalClass), "W Virginis");
    EXPECT_STREQ(describeVariableType("UV", generalClass), "UV Ceti <a href=\"/flare.html\">flare star</a>");

    for (const char* unknown : {"", "ea", "Ea", "EA ", " EA", "C", "CWAB", "UVC", "I ", "in", "XYZ"}) {
        generalClass = "unchanged";
        EXPECT_EQ(describeVariableType(unknown, generalClass), nullptr) << '"' << unknown << '"';
        EXPECT_EQ(generalClass, nullptr) << '"' << unknown << '"';
    }
    generalClass = "unchanged";
    EXPECT_EQ(describeVariableType(nullptr, generalClass), nullptr);
    EXPECT_EQ(generalClass, nullptr);
}

}  // namespace
