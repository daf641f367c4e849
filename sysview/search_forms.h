// The forms on a report page that start a neighbour search around the
// system, submitted by GET to proxlist.
#pragma once

#include "ids.h"

namespace vldr {

// Writes the form that searches within 15 light-years (by default) of
// system systemId, closed by closingLine ("</FORM>" at the top of the page,
// "</FORM>\n" at its foot).
void printRadiusSearchForm(Id systemId, const char* closingLine);

// Writes the form that searches between 10 and 15 light-years (by default)
// of system systemId.
void printRingSearchForm(Id systemId);

}  // namespace vldr
