// The orbit section: the orbits between a system's bodies, with the names
// of the two bodies, the pair's combined light, the orbital elements, the
// comfort zone around the pair and how bright each body looks from the
// other. Also composes the display name of any body, nested pairs included.
#include <bitset>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ids.h"
#include "catalog.h"
#include "constants.h"
#include "field_limits.h"
#include "output.h"
#include "period_units.h"
#include "photometry.h"
#include "orbit_section.h"
#include "precision.h"

namespace vldr {
namespace {

// Below these the plain formats switch from "%g" to "%f".
constexpr double kSmallDistance = 0.001;  // AU, arcseconds; comfort zone beside an axis
constexpr double kSmallValue = 0.1;       // luminosity; comfort zone without an axis
constexpr double kSmallPeriodError = 0.00001;

constexpr char kError[] = "<ERROR>";
// A composed name's bound counts "<ERROR>" as one of its names.
static_assert(sizeof kError <= kNameSize);

using OrbitSet = std::bitset<kMaxOrbits>;

// Luminosity (Sun = 1) of a body of apparent magnitude m at the distance
// of system (the report's SystemPosition), or nothing when the system has no distance or the result is
// not a number (a negative distance). At a distance of 0 the logarithm is
// minus infinity and the luminosity comes out as 0, a value like any other.
std::optional<double> luminosityFromApparentMagnitude(double m, const PositionRecord& system)
{
    if (!system.hasDistance) return std::nullopt;
    const double luminosity = luminosityOf(absoluteMagnitude(m, system.Distance));
    if (!std::isfinite(luminosity)) return std::nullopt;
    return luminosity;
}

// Which member of an orbit a body is.
enum class MemberSlot { Primary, Secondary };

int memberOf(const OrbitRecord& orbit, MemberSlot slot)
{
    return slot == MemberSlot::Primary ? orbit.PrimaryID : orbit.SecondaryID;
}

// True when the member in slot of orbit k is that body's first membership:
// no orbit before k (the report's order, ascending ID) names it, and it is
// not also orbit k's primary. A body belongs to at most one pair; a pair
// named as a member again would be written out again in full, and names
// that take an earlier pair twice per orbit grow exponentially.
bool isFirstMembership(const Report& r, int k, MemberSlot slot)
{
    const int body = memberOf(r.Orbits[k], slot);
    for (int j = 0; j < k; ++j)
        if (r.Orbits[j].PrimaryID == body || r.Orbits[j].SecondaryID == body) return false;
    return slot == MemberSlot::Primary || r.Orbits[k].PrimaryID != body;
}

void appendName(const Report& r, std::string& text, double& luminosity, bool& luminosityKnown, int bodyId,
                OrbitSet& naming);

// Composes the name of the member in slot of orbit k. A pair that is named
// here for the second time (it belongs to an earlier orbit, or is both
// members of this one) is written as "<ERROR>" like a pair in a naming
// cycle. Stars and planets may be members of several orbits (a star's
// orbits with each of its companions and planets): their names are plain.
void appendMemberName(const Report& r, std::string& text, double& luminosity, bool& luminosityKnown, int k,
                      MemberSlot slot, OrbitSet& naming)
{
    const int member = memberOf(r.Orbits[k], slot);
    if (!namesComponent(member) && !namesPlanet(member) && !isFirstMembership(r, k, slot)) {
        text += kError;
        return;
    }
    appendName(r, text, luminosity, luminosityKnown, member, naming);
}

// Composes the name of bodyId; naming marks the pairs whose names are
// being composed further up, so that a pair that is (directly or through
// others) a member of itself is written as "<ERROR>" instead of recursing
// without end. With each pair a member once, a composed name holds every
// pair at most once.
void appendName(const Report& r, std::string& text, double& luminosity, bool& luminosityKnown, int bodyId,
                OrbitSet& naming)
{
    if (namesComponent(bodyId)) {
        const int i = findComponent(r, bodyId);
        if (i < 0) {
            text += kError;
            return;
        }
        text += r.Components[i].Name;
        const double own = r.Photometry[i].Luminosity;
        if (own == kNoValue)
            luminosityKnown = false;
        else
            luminosity += own;
        return;
    }
    if (namesPlanet(bodyId)) {
        const int i = findPlanet(r, bodyId);
        text += i < 0 ? kError : r.Planets[i].Name;
        return;
    }

    const int k = findOrbit(r, bodyId);
    if (k < 0 || naming.test(static_cast<std::size_t>(k))) {
        // Not loaded, or a pair that contains itself: no name, and like a
        // body that is not found it leaves the light gathered so far alone.
        text += kError;
        return;
    }
    const OrbitRecord& pair = r.Orbits[k];
    naming.set(static_cast<std::size_t>(k));
    // The pair gathers its own light apart from the group it sits in. When
    // its stars' luminosities are all known it is their sum; otherwise it is
    // the pair's combined photometry at the system's distance. That value is
    // then added to what the earlier members of the enclosing group have
    // gathered, so a pair within a pair never drops or hides those members.
    double pairLuminosity = 0;
    bool pairKnown = true;
    text += '(';
    appendMemberName(r, text, pairLuminosity, pairKnown, k, MemberSlot::Primary, naming);
    text += '-';
    appendMemberName(r, text, pairLuminosity, pairKnown, k, MemberSlot::Secondary, naming);
    text += ')';
    naming.reset(static_cast<std::size_t>(k));

    if (!pairKnown && pair.hasMagnitudes && pair.Magnitudes.hasApparentVMag) {
        if (const std::optional<double> derived = luminosityFromApparentMagnitude(pair.Magnitudes.ApparentVMag, r.SystemPosition)) {
            pairLuminosity = *derived;
            pairKnown = true;
        }
    }
    if (pairKnown)
        luminosity += pairLuminosity;
    else
        luminosityKnown = false;
}

// Keeps a composed name within kMaxComposedNameLength: the membership rule
// bounds it already, so a longer one means that rule was broken and the
// name is written as "<ERROR>".
void boundComposedName(std::string& text, std::size_t start)
{
    if (text.size() - start > kMaxComposedNameLength) text.replace(start, std::string::npos, kError);
}

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

// A distance in astronomical units: with the precision of the system's
// (the report's SystemPosition) distance error when it was derived from arcseconds and that error is
// known, plainly otherwise.
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

// Apparent magnitude of a body of absolute magnitude absolute seen from d AU,
// or nothing when d has no logarithm.
std::optional<double> magnitudeSeenFrom(double absolute, double d)
{
    if (!(d > 0)) return std::nullopt;
    const double m = apparentMagnitudeAt(absolute, d * kParsecsPerAU);
    if (!std::isfinite(m)) return std::nullopt;
    return m;
}

// What the orbit section works out for one orbit; a value that is not
// available is empty.
struct OrbitView {
    std::string primaryName, secondaryName;
    double primaryLuminosity = 0, secondaryLuminosity = 0;
    bool primaryKnown = true, secondaryKnown = true;
    std::optional<double> axisAU, periastronAU, apastronAU, pairComfortZone;
};

// How bright `other` (of luminosity otherLuminosity) looks from `from`.
// The heading is written only when at least one magnitude can be computed.
void printViewFrom(const std::string& from, const std::string& other, double otherLuminosity, const OrbitView& view)
{
    const double absolute = absoluteMagnitudeOfLuminosity(otherLuminosity);
    std::vector<std::pair<const char*, double>> lines;
    if (view.periastronAU && view.apastronAU) {
        if (auto m = magnitudeSeenFrom(absolute, *view.periastronAU)) lines.emplace_back("At periastron, ", *m);
        if (auto m = magnitudeSeenFrom(absolute, *view.apastronAU)) lines.emplace_back("At apastron, ", *m);
    } else if (auto m = magnitudeSeenFrom(absolute, *view.axisAU)) {
        lines.emplace_back("", *m);
    }
    if (lines.empty() || !std::isfinite(absolute)) return;
    writeFormatted("<BR><B>As seen from %s:</B>\n", from.c_str());
    for (const auto& [lead, magnitude] : lines)
        writeFormatted("<BR>%s%s%s would appear as magnitude %+.2f\n", kIndent, lead, other.c_str(), magnitude);
}

// The pair's combined spectrum, apparent magnitude, absolute magnitude and
// luminosity (first take only); sets the comfort zone around both.
void printPairData(const Report& r, const OrbitRecord& orbit, bool bodyMode, const LineWriter& line,
                   OrbitView& view)
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

