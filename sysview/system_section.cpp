// The top of the report page: the system's display name, the short search
// form, its proper names and catalogue numbers, and its system-wide data
// (age, heavy-element abundance, arity, points of interest).
#include <climits>
#include <cmath>
#include <string>

#include "catalog.h"
#include "output.h"
#include "number_columns.h"
#include "sections.h"
#include "statement.h"

namespace vldr {
namespace {

// Fractions are shown as whole percentages.
constexpr double kPercentPerFraction = 100.0;
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

// The Systems row of one system; a presence flag for every column but the date.
struct SystemRecord {
    bool hasAge = false;
    double Age = 0;                 // millions of years
    bool hasAgeError = false;
    double AgeError = 0;            // fraction
    bool hasAgeSource = false;
    char AgeSource[kNameSize] = {};
    bool hasAgeComment = false;
    char AgeComment[kCommentSize] = {};
    bool hasMetallicity = false;
    double Metallicity = 0;         // fraction of the Sun's
    bool hasMetallicityError = false;
    double MetallicityError = 0;    // fraction
    bool hasMetallicitySource = false;
    char MetallicitySource[kNameSize] = {};
    bool hasMetallicityComment = false;
    char MetallicityComment[kCommentSize] = {};
    bool hasArityComment = false;
    char ArityComment[kCommentSize] = {};
    bool hasPointsOfInterest = false;
    char PointsOfInterest[kPointsOfInterestSize] = {};
    DATE_STRUCT LastUpdated = {};
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

// Reads the Systems row of systemId into record. False when the query
// fails or there is no row.
bool loadSystemRecord(SQLHSTMT statement, long systemId, SystemRecord& record)
{
    const std::string text = composeStatement(
        "SELECT Age, AgeError, AgeSource, AgeComment, Metallicity, MetallicityError, MetallicitySource, "
        "MetallicityComment, ArityComment, PointsOfInterest, LastUpdated FROM Systems WHERE ID = %ld",
        systemId);
    if (!runQuery(statement, text)) return false;
    SQLLEN age = 0, ageError = 0, ageSource = 0, ageComment = 0, metallicity = 0, metallicityError = 0;
    SQLLEN metallicitySource = 0, metallicityComment = 0, arityComment = 0, pointsOfInterest = 0, updated = 0;
    bindColumn(statement, 1, SQL_C_DOUBLE, &record.Age, 0, &age);
    bindColumn(statement, 2, SQL_C_DOUBLE, &record.AgeError, 0, &ageError);
    bindText(statement, 3, record.AgeSource, &ageSource);
    bindText(statement, 4, record.AgeComment, &ageComment);
    bindColumn(statement, 5, SQL_C_DOUBLE, &record.Metallicity, 0, &metallicity);
    bindColumn(statement, 6, SQL_C_DOUBLE, &record.MetallicityError, 0, &metallicityError);
    bindText(statement, 7, record.MetallicitySource, &metallicitySource);
    bindText(statement, 8, record.MetallicityComment, &metallicityComment);
    bindText(statement, 9, record.ArityComment, &arityComment);
    bindText(statement, 10, record.PointsOfInterest, &pointsOfInterest);
    bindColumn(statement, 11, SQL_C_DATE, &record.LastUpdated, sizeof record.LastUpdated, &updated);
    const bool fetched = fetchRow(statement);
    // The bound storage is the caller's: release it before returning.
    SQLFreeStmt(statement, SQL_UNBIND);
    if (!fetched) return false;
    record.hasAge = isPresentNumber(record.Age, age);
    record.hasAgeError = isPresentNumber(record.AgeError, ageError);
    record.hasAgeSource = isPresent(ageSource);
    record.hasAgeComment = isPresent(ageComment);
    record.hasMetallicity = isPresentNumber(record.Metallicity, metallicity);
    record.hasMetallicityError = isPresentNumber(record.MetallicityError, metallicityError);
    record.hasMetallicitySource = isPresent(metallicitySource);
    record.hasMetallicityComment = isPresent(metallicityComment);
    record.hasArityComment = isPresent(arityComment);
    record.hasPointsOfInterest = isPresent(pointsOfInterest);
    if (!isPresent(updated)) record.LastUpdated = DATE_STRUCT{};
    return true;
}

// The system's own proper names on one line, when it has any.
void printProperNames(SQLHSTMT statement, long systemId)
{
    if (!runQuery(statement, composeStatement("SELECT Name FROM ProperNames WHERE OwnerID = %ld", systemId)))
        return;
    char name[kNameSize] = {};
    SQLLEN nameIndicator = 0;
    bindText(statement, 1, name, &nameIndicator);
    bool first = true;
    while (fetchRow(statement)) {
        if (!isPresent(nameIndicator)) name[0] = '\0';
        writeFormatted(first ? "<B>Proper names:</B> " : ", ");
        writeFormatted("%s", name);
        first = false;
    }
    SQLFreeStmt(statement, SQL_UNBIND);
    if (!first) writeFormatted("\n");
}

// The system's own catalogue numbers, each under its catalogue's label.
void printCatalogNumbers(SQLHSTMT statement, long systemId)
{
    if (!runQuery(statement,
                  composeStatement("SELECT CatAbbrev, Value FROM CatalogNumbers WHERE OwnerID = %ld", systemId)))
        return;
    char abbreviation[kAbbreviationSize] = {};
    char value[kNameSize] = {};
    SQLLEN abbreviationIndicator = 0, valueIndicator = 0;
    bindText(statement, 1, abbreviation, &abbreviationIndicator);
    bindText(statement, 2, value, &valueIndicator);
    bool first = true;
    while (fetchRow(statement)) {
        if (!isPresent(abbreviationIndicator)) abbreviation[0] = '\0';
        if (!isPresent(valueIndicator)) value[0] = '\0';
        writeFormatted(first ? "<BR><B>Catalog numbers:</B>\n<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;" : ", ");
        writeFormatted("%s %s", formatCatalogLabel(abbreviation).c_str(), value);
        first = false;
    }
    SQLFreeStmt(statement, SQL_UNBIND);
    if (!first) writeFormatted("\n");
}

// "<BR><B>Age:</B> N million years &mdash; comment" (either part alone),
// the standard error of the age (truncated) and its source.
void printAge(const SystemRecord& system)
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
    if (system.hasAgeSource) writeFormatted("<BR><B>Source for age:</B> %s\n", lookupCatalogName(system.AgeSource));
}

// "<BR><B>Heavy element abundance:</B> N% of Sol" (rounded) and its comment,
// its standard error (truncated) and its source.
void printMetallicity(const SystemRecord& system)
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
                       lookupCatalogName(system.MetallicitySource));
}

}  // namespace

