// The orbit section: the orbits between a system's bodies, printed from
// the report's Orbits and OrbitsDerived.
#pragma once

#include "ids.h"
#include "report.h"

namespace vldr {

// Writes every orbit of the report between non-planets, each with its
// heading: the system listing.
void printSystemOrbits(const Report& report);

// Writes the orbits that name bodyId (a companion), indented, without
// headings: the companion's block.
void printBodyOrbits(const Report& report, Id bodyId);

}  // namespace vldr
