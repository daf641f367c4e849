#include "resolve.h"

#include <algorithm>

#include "catalog.h"
#include "field_limits.h"
#include "output.h"
#include "statement.h"

namespace vldr {
namespace {

int systemOf(long ownerId)
{
    return static_cast<int>(ownerId / 100 * 100);
}

// Whether a row's OwnerID names a star system: present, and of a system ID
// that is a positive multiple of 100. A row that names none (a NULL, or an
// OwnerID below 100 in a database not built by our schema) is no match, so
// that a search never resolves to "system 0" and an empty response.
bool namesASystem(SQLLEN ownerIndicator, long ownerId)
{
    return isPresent(ownerIndicator) && systemOf(ownerId) > 0;
}

// Counts the system of one matched proper name and stores the first kMaxMatches.
void noteMatch(MatchTable& table, int systemId, const char* name)
{
    if (!table.seen.insert(systemId).second) return;
    if (table.count < kMaxMatches) {
        table.ids[table.count] = systemId;
        table.names[table.count] = name;
    }
    ++table.count;
}

// Looks text up as "ABBREV VALUE" in CatalogNumbers; stores the first system found.
bool findSystemByDesignation(SQLHSTMT statement, const std::string& text)
{
    const std::size_t space = text.find(' ');
    if (space == std::string::npos) return false;
    const std::string abbreviation = text.substr(0, space);
    const std::string value = text.substr(space + 1);
    if (!runQuery(statement, composeStatement("SELECT OwnerID FROM CatalogNumbers WHERE CatAbbrev = '%s' "
                                              "AND Value = '%s'",
                                              abbreviation.c_str(), value.c_str())))
        return false;
    SQLINTEGER ownerId = 0;
    SQLLEN indicator = 0;
    bindColumn(statement, 1, SQL_C_LONG, &ownerId, 0, &indicator);
    if (!fetchRow(statement) || !namesASystem(indicator, ownerId)) return false;
    MatchTable& table = matchTable();
    table.ids[0] = systemOf(ownerId);
    table.names[0].clear();
    table.count = 1;
    table.seen.insert(table.ids[0]);
    return true;
}

}  // namespace

MatchTable& matchTable()
{
    static MatchTable table;
    return table;
}

bool systemExists(SQLHSTMT statement, long id)
{
    if (id < 1 || id % 100 != 0) return false;
    if (!runQuery(statement, composeStatement("SELECT COUNT(*) FROM Systems WHERE ID=%ld", id))) return false;
    SQLINTEGER count = 0;
    SQLLEN indicator = 0;
    bindColumn(statement, 1, SQL_C_LONG, &count, 0, &indicator);
    return fetchRow(statement) && count > 0;
}

bool findSystemsByName(SQLHSTMT statement, const std::string& text)
{
    if (!runQueryOnFreshStatement(
            statement, composeStatement("SELECT OwnerID, Name FROM ProperNames WHERE Name LIKE '%%%s%%'", text.c_str())))
        return false;
    SQLINTEGER ownerId = 0;
    char name[kNameSize] = {};
    SQLLEN ownerIndicator = 0, nameIndicator = 0;
    bindColumn(statement, 1, SQL_C_LONG, &ownerId, 0, &ownerIndicator);
    bindText(statement, 2, name, &nameIndicator);
    MatchTable& table = matchTable();
    while (fetchRow(statement)) {
        if (!namesASystem(ownerIndicator, ownerId)) continue;
        noteMatch(table, systemOf(ownerId), isPresent(nameIndicator) ? name : "");
    }
    if (table.count > 0) return true;
    return findSystemByDesignation(statement, text);
}

void printMatchList(SQLHSTMT statement, const std::string& text)
{
    const MatchTable& table = matchTable();
    loadCatalogNames(statement);
    writeHtmlHead("<TITLE>VLDR search results</TITLE>");
    writeFormatted("<CENTER><H3>%d stars found with a name matching &quot;", table.count);
    writeQueryText(text);
    writeFormatted("&quot;:</H3></CENTER>\n");
    if (table.count > kMaxMatches) writeFormatted("<BR>Only the first %d matches will be shown.\n<BR>", kMaxMatches);
    const int shown = std::min(table.count, kMaxMatches);
    for (int i = 0; i < shown; ++i) {
        writeFormatted("<BR><A HREF=\"sysview.exe?ID=%d\">%s", table.ids[i], table.names[i].c_str());
        std::string displayName;
        if (getSystemName(statement, table.ids[i], displayName) && displayName != table.names[i])
            writeFormatted(" (%s)", displayName.c_str());
        writeFormatted("</A>\n");
    }
    freeCatalogNames();
}

}  // namespace vldr
