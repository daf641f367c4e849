#include "plain_text_page.h"

#include "output.h"

namespace vldr {

void writePlainTextPage(std::string_view text)
{
    writePlainTextHeader();
    writeLine(text);
}

}  // namespace vldr
