// The component section: one block per star of the system.
#pragma once

#include "report.h"

namespace vldr {

// Writes one block per component of the report: names, position and
// motion, spectrum, magnitudes, luminosity, variability, colour, mass,
// diameter, comfort zone and detected companions with their orbits.
void printComponents(const Report& report);

}  // namespace vldr
