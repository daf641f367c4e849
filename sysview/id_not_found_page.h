// The page for an ID request that names no stored system.
#pragma once

namespace vldr {

// Writes the whole page saying that no system with this ID exists.
void writeIdNotFoundPage(long id);

}  // namespace vldr
