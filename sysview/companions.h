// The planets that belong to a component through the orbit hierarchy of a
// report, and membership in that hierarchy.
#pragma once

#include "ids.h"
#include "report.h"

namespace vldr {

// True when x is a member of the report's orbit orbitIndex, or of any orbit
// that contains it directly or through further orbits. Ends on cyclic orbit data.
bool isInOrbitTree(const Report& report, int orbitIndex, int x);

// Writes into ids (room for kMaxCompanions) the planets that belong to
// component x through the report's orbit hierarchy, each once, in the order
// the orbit table first names them; sets count to the number written.
void findCompanions(const Report& report, Id x, int& count, Id* ids);

}  // namespace vldr
