// The derived photometry of every component of the report (the magnitude
// formulas it uses are in magnitudes.h).
#pragma once

#include "magnitudes.h"
#include "report.h"

namespace vldr {

// Derives every component's absolute magnitude, luminosity and comfort zone
// from its apparent magnitude and distance, or the sentinels. Reads the
// report's Components and ComponentPositions, writes its Photometry.
void derivePhotometry(Report& report);

}  // namespace vldr
