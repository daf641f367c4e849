// The display name of any body of a report (component, pair or planet),
// nested pairs included, with the visual light the name gathers.
#pragma once

#include <optional>
#include <string>

#include "ids.h"
#include "report.h"

namespace vldr {

// Which member of an orbit a body is.
enum class MemberSlot { Primary, Secondary };

// Appends the display name of a body (component, pair or planet) of the
// report to text, and adds its visual luminosity (Sun = 1) to luminosity or
// clears luminosityKnown. A pair is a member of one pair at most, the first
// orbit that names it: within a pair's name, a member that is a pair of an
// earlier orbit (or both members of this one), or the pair itself, is
// written "<ERROR>" and adds no light. The name takes at most
// kMaxComposedNameLength characters.
void appendBodyName(const Report& report, std::string& text, double& luminosity, bool& luminosityKnown, Id bodyId);

// The same for the member in slot of the report's orbit orbitIndex: a pair
// named there for the second time is written "<ERROR>".
void appendMemberName(const Report& report, std::string& text, double& luminosity, bool& luminosityKnown,
                      int orbitIndex, MemberSlot slot);

// Luminosity (Sun = 1) of a body of apparent magnitude m at the distance
// of system (the report's SystemPosition), or nothing when the system has
// no distance or the result is not a number (a negative distance). At a
// distance of 0 the logarithm is minus infinity and the luminosity comes
// out as 0, a value like any other.
std::optional<double> luminosityAtSystemDistance(double m, const PositionRecord& system);

}  // namespace vldr
