#include "name_lists.h"

#include "field_limits.h"
#include "output.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

std::vector<std::string> loadProperNames(SQLHSTMT statement, Id ownerId)
{
    std::vector<std::string> names;
    char name[kNameSize] = {};
    // A failed query leaves the names out, as every failed query leaves its part out.
    const bool ran = forEachRow(
        statement, composeStatement("SELECT Name FROM ProperNames WHERE OwnerID = %ld", static_cast<long>(ownerId)),
        [&name](RowBinder& row) { row.bindColumns(clearedWhenNull(name)); },
        [&] {
            names.emplace_back(name);
            return true;
        });
    if (!ran) names.clear();
    return names;
}

std::vector<CatalogNumber> loadCatalogNumbers(SQLHSTMT statement, Id ownerId)
{
    std::vector<CatalogNumber> numbers;
    char abbreviation[kAbbreviationSize] = {};
    char value[kNameSize] = {};
    const bool ran = forEachRow(
        statement, composeStatement("SELECT CatAbbrev, Value FROM CatalogNumbers WHERE OwnerID = %ld", static_cast<long>(ownerId)),
        [&](RowBinder& row) { row.bindColumns(clearedWhenNull(abbreviation), clearedWhenNull(value)); },
        [&] {
            numbers.push_back(CatalogNumber{abbreviation, value});
            return true;
        });
    if (!ran) numbers.clear();
    return numbers;
}

}  // namespace

NameLists loadNameLists(SQLHSTMT statement, Id ownerId)
{
    NameLists lists;
    lists.ProperNames = loadProperNames(statement, ownerId);
    lists.CatalogNumbers = loadCatalogNumbers(statement, ownerId);
    return lists;
}

void printNameLists(const NameLists& lists, const CatalogNames& catalogs, const NameListStyle& style)
{
    if (!lists.ProperNames.empty()) {
        const char* separator = style.properNamesLead;
        for (const std::string& name : lists.ProperNames) {
            writeText(separator);
            writeText(name);
            separator = ", ";
        }
        writeText("\n");
    }
    if (!lists.CatalogNumbers.empty()) {
        writeFormatted("<BR><B>Catalog numbers:</B>\n<BR>%s", kIndent);
        const char* separator = "";
        for (const CatalogNumber& number : lists.CatalogNumbers) {
            writeText(separator);
            writeFormatted("%s %s", formatCatalogLabel(catalogs, number.Abbreviation.c_str()).c_str(),
                           number.Value.c_str());
            separator = ", ";
        }
        writeText(style.catalogNumbersEnd);
    }
}

std::string formatCatalogLabel(const CatalogNames& catalogs, const char* abbreviation)
{
    const char* longName = findLongName(catalogs, abbreviation);
    if (!longName) return abbreviation;
    return std::string(longName) + " (" + abbreviation + ")";
}

}  // namespace vldr
