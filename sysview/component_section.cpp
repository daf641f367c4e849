// The component section: one block per star of the system with its names,
// own position and motion, spectrum, photometry, variability, colour, mass,
// diameter, comfort zone and detected companions with their orbits.
#include <cmath>
#include <string>

#include "component_section.h"

#include "catalog.h"
#include "companions.h"
#include "constants.h"
#include "coordinates.h"
#include "name_lists.h"
#include "orbit_section.h"
#include "output.h"
#include "period_units.h"
#include "position_section.h"
#include "precision.h"
#include "variable_types.h"

namespace vldr {
namespace {

// Below these the plain formats switch from "%g" to "%f".
constexpr double kSmallValue = 0.1;            // luminosity, comfort zone, tidal index
constexpr double kSmallCompanionValue = 0.001; // companion mass and size
// A star diameter below this (solar diameters) is written in kilometres.
constexpr double kSmallDiameter = 0.001;
constexpr double kKilometresPerSolarDiameter = 1391980.0;

// Period of variability (days): limits and factors of its units.
constexpr double kOneHourInDays = 0.041666666666666664;
constexpr double kOneMinuteInDays = 0.0006944444444444445;
constexpr double kHoursPerDay = 24.0;
constexpr double kMinutesPerDay = 1440.0;
constexpr double kSecondsPerDay = 86400.0;

// A luminosity or comfort zone: with the precision of the component's
// distance error when that is known, plainly otherwise.
void writeErrorAware(double value, const PositionRecord& position)
{
    if (position.hasDistanceError)
        writeFormatted("%s", formatWithError(value, position.DistanceError).c_str());
    else
        writeNumber(value, kSmallValue);
}

void printOwnPositionAndMotion(const Report& r, int i)
{
    const PositionRecord& position = r.ComponentPositions[i];
    const VelocityRecord& velocity = r.ComponentVelocities[i];
    if (position.ownRA || position.ownDec || position.ownDistance) {
        printPosition(position, true, r.Catalogs);
        printSpatialCoordinates(position);
    }
    if (velocity.hasOwnRow) {
        printMotion(velocity, r.Catalogs);
        double u = 0, v = 0, w = 0;
        if (velocityToUVW(position, velocity, u, v, w)) {
            writeText("<BR><B>Galactic (U,V,W) velocity components in km/s:</B> ");
            printTriple(u, v, w, position);
            writeText("\n");
        }
    }
}

void printSpectrum(const ComponentRecord& component)
{
    if (!component.hasSpectrum) return;
    const SpectrumRecord& spectrum = component.Spectrum;
    if (spectrum.hasSpectralClass) writeFormatted("<BR><B>Spectral class:</B> %s\n", spectrum.SpectralClass);
    if (spectrum.hasLuminosityClass) writeFormatted("<BR><B>Luminosity Class:</B> %s\n", spectrum.LuminosityClass);
}

// Apparent and absolute magnitude and visual luminosity, each with its
// value at maximum brightness when the star brightens.
void printBrightness(const Report& r, int i)
{
    const ComponentRecord& component = r.Components[i];
    const ComponentPhotometry& photometry = r.Photometry[i];
    const PositionRecord& position = r.ComponentPositions[i];
    const MagnitudeRecord& magnitudes = component.Magnitudes;

    if (component.hasMagnitudes && magnitudes.hasApparentVMag) {
        writeFormatted("<BR><B>Apparent visual magnitude:</B> %+.2f", magnitudes.ApparentVMag);
        if (magnitudes.hasVMagIncrease && magnitudes.VMagIncrease > 0)
            writeFormatted(" (increasing to %+.2f)", magnitudes.ApparentVMag - magnitudes.VMagIncrease);
        writeText("\n");
    }
    if (photometry.AbsoluteVMag != kNoAbsoluteMagnitude && std::isfinite(photometry.AbsoluteVMag)) {
        writeFormatted("<BR><B>Absolute visual magnitude:</B> %+.2f", photometry.AbsoluteVMag);
        if (photometry.AbsoluteVMagAtMax < photometry.AbsoluteVMag)
            writeFormatted(" (increasing to %+.2f)", photometry.AbsoluteVMagAtMax);
        writeText("\n");
    }
    if (photometry.Luminosity != kNoValue && std::isfinite(photometry.Luminosity)) {
        writeText("<BR><B>Visual luminosity:</B> ");
        writeErrorAware(photometry.Luminosity, position);
        writeText(" x Sol");
        if (photometry.LuminosityAtMax > photometry.Luminosity && std::isfinite(photometry.LuminosityAtMax)) {
            // why: two blanks after "to", unlike the magnitudes' "(increasing to ": the
            // page has always been written so, and the bytes of every page stay as they were.
            writeText(" (increasing to  ");
            writeErrorAware(photometry.LuminosityAtMax, position);
            writeText(" x Sol)");
        }
        writeText("\n");
    }
}

void printVariability(const MagnitudeRecord& magnitudes)
{
    if (magnitudes.hasVariableType) {
        writeText("<BR><B>Variable type:</B> ");
        const char* generalClass = nullptr;
        if (const char* name = describeVariableType(magnitudes.VariableType, generalClass))
            writeFormatted("%s (%s)\n", name, generalClass);
        else
            writeFormatted("%s\n", magnitudes.VariableType);
    }
    if (magnitudes.hasVariablePeriod) {
        const double p = magnitudes.VariablePeriod;  // days
        writeText("<BR><B>Period of variability:</B> ");
        if (p >= 1)
            writeFormatted("%g days\n", p);
        else if (p >= kOneHourInDays)
            writeFormatted("%g hours\n", p * kHoursPerDay);
        else if (p >= kOneMinuteInDays)
            writeFormatted("%g minutes\n", p * kMinutesPerDay);
        else
            writeFormatted("%g seconds\n", p * kSecondsPerDay);
        // why: an empty line after the period, which no other line has; kept so
        // that every page's bytes stay as they have always been.
        writeText("\n");
    }

    bool any = false;
    auto lead = [&any]() {
        writeText(any ? ", " : "<BR><B>Color indices:</B> ");
        any = true;
    };
    if (magnitudes.hasBminusV) {
        lead();
        writeFormatted("B-V= %+.2f", magnitudes.BminusV);
    }
    if (magnitudes.hasUminusB) {
        lead();
        writeFormatted("U-B= %+.2f", magnitudes.UminusB);
    }
    if (magnitudes.hasRminusI) {
        lead();
        writeFormatted("R-I= %+.2f", magnitudes.RminusI);
    }
    if (any) writeText("\n");
}

// The diameter line (as derived, from arcseconds with the precision of the
// distance error when known) and its source.
void printDiameter(const ComponentRecord& component, const ComponentDerivation& derived,
                   const PositionRecord& position, const CatalogNames& catalogs)
{
    if (derived.Diameter) {
        const double d = *derived.Diameter;  // solar diameters
        writeText("<BR><B>Diameter:</B> ");
        if (component.IsDiameterArcsec && position.hasDistanceError) {
            if (d < kSmallDiameter)
                writeFormatted("%s kilometers\n",
                               formatWithError(d * kKilometresPerSolarDiameter, position.DistanceError).c_str());
            else
                writeFormatted("%s x Sol\n", formatWithError(d, position.DistanceError).c_str());
        } else if (d < kSmallDiameter) {
            writeFormatted("%g kilometers\n", d * kKilometresPerSolarDiameter);
        } else {
            writeFormatted("%g x Sol\n", d);
        }
    }
    if (component.hasDiameterSource)
        writeFormatted("<BR><B>Source for diameter:</B> %s\n", lookupCatalogName(catalogs, component.DiameterSource));
}

// The comfort zone and, within it, the orbital period, the tidal index and
// the star's angular size, each where it could be worked out.
void printComfortZone(const Report& r, int i)
{
    const double c = r.Photometry[i].ComfortZone;  // AU
    if (c == kNoValue || !std::isfinite(c)) return;
    const ComponentDerivation& derived = r.ComponentsDerived[i];
    writeText("<BR><B>Comfort Zone (visual):</B> ");
    writeErrorAware(c, r.ComponentPositions[i]);
    writeText(" A.U.s\n");
    if (derived.OrbitalPeriodInCZ) {
        const PeriodInUnits shown = periodInUnits(*derived.OrbitalPeriodInCZ);
        writeFormatted("<BR><B>Orbital period in CZ:</B> %g %s\n", shown.value, shown.unit);
    }
    if (derived.TidalIndexInCZ) {
        writeText("<BR><B>Tidal index in CZ:</B> ");
        writeNumber(*derived.TidalIndexInCZ, kSmallValue, "\n");
    }
    if (derived.AngularSizeInCZ)
        writeFormatted("<BR><B>Angular size of star in sky in CZ:</B> %f degrees\n", *derived.AngularSizeInCZ);
}

// One measured quantity of a companion, in Jupiter's units.
struct CompanionMeasure {
    const char* title;       // "Mass" or "Diameter"
    const char* noun;        // "mass" or "diameter", in the error and source lines
    double value;
    bool isMinimum;          // ", minimum" follows the value
    bool hasError;
    double error;            // fraction
    bool hasSource;
    const char* source;      // abbreviation
};

// The indented value line of a measure, its standard error and its source.
void printCompanionMeasure(const CompanionMeasure& measure, const CatalogNames& catalogs)
{
    writeFormatted("<BR>%s<B>%s:</B> ", kIndent, measure.title);
    writeNumber(measure.value, kSmallCompanionValue);
    writeText(" x Jupiter");
    if (measure.isMinimum) writeText(", minimum");
    writeText("\n");
    if (measure.hasError)
        writeFormatted("<BR>%s<B>Standard error in %s:</B> %g%%\n", kIndent, measure.noun,
                       measure.error * kPercentPerFraction);
    if (measure.hasSource)
        writeFormatted("<BR>%s<B>Source for %s:</B> %s\n", kIndent, measure.noun,
                       lookupCatalogName(catalogs, measure.source));
}

void printCompanion(const Report& r, const PlanetRecord& planet)
{
    writeFormatted("<BR><B><U>Companion %s:</U></B>\n", planet.Name);
    if (planet.hasMass)
        printCompanionMeasure({"Mass", "mass", planet.Mass, planet.IsMassAMinimum, planet.hasMassError,
                               planet.MassError, planet.hasMassSource, planet.MassSource},
                              r.Catalogs);
    if (planet.hasRadius)
        printCompanionMeasure({"Diameter", "diameter", planet.Radius, false, planet.hasRadiusError, planet.RadiusError,
                               planet.hasRadiusSource, planet.RadiusSource},
                              r.Catalogs);
    printBodyOrbits(r, planet.ID);
}

// The planets found for the component through the orbit hierarchy. An
// orbit may name a planet that has no Planets row: such an ID is left
// out, and the count says how many companions are listed.
void printCompanions(const Report& r, const ComponentRecord& component)
{
    Id ids[kMaxCompanions] = {};
    int count = 0;
    findCompanions(r, component.ID, count, ids);
    int planets[kMaxCompanions] = {};
    int listed = 0;
    for (int k = 0; k < count; ++k) {
        const int p = findPlanet(r, ids[k]);
        if (p >= 0) planets[listed++] = p;
    }
    if (listed == 0) return;
    writeFormatted("<BR><B>Detected companions:</B> %d\n", listed);
    for (int k = 0; k < listed; ++k) printCompanion(r, r.Planets[planets[k]]);
}

void printComponent(const Report& r, int i)
{
    const ComponentRecord& component = r.Components[i];

    if (r.ComponentCount >= 2)
        writeFormatted("<P><BR><B><U>Component %s:</U></B>\n", component.Name);
    else
        writeText("<BR>\n");
    if (component.IsCloseBinary)
        writeText("<BR>NOTE: This star is actually a close-orbiting binary pair.  The data below are for both "
                  "sub-components of the pair combined.\n");
    printNameLists(r.ComponentNames[i], r.Catalogs, kComponentNameLists);
    printOwnPositionAndMotion(r, i);
    printSpectrum(component);
    printBrightness(r, i);
    if (component.hasMagnitudes) printVariability(component.Magnitudes);
    if (component.hasMass) {
        writeFormatted("<BR><B>Mass:</B> %g x Sol\n", component.Mass);
        if (component.hasMassSource)
            writeFormatted("<BR><B>Source for mass:</B> %s\n", lookupCatalogName(r.Catalogs, component.MassSource));
    }
    printDiameter(component, r.ComponentsDerived[i], r.ComponentPositions[i], r.Catalogs);
    printComfortZone(r, i);
    printCompanions(r, component);
}

}  // namespace

void printComponents(const Report& report)
{
    for (int i = 0; i < report.ComponentCount; ++i) printComponent(report, i);
}

}  // namespace vldr
