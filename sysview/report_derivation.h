// The derivation step of the report: after loading, before printing.
#pragma once

#include "report.h"

namespace vldr {

// Works out everything the report page shows beyond the loaded rows: the
// components' photometry (derivePhotometry), their diameters and comfort-
// zone values (ComponentsDerived), and every orbit's names, light, apsides
// and sightings (OrbitsDerived). Reads only what the loaders filled.
void deriveReport(Report& report);

}  // namespace vldr