// Title heading with the display name (none when the system has none),
// the radius search form closed by "</FORM>" alone, then the proper names
// and catalogue numbers of the system itself (not of its components).
void printSystemNames(SQLHSTMT statement, long systemId)
{
    std::string name;
    if (getSystemName(statement, systemId, name)) writeFormatted("<CENTER><H1>%s</H1></CENTER>\n", name.c_str());
    printRadiusSearchForm(systemId, "</FORM>");
    printProperNames(statement, systemId);
    printCatalogNumbers(statement, systemId);
}

// Age, heavy-element abundance, arity (the ArityComment, else the word for
// the number of loaded components) and points of interest from the
// Systems row, whose date joins the newest-update rule. Nothing at all
// when the row cannot be read.
void printSystemSection(SQLHSTMT statement, long systemId)
{
    SystemRecord system;
    if (!loadSystemRecord(statement, systemId, system)) return;
    noteUpdate(system.LastUpdated);

    printAge(system);
    printMetallicity(system);

    writeFormatted("<BR><B>Arity:</B> ");
    const int count = report().ComponentCount;
    if (system.hasArityComment) {
        writeFormatted("%s", system.ArityComment);
    } else if (count >= 1 && count <= kMaxComponents) {
        writeFormatted("%s", kArityWords[count]);
    }
    writeFormatted("\n");

    if (system.hasPointsOfInterest)
        writeFormatted("<BR><B>Points of interest:</B>\n<BR>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;%s\n<BR>\n",
                       system.PointsOfInterest);
}

// "LONG NAME (ABBREV)" when the registry holds a non-empty long name for
// the abbreviation, else the abbreviation itself.
std::string formatCatalogLabel(const char* abbreviation)
{
    const char* longName = lookupCatalogName(abbreviation);
    // The lookup hands back its argument when it has no long name.
    if (longName == abbreviation) return abbreviation;
    return std::string(longName) + " (" + abbreviation + ")";
}

}  // namespace vldr
