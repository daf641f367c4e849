// What the report page shows beyond the stored rows, worked out once by
// deriveReport after loading: per orbit its members' names and light, the
// pair's light and comfort zone, the apsis distances and how bright each
// member looks from the other; per component its diameter and the values
// within its comfort zone.
#pragma once

#include <optional>
#include <string>

namespace vldr {

// How bright one member of an orbit looks from the other (apparent visual
// magnitudes); empty where the distance has no logarithm.
struct MemberSighting {
    std::optional<double> AtPeriastron, AtApastron;  // when both apsides are known in AU
    std::optional<double> AtSeparation;              // otherwise, at the axis
};

// One orbit's derived values.
struct OrbitDerivation {
    std::string PrimaryName, SecondaryName;
    double PrimaryLuminosity = 0, SecondaryLuminosity = 0;  // x Sol, when known
    bool PrimaryKnown = true, SecondaryKnown = true;
    int Take = 0;                               // earlier orbits between the same two members
    std::optional<double> PairLuminosity;       // x Sol, when above 0 and finite
    std::optional<double> ComfortZoneAroundBoth;  // AU; first take only, and only where the pair fits inside
    std::optional<double> AxisAU;               // semimajor axis or separation, AU
    std::optional<double> PeriastronAU, ApastronAU;
    double PeriastronArcsec = 0, ApastronArcsec = 0;  // when the axis is known in arcseconds only
    MemberSighting SecondaryFromPrimary, PrimaryFromSecondary;  // empty unless that member's light is above 0
};

// One component's derived values.
struct ComponentDerivation {
    std::optional<double> Diameter;           // solar diameters, when its line is shown
    std::optional<double> OrbitalPeriodInCZ;  // years
    std::optional<double> TidalIndexInCZ;     // solar masses per AU cubed
    std::optional<double> AngularSizeInCZ;    // degrees
};

}  // namespace vldr
