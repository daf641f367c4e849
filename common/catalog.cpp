#include "catalog.h"

#include <cstring>
#include <vector>

#include "statement.h"

namespace vldr {
namespace {

std::vector<CatalogName>& registry()
{
    static std::vector<CatalogName> names;
    return names;
}

}  // namespace

void CatalogName::setDescription(const char* text)
{
    if (text) {
        Description = std::string(text);
    } else {
        Description.reset();
    }
}

void loadCatalogNames(SQLHSTMT statement)
{
    freeCatalogNames();
    if (!runQuery(statement, "SELECT COUNT(*) FROM CatalogNames")) return;
    SQLINTEGER count = 0;
    SQLLEN countIndicator = 0;
    bindColumn(statement, 1, SQL_C_LONG, &count, 0, &countIndicator);
    if (!fetchRow(statement) || count <= 0) return;

    if (!runQuery(statement, "SELECT Abbreviation, LongName, Description, HasNoCatNumbers FROM CatalogNames"))
        return;
    std::vector<CatalogName>& names = registry();
    names.resize(static_cast<std::size_t>(count));

    char abbreviation[kAbbreviationSize];
    char longName[kLongNameSize];
    std::vector<char> description(kDescriptionSize);
    unsigned char hasNoCatNumbers = 0;
    SQLLEN abbreviationIndicator = 0, longNameIndicator = 0, descriptionIndicator = 0, flagIndicator = 0;
    bindText(statement, 1, abbreviation, &abbreviationIndicator);
    bindText(statement, 2, longName, &longNameIndicator);
    bindColumn(statement, 3, SQL_C_CHAR, description.data(), static_cast<SQLLEN>(description.size()),
               &descriptionIndicator);
    bindColumn(statement, 4, SQL_C_BIT, &hasNoCatNumbers, 0, &flagIndicator);

    for (CatalogName& record : names) {
        if (!fetchRow(statement)) break;
        if (isPresent(abbreviationIndicator)) std::memcpy(record.Abbreviation, abbreviation, sizeof abbreviation);
        if (isPresent(longNameIndicator)) std::memcpy(record.LongName, longName, sizeof longName);
        if (isPresent(descriptionIndicator)) record.setDescription(description.data());
        record.HasNoCatNumbers = isPresent(flagIndicator) && hasNoCatNumbers != 0;
    }
    SQLFreeStmt(statement, SQL_UNBIND);
}

void freeCatalogNames()
{
    std::vector<CatalogName>().swap(registry());
}

const char* lookupCatalogName(const char* abbreviation)
{
    for (const CatalogName& record : registry()) {
        if (std::strcmp(record.Abbreviation, abbreviation) == 0) {
            return record.LongName[0] != '\0' ? record.LongName : abbreviation;
        }
    }
    return abbreviation;
}

bool getSystemName(SQLHSTMT statement, long ownerId, std::string& out)
{
    const long systemNumber = ownerId / 100;
    if (!runQuery(statement, composeStatement("SELECT Name FROM ProperNames WHERE INT(OwnerID/100) = %ld "
                                              "AND IsSystemName = Yes",
                                              systemNumber)))
        return false;
    char name[kNameSize] = {};
    SQLLEN nameIndicator = 0;
    bindText(statement, 1, name, &nameIndicator);
    if (fetchRow(statement)) {
        out = isPresent(nameIndicator) ? name : "";
        return true;
    }

    if (!runQuery(statement, composeStatement("SELECT CatAbbrev, Value FROM CatalogNumbers WHERE "
                                              "INT(OwnerID/100) = %ld AND IsSystemName = Yes",
                                              systemNumber)))
        return false;
    char abbreviation[kAbbreviationSize] = {};
    char value[kNameSize] = {};
    SQLLEN abbreviationIndicator = 0, valueIndicator = 0;
    bindText(statement, 1, abbreviation, &abbreviationIndicator);
    bindText(statement, 2, value, &valueIndicator);
    if (!fetchRow(statement)) return false;
    if (!isPresent(abbreviationIndicator)) abbreviation[0] = '\0';
    if (!isPresent(valueIndicator)) value[0] = '\0';
    out = lookupCatalogName(abbreviation);
    out += ' ';
    out += value;
    return true;
}

}  // namespace vldr
