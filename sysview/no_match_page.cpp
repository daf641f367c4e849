#include "no_match_page.h"

#include "output.h"

namespace vldr {

void writeNoMatchPage(std::string_view text)
{
    writeHtmlHead("<TITLE>VLDR search results</TITLE>");
    writeFormatted("No star name matching \"");
    writeQueryText(text);
    writeFormatted("\" found.\n");
    writeHtmlClose();
}

}  // namespace vldr
