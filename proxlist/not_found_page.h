// The page for a request that could not be served: a system without a
// usable position, or a session whose handles could not be allocated.
#pragma once

#include <cstdint>

#include "ids.h"

namespace vldr {

// Writes the whole page: "No star name matching ID <systemId> found."
void writeNotFoundPage(Id systemId);

}  // namespace vldr
