// The top of the report page: the system's display name, the short search
// form, its proper names and catalogue numbers, and its system-wide data.
#pragma once

#include "ids.h"
#include "report.h"

namespace vldr {

// Writes the title heading (the report's DisplayName; none when it has
// none), the radius search form of systemId closed by "</FORM>" alone, then
// the report's SystemNames (the system's own, not its components').
void printSystemNames(const Report& report, Id systemId);

// Writes age, heavy-element abundance, arity (the ArityComment, else the
// word for the number of loaded components) and points of interest from the
// report's System row; nothing at all when the row could not be read.
void printSystemSection(const Report& report);

}  // namespace vldr
