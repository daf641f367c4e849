#include "period_units.h"

#include "constants.h"

namespace vldr {

PeriodInUnits periodInUnits(double years)
{
    if (years < kOneDayInYears) return PeriodInUnits{years * kHoursPerYear, "hours", true};
    if (years < 1) return PeriodInUnits{years * kDaysPerYear, "days", false};
    return PeriodInUnits{years, "years", false};
}

}  // namespace vldr
