// The unit a page writes an orbital period in.
#pragma once

namespace vldr {

// A period converted to the unit it is shown in.
struct PeriodInUnits {
    double value = 0;          // in unit
    const char* unit = "";     // "hours", "days" or "years"
    bool inHours = false;      // the unit is hours
};

// Returns years as hours when below one day, as days when below one year,
// and as years otherwise.
PeriodInUnits periodInUnits(double years);

}  // namespace vldr
