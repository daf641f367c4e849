// The orbit section: the orbits between a system's bodies, with the names
// of the two bodies, the pair's combined light, the orbital elements, the
// comfort zone around the pair and how bright each body looks from the
// other, all as deriveReport worked them out.
#include <optional>
#include <string>

#include "orbit_section.h"

#include "catalog.h"
#include "constants.h"
#include "ids.h"
#include "magnitudes.h"
#include "output.h"
#include "period_units.h"
#include "precision.h"

namespace vldr {
namespace {

// Below these the plain formats switch from "%g" to "%f".
constexpr double kSmallDistance = 0.001;  // AU, arcseconds; comfort zone beside an axis
constexpr double kSmallValue = 0.1;       // luminosity; comfort zone without an axis
constexpr double kSmallPeriodError = 0.00001;

void printOrbit(const Report& r, int k, bool bodyMode);

}  // namespace

void printSystemOrbits(const Report& r)
{
    for (int k = 0; k < r.OrbitCount; ++k)
        if (!isListedPlanet(r.Orbits[k].PrimaryID) && !isListedPlanet(r.Orbits[k].SecondaryID)) printOrbit(r, k, false);
}

void printBodyOrbits(const Report& r, Id bodyId)
{
    for (int k = 0; k < r.OrbitCount; ++k)
        if (r.Orbits[k].PrimaryID == bodyId || r.Orbits[k].SecondaryID == bodyId) printOrbit(r, k, true);
}

namespace {

// Opening of a data line: indented under a companion, plain in the system listing.
class LineWriter {
public:
    explicit LineWriter(bool bodyMode) : bodyMode_(bodyMode) {}

