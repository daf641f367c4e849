// Dates of the report: comparison, the newest-update rule and month names.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "report.h"

namespace vldr {

// Three-way comparison of two dates: 1 when a is later, -1 when earlier, 0 when equal.
int compareDates(const DATE_STRUCT& a, const DATE_STRUCT& b);

// Makes candidate the date when it is later (a component's or a pair's
// date becomes the newest of its own rows).
void takeLaterDate(DATE_STRUCT& date, const DATE_STRUCT& candidate);

// The newest-update rule: makes date the report's NewestUpdate when it is later.
void noteUpdate(Report& report, const DATE_STRUCT& date);

// English name of month 1..12; an empty text for any other number.
const char* monthName(int month);

}  // namespace vldr
