// The plain-text answer to a request that cannot be served as a page.
#pragma once

#include <string_view>

namespace vldr {

// Writes the plain-text header and then text (one or more lines) with a final line end.
void writePlainTextPage(std::string_view text);

}  // namespace vldr
