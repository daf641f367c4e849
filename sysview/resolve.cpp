#include "resolve.h"

#include "field_limits.h"
#include "ids.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// Whether a row's OwnerID names a star system: present, and of a system ID
// that is a positive multiple of 100. A row that names none (a NULL, or an
// OwnerID below 100 in a database not built by our schema) is no match, so
// that a search never resolves to "system 0" and an empty response.
bool namesASystem(bool ownerPresent, Id ownerId)
{
    return ownerPresent && isSystemId(systemOf(ownerId));
}

// Counts the system of one matched proper name and stores the first kMaxMatches.
void noteMatch(MatchTable& table, Id systemId, const char* name)
{
    if (!table.seen.insert(systemId).second) return;
    if (table.count < kMaxMatches) {
        table.ids[table.count] = systemId;
        table.names[table.count] = name;
    }
    ++table.count;
}

// Looks text up as "ABBREV VALUE" in CatalogNumbers; stores the first system found.
bool findSystemByDesignation(SQLHSTMT statement, const SqlQuoted& text, MatchTable& table)
{
    // A space splits no doubled quote, so both parts stay quoted.
    const std::size_t space = text.text().find(' ');
    if (space == std::string::npos) return false;
    const std::string abbreviation = text.text().substr(0, space);
    const std::string value = text.text().substr(space + 1);
    if (!runQuery(statement, composeStatement("SELECT OwnerID FROM CatalogNumbers WHERE CatAbbrev = '%s' "
                                              "AND Value = '%s'",
                                              abbreviation.c_str(), value.c_str())))
        return false;
    Id ownerId = 0;
    RowBinder row(statement);
    row.bindLong(1, ownerId);
    if (!row.fetch() || !namesASystem(row.has(1), ownerId)) return false;
    table.ids[0] = static_cast<int>(systemOf(ownerId));
    table.names[0].clear();
    table.count = 1;
    table.seen.insert(table.ids[0]);
    return true;
}

}  // namespace

bool systemExists(SQLHSTMT statement, Id id)
{
    if (!isSystemId(id)) return false;
    if (!runQuery(statement, composeStatement("SELECT COUNT(*) FROM Systems WHERE ID=%ld", static_cast<long>(id)))) return false;
    SQLINTEGER count = 0;
    RowBinder row(statement);
    row.bindLong(1, count);
    return row.fetch() && count > 0;
}

bool findSystemsByName(SQLHSTMT statement, const SqlQuoted& text, MatchTable& table)
{
    if (!runQueryOnFreshStatement(
            statement, composeStatement("SELECT OwnerID, Name FROM ProperNames WHERE Name LIKE '%%%s%%'", text.text().c_str())))
        return false;
    Id ownerId = 0;
    char name[kNameSize] = {};
    {
        RowBinder row(statement);
        row.bindLong(1, ownerId);
        row.bindText(2, name);
        while (row.fetch()) {
            if (!namesASystem(row.has(1), ownerId)) continue;
            noteMatch(table, static_cast<int>(systemOf(ownerId)), row.has(2) ? name : "");
        }
    }
    if (table.count > 0) return true;
    return findSystemByDesignation(statement, text, table);
}

}  // namespace vldr
