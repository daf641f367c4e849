#include "measurement_loading.h"

#include "row_binder.h"
#include "statement.h"

namespace vldr {

bool loadMagnitudes(SQLHSTMT statement, Id ownerId, MagnitudeRecord& record)
{
    const std::string query = composeStatement(
        "SELECT ApparentVMag, VMagIncrease, VariableType, VariablePeriod, BminusV, UminusB, RminusI, "
        "VMagSource, LastUpdated FROM Magnitudes WHERE OwnerID = %ld",
        static_cast<long>(ownerId));
    return fetchFirstRowInto(
        statement, query, flagged(record.ApparentVMag, record.hasApparentVMag),
        flagged(record.VMagIncrease, record.hasVMagIncrease), flagged(record.VariableType, record.hasVariableType),
        flagged(record.VariablePeriod, record.hasVariablePeriod), flagged(record.BminusV, record.hasBminusV),
        flagged(record.UminusB, record.hasUminusB), flagged(record.RminusI, record.hasRminusI),
        flagged(record.VMagSource, record.hasVMagSource), clearedWhenNull(record.LastUpdated));
}

}  // namespace vldr
