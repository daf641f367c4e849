// The top of the report page: the system's display name, the short search
// form, its proper names and catalogue numbers, and its system-wide data
// (age, heavy-element abundance, arity, points of interest).
#include <climits>
#include <cmath>
#include <string>

#include "system_section.h"

#include "catalog.h"
#include "constants.h"
#include "name_lists.h"
#include "output.h"
#include "search_forms.h"

namespace vldr {
namespace {

// Added before truncation to round a non-negative percentage to the nearest whole one.
constexpr double kRoundingHalf = 0.5;

// The word for a system of 1 to 9 components (index 0 is unused).
constexpr const char* kArityWords[kMaxComponents + 1] = {
    "",
    "singular",
    "binary",
    "trinary",
    "quarternary (!)",
    "quinary (!)",
    "hexary (!!)",
    "heptary (!!)",
    "octary (!!!)",
    "nonary (!!!)",
};

// Truncates value toward zero into out. False when the value has no int
// form (not finite, or beyond the int range); such a value is not shown.
bool truncateToInt(double value, int& out)
{
    const double truncated = std::trunc(value);
    if (!std::isfinite(truncated) || truncated < INT_MIN || truncated > INT_MAX) return false;
    out = static_cast<int>(truncated);
    return true;
}

// "<BR><B>Age:</B> N million years &mdash; comment" (either part alone),
// the standard error of the age (truncated) and its source.
void printAge(const SystemRecord& system, const CatalogNames& catalogs)
{
    int millionYears = 0;
    const bool showAge = system.hasAge && truncateToInt(system.Age, millionYears);
    if (showAge || system.hasAgeComment) {
        writeFormatted("<BR><B>Age:</B> ");
        if (showAge) {
            writeFormatted("%d million years", millionYears);
            if (system.hasAgeComment) writeFormatted(" &mdash; %s", system.AgeComment);
        } else {
            writeFormatted("%s", system.AgeComment);
        }
        writeFormatted("\n");
    }
    int percent = 0;
    if (system.hasAgeError && truncateToInt(system.AgeError * kPercentPerFraction, percent))
        writeFormatted("<BR><B>Standard error in age:</B> %d%%\n", percent);
    if (system.hasAgeSource) writeFormatted("<BR><B>Source for age:</B> %s\n", lookupCatalogName(catalogs, system.AgeSource));
}

// "<BR><B>Heavy element abundance:</B> N% of Sol" (rounded) and its comment,
// its standard error (truncated) and its source.
void printMetallicity(const SystemRecord& system, const CatalogNames& catalogs)
{
    int percentOfSol = 0;
    const bool showValue =
        system.hasMetallicity && truncateToInt(system.Metallicity * kPercentPerFraction + kRoundingHalf, percentOfSol);
    if (showValue || system.hasMetallicityComment) {
        writeFormatted("<BR><B>Heavy element abundance:</B> ");
        if (showValue) writeFormatted("%d%% of Sol", percentOfSol);
        if (system.hasMetallicityComment) writeFormatted("%s", system.MetallicityComment);
        writeFormatted("\n");
    }
    int errorPercent = 0;
    if (system.hasMetallicityError && truncateToInt(system.MetallicityError * kPercentPerFraction, errorPercent))
        writeFormatted("<BR><B>Standard error in heavy element abundance:</B> %d%%\n", errorPercent);
    if (system.hasMetallicitySource)
        writeFormatted("<BR><B>Source for heavy element abundance:</B> %s\n",
                       lookupCatalogName(catalogs, system.MetallicitySource));
}

}  // namespace

void printSystemNames(const Report& report, long systemId)
{
    if (report.DisplayName) writeFormatted("<CENTER><H1>%s</H1></CENTER>\n", report.DisplayName->c_str());
    printRadiusSearchForm(systemId, "</FORM>");
    printNameLists(report.SystemNames, report.Catalogs, kSystemNameLists);
}

void printSystemSection(const Report& report)
{
    if (!report.hasSystemRow) return;
    const SystemRecord& system = report.System;
    printAge(system, report.Catalogs);
    printMetallicity(system, report.Catalogs);

    writeFormatted("<BR><B>Arity:</B> ");
    const int count = report.ComponentCount;
    if (system.hasArityComment) {
        writeFormatted("%s", system.ArityComment);
    } else if (count >= 1 && count <= kMaxComponents) {
        writeFormatted("%s", kArityWords[count]);
    }
    writeFormatted("\n");

    if (system.hasPointsOfInterest)
        writeFormatted("<BR><B>Points of interest:</B>\n<BR>%s%s\n<BR>\n", kIndent, system.PointsOfInterest);
}

}  // namespace vldr