    // Writes "<BR>", the indentation in body mode, and the label.
    void open(const char* label) const
    {
        writeText("<BR>");
        if (bodyMode_) writeText(kIndent);
        writeText(label);
    }

private:
    bool bodyMode_;
};

void printPairData(const Report& r, const OrbitRecord& orbit, const OrbitDerivation& d, bool bodyMode,
                   const LineWriter& line);
void printPeriod(const OrbitRecord& orbit, const LineWriter& line);
void printAxisAndAfter(const Report& r, const OrbitRecord& orbit, const OrbitDerivation& d, bool bodyMode,
                       const LineWriter& line);
void writeWithSystemError(double value, double smallLimit, const char* unit, const PositionRecord& system);

// One orbit: its heading in the system listing ("take N" for a second or
// later orbit between the same two bodies, "&mdash; OR &mdash;" under a
// companion), the pair's data on its first take, then the elements.
void printOrbit(const Report& r, int k, bool bodyMode)
{
    const OrbitRecord& orbit = r.Orbits[k];
    const OrbitDerivation& d = r.OrbitsDerived[k];
    const LineWriter line(bodyMode);
    if (d.Take > 0) {
        if (bodyMode)
            writeText("<BR>&mdash; OR &mdash;\n");
        else
            writeFormatted("<P><B><U>Data for %s and %s's orbit, take %d:</U></B>\n", d.PrimaryName.c_str(),
                           d.SecondaryName.c_str(), d.Take + 1);
    } else {
        if (!bodyMode)
            writeFormatted("<P><B><U>Data for %s and %s's orbit around one other:</U></B>\n", d.PrimaryName.c_str(),
                           d.SecondaryName.c_str());
        printPairData(r, orbit, d, bodyMode, line);
    }

    printPeriod(orbit, line);
    if (orbit.hasSemimajorAxis) {
        printAxisAndAfter(r, orbit, d, bodyMode, line);
        return;
    }
    if (orbit.hasEccentricity) {
        line.open("<B>Eccentricity:</B> ");
        writeFormatted("%g\n", orbit.Eccentricity);
    }
    if (!bodyMode && d.ComfortZoneAroundBoth) {
        writeText("<BR><B>Comfort Zone (visual) around both:</B> ");
        writeWithSystemError(*d.ComfortZoneAroundBoth, kSmallValue, " A.U.s\n", r.SystemPosition);
    }
}

// A distance in astronomical units: with the precision of the system's
// (the report's SystemPosition) distance error when it was derived from
// arcseconds and that error is known, plainly otherwise.
void writeAU(double au, const OrbitRecord& orbit, const PositionRecord& system)
{
    if (!orbit.IsAxisAU && system.hasDistanceError)
        writeFormatted("%s A.U.s\n", formatWithError(au, system.DistanceError).c_str());
    else
        writeNumber(au, kSmallDistance, " A.U.s\n");
}

// A value in units of the Sun's, with the precision of the system's
// distance error when that is known, plainly otherwise.
void writeWithSystemError(double value, double smallLimit, const char* unit, const PositionRecord& system)
{
    if (system.hasDistanceError)
        writeFormatted("%s%s", formatWithError(value, system.DistanceError).c_str(), unit);
    else
        writeNumber(value, smallLimit, unit);
}

// How bright `other` looks from `from`; the heading only when at least one
// magnitude could be worked out.
void printSighting(const std::string& from, const std::string& other, const MemberSighting& seen)
{
    if (!seen.AtPeriastron && !seen.AtApastron && !seen.AtSeparation) return;
    writeFormatted("<BR><B>As seen from %s:</B>\n", from.c_str());
    auto lineFor = [&](const char* lead, const std::optional<double>& magnitude) {
        if (magnitude)
            writeFormatted("<BR>%s%s%s would appear as magnitude %+.2f\n", kIndent, lead, other.c_str(), *magnitude);
    };
    lineFor("At periastron, ", seen.AtPeriastron);
    lineFor("At apastron, ", seen.AtApastron);
    lineFor("", seen.AtSeparation);
}

// The pair's combined spectrum, and in the system listing its apparent
// magnitude (only when its stars' own luminosities do not all exist),
// absolute magnitude and luminosity.
void printPairData(const Report& r, const OrbitRecord& orbit, const OrbitDerivation& d, bool bodyMode,
                   const LineWriter& line)
{
    if (orbit.hasSpectrum) {
        const SpectrumRecord& spectrum = orbit.Spectrum;
        if (spectrum.hasSpectralClass) {
            line.open("<B>Combined spectrum:</B> ");
            writeFormatted("%s", spectrum.SpectralClass);
            if (spectrum.hasLuminosityClass) writeFormatted(" %s", spectrum.LuminosityClass);
            writeText("\n");
        } else if (spectrum.hasLuminosityClass) {
            line.open("<B>Combined luminosity class:</B> ");
            writeFormatted("%s\n", spectrum.LuminosityClass);
        }
    }
    if (bodyMode) return;
    if (!(d.PrimaryKnown && d.SecondaryKnown) && orbit.hasMagnitudes && orbit.Magnitudes.hasApparentVMag)
        writeFormatted("<BR><B>Combined apparent visual magnitude:</B> %+.2f\n", orbit.Magnitudes.ApparentVMag);
    if (!d.PairLuminosity) return;
    writeFormatted("<BR><B>Combined absolute visual magnitude:</B> %+.2f\n",
                   absoluteMagnitudeOfLuminosity(*d.PairLuminosity));
    writeText("<BR><B>Combined visual luminosity:</B> ");
    writeWithSystemError(*d.PairLuminosity, kSmallValue, " x Sol\n", r.SystemPosition);
}

void printPeriod(const OrbitRecord& orbit, const LineWriter& line)
{
    if (orbit.hasPeriod) {
        const PeriodInUnits period = periodInUnits(orbit.Period);
        line.open("<B>Period:</B> ");
        if (orbit.hasPeriodError)
            writeFormatted("%s %s\n", formatWithError(period.value, orbit.PeriodError).c_str(), period.unit);
        else
            writeFormatted(period.inHours ? "%f %s\n" : "%g %s\n", period.value, period.unit);
    }
    if (orbit.hasPeriodError) {
        line.open("<B>Standard Error in period:</B> ");
        const double percent = orbit.PeriodError * kPercentPerFraction;
        if (orbit.PeriodError < kSmallPeriodError)
            writeFormatted("%f%%\n", percent);
        else
            writeFormatted("%g%%\n", percent);
    }
}

// Periastron or apastron distance: in AU when the axis is known in AU,
// otherwise in arcseconds.
void printApsis(const char* label, const std::optional<double>& au, double arcseconds, const OrbitRecord& orbit,
                const PositionRecord& system, const LineWriter& line)
{
    line.open(label);
    if (au)
        writeAU(*au, orbit, system);
    else
        writeFormatted("%f arcseconds\n", arcseconds);
}

void printAxisAndAfter(const Report& r, const OrbitRecord& orbit, const OrbitDerivation& d, bool bodyMode,
                       const LineWriter& line)
{
    const PositionRecord& system = r.SystemPosition;
    line.open(orbit.IsAxisJustGap ? "<B>Observed Separation:</B> " : "<B>Semimajor Axis:</B> ");
    if (d.AxisAU)
        writeAU(*d.AxisAU, orbit, system);
    else
        writeNumber(orbit.SemimajorAxis, kSmallDistance, " arcseconds\n");

    if (!orbit.IsAxisJustGap && orbit.hasEccentricity) {
        line.open("<B>Eccentricity:</B> ");
        writeFormatted("%g\n", orbit.Eccentricity);
        printApsis("<B>Periastron distance:</B> ", d.PeriastronAU, d.PeriastronArcsec, orbit, system, line);
        printApsis("<B>Apastron distance:</B> ", d.ApastronAU, d.ApastronArcsec, orbit, system, line);
    }
    if (orbit.hasPeriastronEpoch) {
        line.open(orbit.IsAxisJustGap ? "<B>Year of separation observation:</B> "
                                      : "<B>Year in which periastron occurs:</B> ");
        writeFormatted("%g\n", orbit.PeriastronEpoch);
    }
    if (orbit.hasSource) {
        line.open("<B>Source for orbit data:</B> ");
        writeFormatted("%s\n", lookupCatalogName(r.Catalogs, orbit.Source));
    }
    if (bodyMode) return;

    if (d.ComfortZoneAroundBoth) {
        writeText("<BR><B>Comfort Zone (visual) around both:</B> ");
        writeWithSystemError(*d.ComfortZoneAroundBoth, kSmallDistance, " A.U.s\n", system);
    }
    printSighting(d.PrimaryName, d.SecondaryName, d.SecondaryFromPrimary);
    printSighting(d.SecondaryName, d.PrimaryName, d.PrimaryFromSecondary);
}

}  // namespace
}  // namespace vldr
