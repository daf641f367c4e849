// The page for an ID request that names no stored system.
#pragma once

#include "ids.h"

namespace vldr {

// Writes the whole page saying that no system with this ID exists.
void writeIdNotFoundPage(Id id);

}  // namespace vldr
