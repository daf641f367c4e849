#include "measurement_loading.h"

#include "column_list.h"
#include "row_binder.h"
#include "statement.h"

namespace vldr {

namespace {

// The columns of a Magnitudes row and the fields they fill.
constexpr ColumnList<MagnitudeRecord, 9> kMagnitudeColumns{{
    flaggedColumn<&MagnitudeRecord::ApparentVMag, &MagnitudeRecord::hasApparentVMag>("ApparentVMag"),
    flaggedColumn<&MagnitudeRecord::VMagIncrease, &MagnitudeRecord::hasVMagIncrease>("VMagIncrease"),
    flaggedColumn<&MagnitudeRecord::VariableType, &MagnitudeRecord::hasVariableType>("VariableType"),
    flaggedColumn<&MagnitudeRecord::VariablePeriod, &MagnitudeRecord::hasVariablePeriod>("VariablePeriod"),
    flaggedColumn<&MagnitudeRecord::BminusV, &MagnitudeRecord::hasBminusV>("BminusV"),
    flaggedColumn<&MagnitudeRecord::UminusB, &MagnitudeRecord::hasUminusB>("UminusB"),
    flaggedColumn<&MagnitudeRecord::RminusI, &MagnitudeRecord::hasRminusI>("RminusI"),
    flaggedColumn<&MagnitudeRecord::VMagSource, &MagnitudeRecord::hasVMagSource>("VMagSource"),
    clearedColumn<&MagnitudeRecord::LastUpdated>("LastUpdated"),
}};

}  // namespace

std::string magnitudesStatement(Id ownerId)
{
    return composeStatement("SELECT %s FROM Magnitudes WHERE OwnerID = %ld", selectList(kMagnitudeColumns).c_str(),
                            static_cast<long>(ownerId));
}

bool loadMagnitudes(SQLHSTMT statement, Id ownerId, MagnitudeRecord& record)
{
    return fetchFirstRow(statement, magnitudesStatement(ownerId),
                         [&record](RowBinder& row) { bindColumnList(row, kMagnitudeColumns, record); });
}

}  // namespace vldr
