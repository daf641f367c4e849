#include "system_loading.h"

#include <string>

#include "column_list.h"
#include "dates.h"
#include "name_lists.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {
namespace {

// The columns of a Systems row and the fields they fill.
constexpr ColumnList<SystemRecord, 11> kSystemColumns{{
    selectedColumn<SystemRecord, [](SystemRecord& s) { return flagged(s.Age.Value, s.Age.hasValue); }>("Age"),
    selectedColumn<SystemRecord, [](SystemRecord& s) { return flagged(s.Age.Error, s.Age.hasError); }>("AgeError"),
    selectedColumn<SystemRecord, [](SystemRecord& s) { return flagged(s.Age.Source, s.Age.hasSource); }>("AgeSource"),
    selectedColumn<SystemRecord, [](SystemRecord& s) { return flagged(s.Age.Comment, s.Age.hasComment); }>(
        "AgeComment"),
    selectedColumn<SystemRecord, [](SystemRecord& s) { return flagged(s.Metallicity.Value, s.Metallicity.hasValue); }>(
        "Metallicity"),
    selectedColumn<SystemRecord, [](SystemRecord& s) { return flagged(s.Metallicity.Error, s.Metallicity.hasError); }>(
        "MetallicityError"),
    selectedColumn<SystemRecord,
                   [](SystemRecord& s) { return flagged(s.Metallicity.Source, s.Metallicity.hasSource); }>(
        "MetallicitySource"),
    selectedColumn<SystemRecord,
                   [](SystemRecord& s) { return flagged(s.Metallicity.Comment, s.Metallicity.hasComment); }>(
        "MetallicityComment"),
    flaggedColumn<&SystemRecord::ArityComment, &SystemRecord::hasArityComment>("ArityComment"),
    flaggedColumn<&SystemRecord::PointsOfInterest, &SystemRecord::hasPointsOfInterest>("PointsOfInterest"),
    clearedColumn<&SystemRecord::LastUpdated>("LastUpdated"),
}};

}  // namespace

std::string systemStatement(Id systemId)
{
    return composeStatement("SELECT %s FROM Systems WHERE ID = %ld", selectList(kSystemColumns).c_str(), static_cast<long>(systemId));
}

void loadSystemNames(Report& r, SQLHSTMT statement, Id systemId)
{
    std::string name;
    if (getSystemName(statement, r.Catalogs, systemId, name)) r.DisplayName = name;
    r.SystemNames = loadNameLists(statement, systemId);
}

// A NULL date reads as the zero date, which is never the newest.
void loadSystemRecord(Report& r, SQLHSTMT statement, Id systemId)
{
    r.hasSystemRow = fetchFirstRow(statement, systemStatement(systemId),
                                   [&r](RowBinder& row) { bindColumnList(row, kSystemColumns, r.System); });
    if (r.hasSystemRow) noteUpdate(r, r.System.LastUpdated);
}

}  // namespace vldr
