// The page for a request that could not be served: a system without a
// usable position, or a session whose handles could not be allocated.
#pragma once

#include <cstdint>

namespace vldr {

// Writes the whole page: "No star name matching ID <systemId> found."
void writeNotFoundPage(std::int32_t systemId);

}  // namespace vldr
