#include "display_name.h"

#include "catalog.h"
#include "ids.h"

namespace vldr {

std::string systemDisplayName(SQLHSTMT statement, std::int32_t ownerId)
{
    std::string name;
    if (getSystemName(statement, ownerId, name) && !name.empty()) return name;
    return "System " + std::to_string(systemOf(ownerId));
}

}  // namespace vldr
