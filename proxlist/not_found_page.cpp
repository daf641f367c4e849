#include "not_found_page.h"

#include "output.h"

namespace vldr {
namespace {

constexpr const char* kNotFoundTitle = "<TITLE>VLDR search results</TITLE>";

}  // namespace

void writeNotFoundPage(Id systemId)
{
    writeHtmlHead(kNotFoundTitle);
    writeFormatted("No star name matching ID %ld found.\n", static_cast<long>(systemId));
    writeHtmlClose();
}

}  // namespace vldr
