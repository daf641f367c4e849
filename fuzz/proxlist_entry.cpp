// proxlist's main.cpp compiled into the fuzz targets: its main becomes
// runProxlist.
#include <cstdlib>
#include <optional>

#include "database_session.h"
#include "neighbour_request.h"
#include "neighbour_search.h"
#include "not_found_page.h"
#include "output.h"
#include "plain_text_answers.h"
#include "point_search_page.h"
#include "query_string.h"
#include "request_context.h"
#include "system_search_page.h"

#define main proxlistMain
#include "../proxlist/main.cpp"
#undef main

#include "program_entry.h"

namespace vldr::fuzz {

int runProxlist()
{
    return proxlistMain();
}

}  // namespace vldr::fuzz
