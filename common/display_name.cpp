#include "display_name.h"

#include "catalog.h"
#include "ids.h"

namespace vldr {

std::string systemDisplayName(SQLHSTMT statement, const CatalogNames& catalogs, Id ownerId)
{
    std::string name;
    if (getSystemName(statement, catalogs, ownerId, name) && !name.empty()) return name;
    return "System " + std::to_string(systemOf(ownerId));
}

}  // namespace vldr
