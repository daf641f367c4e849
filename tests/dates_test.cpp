// Date comparison, the newest-update rule and month names.
#include <gtest/gtest.h>

#include "dates.h"
#include "report.h"

using namespace vldr;

namespace {

DATE_STRUCT date(int year, int month, int day)
{
    return DATE_STRUCT{static_cast<SQLSMALLINT>(year), static_cast<SQLUSMALLINT>(month),
                       static_cast<SQLUSMALLINT>(day)};
}

TEST(CompareDates, YearThenMonthThenDay)
{
    EXPECT_EQ(compareDates(date(2004, 3, 8), date(2004, 3, 7)), 1);
    EXPECT_EQ(compareDates(date(2004, 3, 7), date(2004, 3, 8)), -1);
    EXPECT_EQ(compareDates(date(2004, 3, 7), date(2004, 3, 7)), 0);
    EXPECT_EQ(compareDates(date(2005, 1, 1), date(2004, 12, 31)), 1);
    EXPECT_EQ(compareDates(date(2004, 2, 1), date(2004, 1, 31)), 1);
    EXPECT_EQ(compareDates(date(-1, 12, 31), date(0, 1, 1)), -1);
}

TEST(NewestUpdate, KeepsTheLatestDateAndIgnoresAnEmptyOne)
{
    Report r;
    r.NewestUpdate = date(1900, 1, 1);
    noteUpdate(r, date(2001, 5, 5));
    noteUpdate(r, date(1999, 1, 1));
    noteUpdate(r, DATE_STRUCT{});  // what a NULL date reads as
    EXPECT_EQ(compareDates(r.NewestUpdate, date(2001, 5, 5)), 0);
}

TEST(MonthName, EnglishNamesAndEmptyOutsideTheYear)
{
    EXPECT_STREQ(monthName(1), "January");
    EXPECT_STREQ(monthName(3), "March");
    EXPECT_STREQ(monthName(12), "December");
    EXPECT_STREQ(monthName(0), "");
    EXPECT_STREQ(monthName(13), "");
    EXPECT_STREQ(monthName(-1), "");
}

}  // namespace
