// The orbit section: the orbits between a system's bodies, and the display
// name of any body, nested pairs included.
#pragma once

#include <string>

#include "report.h"

namespace vldr {

// Appends the display name of a body (component, pair or planet) of the
// report to text, and adds its visual luminosity (Sun = 1) to luminosity or
// clears luminosityKnown. A pair is a member of one pair at most, the first
// orbit that names it: within a pair's name, a member that is a pair of an
// earlier orbit (or both members of this one), or the pair itself, is
// written "<ERROR>" and adds no light. The name takes at most
// kMaxComposedNameLength characters.
void appendBodyName(const Report& report, std::string& text, double& luminosity, bool& luminosityKnown, int bodyId);

// Writes the report's orbits: every orbit between non-planets (bodyId 0,
// system mode) or the orbits of one body, indented (body mode).
void printOrbits(const Report& report, int bodyId);

}  // namespace vldr
