// How a number read from the database counts as present. The database may
// hold an infinity in a REAL column (SQLite stores 9e999 as one), text that
// the driver reads as nan, or a value beyond the range of a float column,
// which arrives as an infinity; none of them is a measurement, and neither
// is a finite number so large (1e308) that converting its unit overflows.
// Every number column that is read goes through isPresentNumber, so that
// such a value is absent everywhere, like a NULL, and no page ever shows
// "inf" or "nan".
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cmath>
#include <type_traits>

#include "constants.h"

namespace vldr {

// Reads: the bound storage of one number column after a fetch, and its
// length indicator. Returns true when the column held a finite number no
// larger in magnitude than kLargestStoredNumber. A NULL leaves value as it
// was; any other unusable value is reset to 0 (the value of a column that
// was never filled), so that no later arithmetic on a field without a
// presence flag of its own meets it; both return false.
template <typename Number>
bool isPresentNumber(Number& value, SQLLEN indicator)
{
    static_assert(std::is_floating_point_v<Number>, "only REAL columns can hold non-finite values");
    if (indicator == SQL_NULL_DATA) return false;
    if (std::isfinite(value) && std::fabs(value) <= kLargestStoredNumber) return true;
    value = 0;
    return false;
}

}  // namespace vldr
