// Names of the variable-star types: the short code stored with a star's
// photometry, the name of the type and the general class it belongs to.
// The texts are written to the page as they stand, markup included.
#include <cstring>

#include "variable_types.h"

namespace vldr {
namespace {

struct VariableType {
    const char* code;
    const char* name;
    const char* generalClass;
};

// Searched from the top; the first row with exactly the same code wins.
constexpr VariableType kVariableTypes[] = {
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

}  // namespace

const char* describeVariableType(const char* code, const char*& generalClass)
{
    generalClass = nullptr;
    if (code == nullptr) return nullptr;
    for (const VariableType& type : kVariableTypes) {
        if (std::strcmp(code, type.code) == 0) {
            generalClass = type.generalClass;
            return type.name;
        }
    }
    return nullptr;
}

}  // namespace vldr
