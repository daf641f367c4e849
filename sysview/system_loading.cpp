#include "system_loading.h"

#include <string>

#include "dates.h"
#include "name_lists.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {

void loadSystemNames(Report& r, SQLHSTMT statement, Id systemId)
{
    std::string name;
    if (getSystemName(statement, r.Catalogs, systemId, name)) r.DisplayName = name;
    r.SystemNames = loadNameLists(statement, systemId);
}

// A NULL date reads as the zero date, which is never the newest.
void loadSystemRecord(Report& r, SQLHSTMT statement, Id systemId)
{
    const std::string text = composeStatement(
        "SELECT Age, AgeError, AgeSource, AgeComment, Metallicity, MetallicityError, MetallicitySource, "
        "MetallicityComment, ArityComment, PointsOfInterest, LastUpdated FROM Systems WHERE ID = %ld",
        static_cast<long>(systemId));
    SystemRecord& system = r.System;
    SystemEstimate& age = system.Age;
    SystemEstimate& metallicity = system.Metallicity;
    r.hasSystemRow = fetchFirstRow(statement, text, [&](RowBinder& row) {
        row.bindColumns(flagged(age.Value, age.hasValue), flagged(age.Error, age.hasError),
                        flagged(age.Source, age.hasSource), flagged(age.Comment, age.hasComment),
                        flagged(metallicity.Value, metallicity.hasValue),
                        flagged(metallicity.Error, metallicity.hasError),
                        flagged(metallicity.Source, metallicity.hasSource),
                        flagged(metallicity.Comment, metallicity.hasComment),
                        flagged(system.ArityComment, system.hasArityComment),
                        flagged(system.PointsOfInterest, system.hasPointsOfInterest),
                        clearedWhenNull(system.LastUpdated));
    });
    if (r.hasSystemRow) noteUpdate(r, system.LastUpdated);
}

}  // namespace vldr
