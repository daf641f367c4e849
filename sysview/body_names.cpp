// The display names of a report's bodies: a pair's name joins its members'
// names, and gathers their light.
#include <bitset>
#include <cmath>
#include <optional>
#include <string>

#include "body_names.h"

#include "constants.h"
#include "field_limits.h"
#include "ids.h"
#include "magnitudes.h"

namespace vldr {
namespace {

constexpr char kError[] = "<ERROR>";
// A composed name's bound counts "<ERROR>" as one of its names.
static_assert(sizeof kError <= kNameSize);

using OrbitSet = std::bitset<kMaxOrbits>;

Id memberOf(const OrbitRecord& orbit, MemberSlot slot)
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
    const Id body = memberOf(r.Orbits[k], slot);
    for (int j = 0; j < k; ++j)
        if (r.Orbits[j].PrimaryID == body || r.Orbits[j].SecondaryID == body) return false;
    return slot == MemberSlot::Primary || r.Orbits[k].PrimaryID != body;
}

void appendName(const Report& r, std::string& text, double& luminosity, bool& luminosityKnown, Id bodyId,
                OrbitSet& naming);

// Composes the name of the member in slot of orbit k. A pair that is named
// here for the second time (it belongs to an earlier orbit, or is both
// members of this one) is written as "<ERROR>" like a pair in a naming
// cycle. Stars and planets may be members of several orbits (a star's
// orbits with each of its companions and planets): their names are plain.
void appendMemberNameWithin(const Report& r, std::string& text, double& luminosity, bool& luminosityKnown, int k,
                            MemberSlot slot, OrbitSet& naming)
{
    const Id member = memberOf(r.Orbits[k], slot);
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
void appendName(const Report& r, std::string& text, double& luminosity, bool& luminosityKnown, Id bodyId,
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
    appendMemberNameWithin(r, text, pairLuminosity, pairKnown, k, MemberSlot::Primary, naming);
    text += '-';
    appendMemberNameWithin(r, text, pairLuminosity, pairKnown, k, MemberSlot::Secondary, naming);
    text += ')';
    naming.reset(static_cast<std::size_t>(k));

    if (!pairKnown && pair.hasMagnitudes && pair.Magnitudes.hasApparentVMag) {
        if (const std::optional<double> derived = luminosityAtSystemDistance(pair.Magnitudes.ApparentVMag, r.SystemPosition)) {
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
}  // namespace

std::optional<double> luminosityAtSystemDistance(double m, const PositionRecord& system)
{
    if (!system.hasDistance) return std::nullopt;
    const double luminosity = luminosityOf(absoluteMagnitude(m, system.Distance));
    if (!std::isfinite(luminosity)) return std::nullopt;
    return luminosity;
}

void appendBodyName(const Report& report, std::string& text, double& luminosity, bool& luminosityKnown, Id bodyId)
{
    OrbitSet naming;
    const std::size_t start = text.size();
    appendName(report, text, luminosity, luminosityKnown, bodyId, naming);
    boundComposedName(text, start);
}

void appendMemberName(const Report& report, std::string& text, double& luminosity, bool& luminosityKnown,
                      int orbitIndex, MemberSlot slot)
{
    OrbitSet naming;
    const std::size_t start = text.size();
    appendMemberNameWithin(report, text, luminosity, luminosityKnown, orbitIndex, slot, naming);
    boundComposedName(text, start);
}

}  // namespace vldr
