#include "id_not_found_page.h"

#include "output.h"

namespace vldr {

void writeIdNotFoundPage(Id id)
{
    writeHtmlHead("<TITLE>VLDR system ID lookup search results</TITLE>");
    writeFormatted("No star system with an ID of %d exists in the database.\n", static_cast<int>(id));
    writeHtmlClose();
}

}  // namespace vldr
