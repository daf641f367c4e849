// The fuzz targets' checks on known responses and values: a check that
// passed everything would let every fuzz run pass. Run by scripts/fuzz
// before the targets; prints each failed case and exits 1 if any failed.
#include <cstdio>
#include <string>

#include "literal_check.h"
#include "response_check.h"

using namespace vldr::fuzz;

namespace {

int passed = 0;
int failed = 0;

void expect(bool condition, const char* what)
{
    if (condition) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what);
    }
}

const std::string kPlain = "Content-type: text/plain\n\n";
const std::string kPage = "Content-type: text/html\n\n<HTML>\n<HEAD>\n</HEAD>\n<BODY>\n";
const std::string kMatchList = kPage + "<CENTER><H3>2 stars found with a name matching &quot;a&quot;:</H3></CENTER>\n" +
                               "<BR><A HREF=\"sysview.exe?ID=100\">Sol</A>\n";

bool complete(const std::string& response, const std::string& query = "ID=100", bool matchList = true)
{
    return responseFault(response, query, matchList).empty();
}

}  // namespace

int main()
{
    expect(complete(kPlain + "Please enter one or more search criteria.\n"), "a plain-text answer is complete");
    expect(!complete(kPlain + "Please enter"), "a plain-text answer without its line end is cut short");
    expect(!complete(kPlain), "a plain-text header alone is no answer");
    expect(!complete(""), "an empty response is no answer");
    expect(!complete("Please enter one or more search criteria.\n"), "a body without a header is no answer");
    expect(!complete("Content-type: text/plain\nBody\n"), "a header without its empty line is no answer");

    expect(complete(kPage + "Text\n</BODY>\n</HTML>\n"), "a closed page is complete");
    expect(!complete(kPage + "Text\n"), "an unclosed page is cut short");
    expect(!complete(kPage + "</BODY>\n</HTML>\n</BODY>\n</HTML>\n"), "a page closed twice is not well-formed");
    expect(!complete("Content-type: text/html\n\nText\n</BODY>\n</HTML>\n"), "a page without <HTML> is not well-formed");
    expect(complete(kMatchList), "sysview's match list ends after its last link");
    expect(!complete(kMatchList, "Name=a", false), "only sysview's match list may end after a link");
    expect(!complete(kMatchList + "<BR><A HREF=\"sysview.exe?ID=200\">Bar"), "a match list cut inside a link is short");
    expect(!complete(kPage + "<BR><A HREF=\"x\">y</A>\n"), "a page ending after a link is a match list only");

    expect(!complete(kPage + "Magnitude +nan\n</BODY>\n</HTML>\n"), "nan on a page is a fault");
    expect(!complete(kPage + "Distance -inf ly\n</BODY>\n</HTML>\n"), "inf on a page is a fault");
    expect(complete(kPage + "No star name matching \"nan\" found.\n</BODY>\n</HTML>\n", "Name=NaN"),
           "a page may echo nan when the query holds it");
    expect(complete(kPage + "Infrared Nancy inference\n</BODY>\n</HTML>\n"), "words containing nan or inf are text");

    expect(quotesAreDoubled("O''Brien''''s"), "doubled quotes stay one literal");
    expect(quotesAreDoubled(""), "an empty value is one literal");
    expect(!quotesAreDoubled("123456789'"), "a lone quote at the end ends the literal");
    expect(!quotesAreDoubled("a'''b"), "three quotes end the literal");

    std::printf("response_check_test: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
