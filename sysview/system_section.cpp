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

// "<BR><B>Standard error in NOUN:</B> N%" (truncated) and "<BR><B>Source
// for NOUN:</B> SOURCE", each when the estimate has it.
void printErrorAndSource(const SystemEstimate& estimate, const char* noun, const CatalogNames& catalogs)
{
    int percent = 0;
    if (estimate.hasError && truncateToInt(estimate.Error * kPercentPerFraction, percent))
        writeFormatted("<BR><B>Standard error in %s:</B> %d%%\n", noun, percent);
    if (estimate.hasSource)
        writeFormatted("<BR><B>Source for %s:</B> %s\n", noun, lookupCatalogName(catalogs, estimate.Source));
}

// "<BR><B>Age:</B> N million years &mdash; comment" (either part alone),
// then its standard error and source.
void printAge(const SystemEstimate& age, const CatalogNames& catalogs)
{
    int millionYears = 0;
    const bool showAge = age.hasValue && truncateToInt(age.Value, millionYears);
    if (showAge || age.hasComment) {
        writeFormatted("<BR><B>Age:</B> ");
        if (showAge) {
            writeFormatted("%d million years", millionYears);
            if (age.hasComment) writeFormatted(" &mdash; %s", age.Comment);
        } else {
            writeFormatted("%s", age.Comment);
        }
        writeFormatted("\n");
    }
    printErrorAndSource(age, "age", catalogs);
}

// "<BR><B>Heavy element abundance:</B> N% of Sol" (rounded) and its comment,
// then its standard error and source.
void printMetallicity(const SystemEstimate& metallicity, const CatalogNames& catalogs)
{
    int percentOfSol = 0;
    const bool showValue = metallicity.hasValue &&
                           truncateToInt(metallicity.Value * kPercentPerFraction + kRoundingHalf, percentOfSol);
    if (showValue || metallicity.hasComment) {
        writeFormatted("<BR><B>Heavy element abundance:</B> ");
        if (showValue) writeFormatted("%d%% of Sol", percentOfSol);
        if (metallicity.hasComment) writeFormatted("%s", metallicity.Comment);
        writeFormatted("\n");
    }
    printErrorAndSource(metallicity, "heavy element abundance", catalogs);
}

}  // namespace

void printSystemNames(const Report& report, Id systemId)
{
    if (report.DisplayName) writeFormatted("<CENTER><H1>%s</H1></CENTER>\n", report.DisplayName->c_str());
    printRadiusSearchForm(systemId, "</FORM>");
    printNameLists(report.SystemNames, report.Catalogs, kSystemNameLists);
}

void printSystemSection(const Report& report)
{
    if (!report.hasSystemRow) return;
    const SystemRecord& system = report.System;
    printAge(system.Age, report.Catalogs);
    printMetallicity(system.Metallicity, report.Catalogs);

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
