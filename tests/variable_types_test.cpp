// The variable-star type table: every row as the page shows it, and codes
// that match no row.
#include <gtest/gtest.h>

#include <string>

#include "sections.h"

using namespace vldr;

namespace {

struct Row {
    const char* code;
    const char* name;
    const char* generalClass;
};

const Row kRows[] = {
    {"ACV", "Alpha(2) Canum Venaticorum", "rotating variable"},
    {"ACY", "Alpha Cygni", "pulsating variable"},
    {"BCE", "Beta Cephei", "pulsating variable"},
    {"BY", "BY Draconis", "rotating variable"},
    {"CEP", "Cepheid", "pulsating variable"},
    {"CST", "constant star", "formally believed variable by some observer"},
    {"CW", "W Virginis", "pulsating variable"},
    {"CWA", "W Virginis (period > 8 days)", "pulsating variable"},
    {"CWB", "W Virginis (period < 8 days)", "pulsating variable"},
    {"DCE", "delta Cephei", "pulsating variable"},
    {"DSC", "delta Scuti", "pulsating variable"},
    {"E", "(E+, E/ ..)", "eclipsing binary"},
    {"EA", "Algol", "eclipsing binary"},
    {"EB", "beta Lyrae", "eclipsing binary"},
    {"ELL", "rotating ellipsoidal", "rotating variable"},
    {"EW", "W Ursae Majoris", "eclipsing binary"},
    {"FKC", "FK Comae Berenices ", "rotating variable"},
    {"GCA", "gamma Cassiopeiae", "eruptive variable"},
    {"I", "irregular", " eruptive variable"},
    {"IN", "irregular", "eruptive variable"},
    {"IS", "irregular", " eruptive variable"},
    {"L", "slow irregular", "pulsating variable"},
    {"M", "Mira Ceti", "pulsating variable"},
    {"NA", "fast nova", "cataclysmic variable"},
    {"NB", "slow nova", "cataclysmic variable"},
    {"NC", "slow nova", "cataclysmic variable"},
    {"NL", "nova-like", "cataclysmic variable"},
    {"NR", "recurrent nova", "cataclysmic variable"},
    {"PVT", "PV Telescopii", "pulsating variable"},
    {"RCB", "R Coronae Borealis", "eruptive variable"},
    {"RR", "RR Lyrae", "pulsating variable"},
    {"RS", "RS Canum Venaticorum", "eclipsing binary"},
    {"RV", "RV Tauri", "pulsating variable"},
    {"SDO", "S Doradus", "eruptive variable"},
    {"SR", "semi-regular", "pulsating variable"},
    {"SXA", "SX Arietis", "rotating variable"},
    {"SXP", "SX Phoenicis", "pulsating variable"},
    {"UGS", "SS Cygni", "cataclysmicvariable"},
    {"UV", "UV Ceti <a href=\"/flare.html\">flare star</a>", "eruptive variable"},
    {"WR", "Wolf-Rayet", "eruptive variable"},
    {"XNG", "X-ray nova-like system", "X-ray binary"},
    {"XP", "X-ray pulsar", "X-ray binary"},
    {"ZAN", "Z Andromedae", "cataclysmic variable"},
    {"ZZA", "Hydrogen ZZ Ceti", "pulsating variable"},
};

TEST(VariableTypes, EveryCodeGivesItsNameAndClass)
{
    ASSERT_EQ(std::size(kRows), 44u);
    for (const Row& row : kRows) {
        const char* generalClass = nullptr;
        const char* name = describeVariableType(row.code, generalClass);
        ASSERT_NE(name, nullptr) << row.code;
        ASSERT_NE(generalClass, nullptr) << row.code;
        EXPECT_STREQ(name, row.name) << row.code;
        EXPECT_STREQ(generalClass, row.generalClass) << row.code;
    }
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
