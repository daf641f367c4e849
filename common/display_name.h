// The name a result page gives a system.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>

#include "catalog.h"
#include "ids.h"

namespace vldr {

// The display name of the system that contains ownerId as a page shows it:
// its proper name or system catalogue designation, or "System " and its
// system ID when it has neither (never an empty text). Runs its queries on
// statement; catalogue long names come from catalogs.
std::string systemDisplayName(SQLHSTMT statement, const CatalogNames& catalogs, Id ownerId);

}  // namespace vldr
