#include "system_loading.h"

#include <string>

#include "dates.h"
#include "name_lists.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {

void loadSystemNames(Report& r, SQLHSTMT statement, long systemId)
{
    std::string name;
    if (getSystemName(statement, r.Catalogs, systemId, name)) r.DisplayName = name;
    r.SystemNames = loadNameLists(statement, systemId);
}

// A NULL date reads as the zero date, which is never the newest.
void loadSystemRecord(Report& r, SQLHSTMT statement, long systemId)
{
    const std::string text = composeStatement(
        "SELECT Age, AgeError, AgeSource, AgeComment, Metallicity, MetallicityError, MetallicitySource, "
        "MetallicityComment, ArityComment, PointsOfInterest, LastUpdated FROM Systems WHERE ID = %ld",
        systemId);
    SystemRecord& system = r.System;
    r.hasSystemRow = fetchFirstRow(statement, text, [&system](RowBinder& row) {
        row.bindColumns(flagged(system.Age, system.hasAge), flagged(system.AgeError, system.hasAgeError),
                        flagged(system.AgeSource, system.hasAgeSource),
                        flagged(system.AgeComment, system.hasAgeComment),
                        flagged(system.Metallicity, system.hasMetallicity),
                        flagged(system.MetallicityError, system.hasMetallicityError),
                        flagged(system.MetallicitySource, system.hasMetallicitySource),
                        flagged(system.MetallicityComment, system.hasMetallicityComment),
                        flagged(system.ArityComment, system.hasArityComment),
                        flagged(system.PointsOfInterest, system.hasPointsOfInterest),
                        clearedWhenNull(system.LastUpdated));
    });
    if (r.hasSystemRow) noteUpdate(r, system.LastUpdated);
}

}  // namespace vldr
