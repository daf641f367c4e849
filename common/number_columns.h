// How a number read from the database counts as present. The database may
// hold an infinity in a REAL column (SQLite stores 9e999 as one), and a
// stored value beyond the range of a float column arrives as one; neither
// is a measurement. Every number column that is read goes through
// isPresentNumber, so that such a value is absent everywhere, like a NULL,
// and no page ever shows "inf" or "nan".
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cmath>
#include <type_traits>

namespace vldr {

// Reads: the bound storage of one number column after a fetch, and its
// length indicator. Returns true when the column held a finite number.
// A NULL leaves value as it was; a non-finite value is reset to 0 (the
// value of a column that was never filled), so that no later arithmetic on
// a field without a presence flag of its own meets it; both return false.
template <typename Number>
bool isPresentNumber(Number& value, SQLLEN indicator)
{
    static_assert(std::is_floating_point_v<Number>, "only REAL columns can hold non-finite values");
    if (indicator == SQL_NULL_DATA) return false;
    if (std::isfinite(value)) return true;
    value = 0;
    return false;
}

}  // namespace vldr
