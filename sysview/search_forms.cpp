// The forms on a report page that start a neighbour search around the
// system, submitted by GET to proxlist.
#include "search_forms.h"

#include "output.h"

namespace vldr {

void printRadiusSearchForm(Id systemId, const char* closingLine)
{
    writeLine("<FORM ACTION=\"/Scripts/proxlist.exe\" METHOD=\"GET\">");
    writeFormatted("<INPUT TYPE=\"Hidden\" NAME=\"ID\" VALUE=\"%d\">\n", static_cast<int>(systemId));
    writeLine("<INPUT TYPE=\"Submit\" VALUE=\"Find all stars within\">");
    writeLine("<INPUT TYPE=\"text\" NAME=\"ly\" VALUE=\"15\" SIZE=3> light-years");
    writeLine(closingLine);
}

void printRingSearchForm(Id systemId)
{
    writeLine("<FORM ACTION=\"/Scripts/proxlist.exe\" METHOD=\"GET\">");
    writeFormatted("<INPUT TYPE=\"Hidden\" NAME=\"ID\" VALUE=\"%d\">\n", static_cast<int>(systemId));
    writeLine("<INPUT TYPE=\"Submit\" VALUE=\"Find all stars at least\">");
    writeLine("<INPUT TYPE=\"text\" NAME=\"minLY\" VALUE=\"10\" SIZE=3> but not more than");
    writeLine("<INPUT TYPE=\"text\" NAME=\"ly\" VALUE=\"15\" SIZE=3> light-years away");
    writeLine("</FORM>\n");
}

}  // namespace vldr
