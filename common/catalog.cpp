#include "ids.h"
#include "catalog.h"

#include <cstring>
#include <vector>

#include "row_binder.h"
#include "statement.h"

namespace vldr {

void CatalogName::setDescription(const char* text)
{
    if (text) {
        Description = std::string(text);
    } else {
        Description.reset();
    }
}

CatalogNames loadCatalogNames(SQLHSTMT statement)
{
    CatalogNames catalogs;
    if (!runQuery(statement, "SELECT COUNT(*) FROM CatalogNames")) return catalogs;
    SQLINTEGER count = 0;
    {
        RowBinder row(statement);
        row.bindLong(1, count);
        if (!row.fetch() || count <= 0) return catalogs;
    }

    if (!runQuery(statement, "SELECT Abbreviation, LongName, Description, HasNoCatNumbers FROM CatalogNames"))
        return catalogs;
    std::vector<CatalogName>& names = catalogs.rows;
    names.resize(static_cast<std::size_t>(count));

    char abbreviation[kAbbreviationSize];
    char longName[kLongNameSize];
    std::vector<char> description(kDescriptionSize);
    unsigned char hasNoCatNumbers = 0;
    RowBinder row(statement);
    row.bindText(1, abbreviation);
    row.bindText(2, longName);
    row.bindText(3, description.data(), description.size());
    row.bindBit(4, hasNoCatNumbers);

    for (CatalogName& record : names) {
        if (!row.fetch()) break;
        if (row.has(1)) std::memcpy(record.Abbreviation, abbreviation, sizeof abbreviation);
        if (row.has(2)) std::memcpy(record.LongName, longName, sizeof longName);
        if (row.has(3)) record.setDescription(description.data());
        record.HasNoCatNumbers = row.isSet(4);
    }
    return catalogs;
}

const char* findLongName(const CatalogNames& catalogs, const char* abbreviation)
{
    for (const CatalogName& record : catalogs.rows) {
        if (std::strcmp(record.Abbreviation, abbreviation) == 0)
            return record.LongName[0] != '\0' ? record.LongName : nullptr;
    }
    return nullptr;
}

const char* lookupCatalogName(const CatalogNames& catalogs, const char* abbreviation)
{
    const char* longName = findLongName(catalogs, abbreviation);
    return longName ? longName : abbreviation;
}

bool getSystemName(SQLHSTMT statement, const CatalogNames& catalogs, Id ownerId, std::string& out)
{
    const long systemNumber = systemNumberOf(ownerId);
    if (!runQuery(statement, composeStatement("SELECT Name FROM ProperNames WHERE INT(OwnerID/100) = %ld "
                                              "AND IsSystemName = Yes",
                                              systemNumber)))
        return false;
    {
        char name[kNameSize] = {};
        RowBinder row(statement);
        row.bindText(1, name);
        // An empty (or NULL) proper name is no name: the designation is tried.
        if (row.fetch() && row.has(1) && name[0] != '\0') {
            out = name;
            return true;
        }
    }

    if (!runQuery(statement, composeStatement("SELECT CatAbbrev, Value FROM CatalogNumbers WHERE "
                                              "INT(OwnerID/100) = %ld AND IsSystemName = Yes",
                                              systemNumber)))
        return false;
    char abbreviation[kAbbreviationSize] = {};
    char value[kNameSize] = {};
    RowBinder row(statement);
    row.bindText(1, abbreviation);
    row.bindText(2, value);
    if (!row.fetch()) return false;
    if (!row.has(1)) abbreviation[0] = '\0';
    if (!row.has(2)) value[0] = '\0';
    out = lookupCatalogName(catalogs, abbreviation);
    out += ' ';
    out += value;
    return true;
}

}  // namespace vldr
