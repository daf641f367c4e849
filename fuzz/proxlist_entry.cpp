// proxlist's main.cpp compiled into the fuzz targets: its main becomes
// runProxlist.
#include <cstdlib>
#include <string>

#include "database_session.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "output.h"
#include "query_string.h"

#define main proxlistMain
#include "../proxlist/main.cpp"
#undef main

#include "program_entry.h"

namespace vldr::fuzz {

int runProxlist()
{
    return proxlistMain();
}

void resetProxlistState()
{
    clearQueryParams();
}

}  // namespace vldr::fuzz
