// The page for a search text that names no system.
#pragma once

#include <string_view>

namespace vldr {

// Writes the whole page saying that nothing matches text (escaped: it
// comes from the query string).
void writeNoMatchPage(std::string_view text);

}  // namespace vldr