    std::optional<double> pairLuminosity;
    if (view.primaryKnown && view.secondaryKnown) {
        pairLuminosity = view.primaryLuminosity + view.secondaryLuminosity;
    } else if (orbit.hasMagnitudes && orbit.Magnitudes.hasApparentVMag) {
        // Shown only when the stars' own luminosities do not all exist.
        const double m = orbit.Magnitudes.ApparentVMag;
        if (!bodyMode) writeFormatted("<BR><B>Combined apparent visual magnitude:</B> %+.2f\n", m);
        pairLuminosity = luminosityFromApparentMagnitude(m, r.SystemPosition);
    }
    if (bodyMode || !pairLuminosity || !(*pairLuminosity > 0) || !std::isfinite(*pairLuminosity)) return;

    writeFormatted("<BR><B>Combined absolute visual magnitude:</B> %+.2f\n",
                   absoluteMagnitudeOfLuminosity(*pairLuminosity));
    writeText("<BR><B>Combined visual luminosity:</B> ");
    writeWithSystemError(*pairLuminosity, kSmallValue, " x Sol\n", r.SystemPosition);
    view.pairComfortZone = std::sqrt(*pairLuminosity);
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
void printApsis(const char* label, double factor, const OrbitRecord& orbit, const PositionRecord& system,
                const LineWriter& line, std::optional<double>& au, const OrbitView& view)
{
    line.open(label);
    if (view.axisAU) {
        au = *view.axisAU * factor;
        writeAU(*au, orbit, system);
    } else {
        writeFormatted("%f arcseconds\n", factor * orbit.SemimajorAxis);
    }
}

void printAxisAndAfter(const Report& r, const OrbitRecord& orbit, bool bodyMode, const LineWriter& line,
                       OrbitView& view)
{
    const PositionRecord& system = r.SystemPosition;
    if (orbit.IsAxisAU)
        view.axisAU = orbit.SemimajorAxis;
    else if (system.hasDistance)
        view.axisAU = system.Distance * orbit.SemimajorAxis * kParsecsPerLightYear;  // arcseconds x parsecs

    line.open(orbit.IsAxisJustGap ? "<B>Observed Separation:</B> " : "<B>Semimajor Axis:</B> ");
    if (view.axisAU)
        writeAU(*view.axisAU, orbit, system);
    else
        writeNumber(orbit.SemimajorAxis, kSmallDistance, " arcseconds\n");

    if (!orbit.IsAxisJustGap && orbit.hasEccentricity) {
        const double e = orbit.Eccentricity;
        line.open("<B>Eccentricity:</B> ");
        writeFormatted("%g\n", e);
        // Written for every eccentricity: at 1 or more the periastron
        // distance is 0 or negative, which prints as a number; only the view
        // from that distance has no logarithm and is left out.
        printApsis("<B>Periastron distance:</B> ", 1 - e, orbit, system, line, view.periastronAU, view);
        printApsis("<B>Apastron distance:</B> ", 1 + e, orbit, system, line, view.apastronAU, view);
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

    if (view.pairComfortZone && view.axisAU && 2 * *view.axisAU <= *view.pairComfortZone) {
        writeText("<BR><B>Comfort Zone (visual) around both:</B> ");
        writeWithSystemError(*view.pairComfortZone, kSmallDistance, " A.U.s\n", system);
    }
    if (!view.axisAU) return;
    if (view.secondaryKnown && view.secondaryLuminosity > 0)
        printViewFrom(view.primaryName, view.secondaryName, view.secondaryLuminosity, view);
    if (view.primaryKnown && view.primaryLuminosity > 0)
        printViewFrom(view.secondaryName, view.primaryName, view.primaryLuminosity, view);
}

}  // namespace

void appendBodyName(const Report& report, std::string& text, double& luminosity, bool& luminosityKnown, int bodyId)
{
    OrbitSet naming;
    const std::size_t start = text.size();
    appendName(report, text, luminosity, luminosityKnown, bodyId, naming);
    boundComposedName(text, start);
}

void printOrbits(const Report& r, int bodyId)
{
    const bool bodyMode = bodyId != 0;
    const LineWriter line(bodyMode);
    std::vector<std::pair<int, int>> shown;  // primary and secondary of each orbit shown so far

    for (int i = 0; i < r.OrbitCount; ++i) {
        const OrbitRecord& orbit = r.Orbits[i];
        if (bodyMode ? !(orbit.PrimaryID == bodyId || orbit.SecondaryID == bodyId)
                     : (isListedPlanet(orbit.PrimaryID) || isListedPlanet(orbit.SecondaryID)))
            continue;

        int take = 0;
        for (const auto& [primary, secondary] : shown)
            if (primary == orbit.PrimaryID && secondary == orbit.SecondaryID) ++take;
        shown.emplace_back(orbit.PrimaryID, orbit.SecondaryID);

        OrbitView view;
        OrbitSet naming;
        appendMemberName(r, view.primaryName, view.primaryLuminosity, view.primaryKnown, i, MemberSlot::Primary,
                         naming);
        appendMemberName(r, view.secondaryName, view.secondaryLuminosity, view.secondaryKnown, i,
                         MemberSlot::Secondary, naming);
        boundComposedName(view.primaryName, 0);
        boundComposedName(view.secondaryName, 0);

        if (take > 0) {
            if (bodyMode)
                writeText("<BR>&mdash; OR &mdash;\n");
            else
                writeFormatted("<P><B><U>Data for %s and %s's orbit, take %d:</U></B>\n", view.primaryName.c_str(),
                               view.secondaryName.c_str(), take + 1);
        } else {
            if (!bodyMode)
                writeFormatted("<P><B><U>Data for %s and %s's orbit around one other:</U></B>\n",
                               view.primaryName.c_str(), view.secondaryName.c_str());
            printPairData(r, orbit, bodyMode, line, view);
        }

        printPeriod(orbit, line);
        if (orbit.hasSemimajorAxis) {
            printAxisAndAfter(r, orbit, bodyMode, line, view);
            continue;
        }
        if (orbit.hasEccentricity) {
            line.open("<B>Eccentricity:</B> ");
            writeFormatted("%g\n", orbit.Eccentricity);
        }
        if (!bodyMode && view.pairComfortZone) {
            writeText("<BR><B>Comfort Zone (visual) around both:</B> ");
            writeWithSystemError(*view.pairComfortZone, kSmallValue, " A.U.s\n", r.SystemPosition);
        }
    }
}

}  // namespace vldr
