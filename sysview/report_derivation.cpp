// The derivation step: the values the report page shows beyond the loaded
// rows, worked out once so that the sections only print them.
#include <cmath>
#include <optional>

#include "report_derivation.h"

#include "body_names.h"
#include "constants.h"
#include "magnitudes.h"
#include "photometry.h"

namespace vldr {
namespace {

// Arcseconds x light-years to solar diameters.
constexpr double kSolarDiametersPerArcsecondLightYear = 32.95112936630387;
// Angular diameter of the Sun seen from 1 AU (degrees).
constexpr double kSunAngularDiameterAt1AU = 0.533111;

// Apparent magnitude of a body of absolute magnitude absolute seen from d AU,
// or nothing when d has no logarithm.
std::optional<double> magnitudeSeenFrom(double absolute, double d)
{
    if (!(d > 0)) return std::nullopt;
    const double m = apparentMagnitudeAt(absolute, d * kParsecsPerAU);
    if (!std::isfinite(m)) return std::nullopt;
    return m;
}

// How bright a member of luminosity (x Sol) looks from the other one.
MemberSighting sightingOf(double luminosity, const OrbitDerivation& d)
{
    MemberSighting seen;
    const double absolute = absoluteMagnitudeOfLuminosity(luminosity);
    if (!std::isfinite(absolute)) return seen;
    if (d.PeriastronAU && d.ApastronAU) {
        seen.AtPeriastron = magnitudeSeenFrom(absolute, *d.PeriastronAU);
        seen.AtApastron = magnitudeSeenFrom(absolute, *d.ApastronAU);
    } else {
        seen.AtSeparation = magnitudeSeenFrom(absolute, *d.AxisAU);
    }
    return seen;
}

// The pair's light: the sum of its members' when both are known, otherwise
// from the pair's combined apparent magnitude at the system's distance.
std::optional<double> pairLuminosityOf(const Report& r, const OrbitRecord& orbit, const OrbitDerivation& d)
{
    std::optional<double> luminosity;
    if (d.PrimaryKnown && d.SecondaryKnown)
        luminosity = d.PrimaryLuminosity + d.SecondaryLuminosity;
    else if (orbit.hasMagnitudes && orbit.Magnitudes.hasApparentVMag)
        luminosity = luminosityAtSystemDistance(orbit.Magnitudes.ApparentVMag, r.SystemPosition);
    if (!luminosity || !(*luminosity > 0) || !std::isfinite(*luminosity)) return std::nullopt;
    return luminosity;
}

OrbitDerivation deriveOrbit(const Report& r, int k)
{
    const OrbitRecord& orbit = r.Orbits[k];
    const PositionRecord& system = r.SystemPosition;
    OrbitDerivation d;
    appendMemberName(r, d.PrimaryName, d.PrimaryLuminosity, d.PrimaryKnown, k, MemberSlot::Primary);
    appendMemberName(r, d.SecondaryName, d.SecondaryLuminosity, d.SecondaryKnown, k, MemberSlot::Secondary);
    for (int j = 0; j < k; ++j)
        if (r.Orbits[j].PrimaryID == orbit.PrimaryID && r.Orbits[j].SecondaryID == orbit.SecondaryID) ++d.Take;
    d.PairLuminosity = pairLuminosityOf(r, orbit, d);

    if (orbit.hasSemimajorAxis) {
        if (orbit.IsAxisAU)
            d.AxisAU = orbit.SemimajorAxis;
        else if (system.hasDistance)
            d.AxisAU = system.Distance * orbit.SemimajorAxis * kParsecsPerLightYear;  // arcseconds x parsecs
        if (!orbit.IsAxisJustGap && orbit.hasEccentricity) {
            // At an eccentricity of 1 or more the periastron distance is 0
            // or negative: a number still, only its sighting is left out.
            const double e = orbit.Eccentricity;
            d.PeriastronArcsec = (1 - e) * orbit.SemimajorAxis;
            d.ApastronArcsec = (1 + e) * orbit.SemimajorAxis;
            if (d.AxisAU) {
                d.PeriastronAU = *d.AxisAU * (1 - e);
                d.ApastronAU = *d.AxisAU * (1 + e);
            }
        }
        if (d.AxisAU) {
            if (d.SecondaryKnown && d.SecondaryLuminosity > 0)
                d.SecondaryFromPrimary = sightingOf(d.SecondaryLuminosity, d);
            if (d.PrimaryKnown && d.PrimaryLuminosity > 0)
                d.PrimaryFromSecondary = sightingOf(d.PrimaryLuminosity, d);
        }
    }

    // Later takes are alternatives for a pair whose light the first take shows.
    if (d.Take == 0 && d.PairLuminosity) {
        const double zone = std::sqrt(*d.PairLuminosity);  // AU
        if (!orbit.hasSemimajorAxis || (d.AxisAU && 2 * *d.AxisAU <= zone)) d.ComfortZoneAroundBoth = zone;
    }
    return d;
}

// The diameter (solar diameters) shown for a component: as stored, or from
// arcseconds at its distance; none when neither can be shown.
std::optional<double> diameterOf(const ComponentRecord& component, const PositionRecord& position)
{
    if (!component.hasDiameter) return std::nullopt;
    if (!component.IsDiameterArcsec) return component.Diameter;
    if (!position.hasDistance) return std::nullopt;
    return position.Distance * component.Diameter * kSolarDiametersPerArcsecondLightYear;
}

// Within the comfort zone c (AU): the orbital period by Kepler's third law
// (years, radius in AU, mass in solar masses), the tidal index and the star's
// angular size. A value that is not finite (a negative mass, a zone of 0) is
// left empty.
ComponentDerivation deriveComponent(const Report& r, int i)
{
    const ComponentRecord& component = r.Components[i];
    ComponentDerivation d;
    d.Diameter = diameterOf(component, r.ComponentPositions[i]);
    const double c = r.Photometry[i].ComfortZone;
    if (c == kNoValue || !std::isfinite(c)) return d;
    if (component.hasMass && component.Mass != 0) {
        const double m = component.Mass;
        const double k = c * c * c;
        if (const double period = std::sqrt(k / m); std::isfinite(period)) d.OrbitalPeriodInCZ = period;
        if (const double tidalIndex = m / k; std::isfinite(tidalIndex)) d.TidalIndexInCZ = tidalIndex;
    }
    if (d.Diameter && *d.Diameter != 0) {
        const double degrees = *d.Diameter / c * kSunAngularDiameterAt1AU;
        if (std::isfinite(degrees)) d.AngularSizeInCZ = degrees;
    }
    return d;
}

}  // namespace

void deriveReport(Report& report)
{
    derivePhotometry(report);
    for (int i = 0; i < report.ComponentCount; ++i) report.ComponentsDerived[i] = deriveComponent(report, i);
    for (int k = 0; k < report.OrbitCount; ++k) report.OrbitsDerived[k] = deriveOrbit(report, k);
}

}  // namespace vldr
