#include "dates.h"

namespace vldr {

int compareDates(const DATE_STRUCT& a, const DATE_STRUCT& b)
{
    if (a.year != b.year) return a.year > b.year ? 1 : -1;
    if (a.month != b.month) return a.month > b.month ? 1 : -1;
    if (a.day != b.day) return a.day > b.day ? 1 : -1;
    return 0;
}

void takeLaterDate(DATE_STRUCT& date, const DATE_STRUCT& candidate)
{
    if (compareDates(candidate, date) == 1) date = candidate;
}

void noteUpdate(Report& report, const DATE_STRUCT& date)
{
    takeLaterDate(report.NewestUpdate, date);
}

const char* monthName(int month)
{
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    if (month < 1 || month > 12) return "";
    return kMonths[month - 1];
}

}  // namespace vldr
