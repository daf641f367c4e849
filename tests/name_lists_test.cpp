// The proper-name and catalogue-number lines of a system and of a
// component, from lists in memory, and the unit an orbital period is shown in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "constants.h"
#include "name_lists.h"
#include "period_units.h"

using namespace vldr;

namespace {

std::string printed(const NameLists& lists, const CatalogNames& catalogs, const NameListStyle& style)
{
    ::testing::internal::CaptureStdout();
    printNameLists(lists, catalogs, style);
    return ::testing::internal::GetCapturedStdout();
}

CatalogNames henryDraper()
{
    CatalogNames catalogs;
    CatalogName hd;
    std::strcpy(hd.Abbreviation, "HD");
    std::strcpy(hd.LongName, "Henry Draper Catalogue");
    catalogs.rows.push_back(hd);
    return catalogs;
}

const NameLists kBoth{{"Sol", "", "Helios"}, {{"HD", "1"}, {"GJ", "2"}}};
const std::string kNumbers = "<BR><B>Catalog numbers:</B>\n<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
                             "Henry Draper Catalogue (HD) 1, GJ 2";

TEST(NameLists, TheSystemsListsEndTheirLines)
{
    EXPECT_EQ(printed(kBoth, henryDraper(), kSystemNameLists),
              "<B>Proper names:</B> Sol, , Helios\n" + kNumbers + "\n");
}

TEST(NameLists, AComponentsCatalogueNumbersRunOn)
{
    EXPECT_EQ(printed(kBoth, henryDraper(), kComponentNameLists),
              "<BR><B>Proper names:</B> Sol, , Helios\n" + kNumbers);
}

TEST(NameLists, EmptyListsWriteNothing)
{
    EXPECT_EQ(printed(NameLists{}, henryDraper(), kSystemNameLists), "");
    EXPECT_EQ(printed(NameLists{{}, {{"", "7"}}}, CatalogNames{}, kComponentNameLists),
              "<BR><B>Catalog numbers:</B>\n<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; 7");
}

TEST(PeriodUnits, HoursBelowADayDaysBelowAYear)
{
    EXPECT_STREQ(periodInUnits(kOneDayInYears / 2).unit, "hours");
    EXPECT_TRUE(periodInUnits(kOneDayInYears / 2).inHours);
    EXPECT_DOUBLE_EQ(periodInUnits(kOneDayInYears / 2).value, 12.0);
    EXPECT_STREQ(periodInUnits(kOneDayInYears).unit, "days");
    EXPECT_DOUBLE_EQ(periodInUnits(0.5).value, 0.5 * kDaysPerYear);
    EXPECT_STREQ(periodInUnits(1).unit, "years");
    EXPECT_FALSE(periodInUnits(1).inHours);
    EXPECT_EQ(periodInUnits(1).value, 1);
}

}  // namespace
