#include "report_driver.h"

#include "catalog.h"
#include "loaders.h"
#include "output.h"
#include "photometry.h"
#include "report.h"
#include "sections.h"

namespace vldr {
namespace {

void printDateLine()
{
    const DATE_STRUCT& newest = report().NewestUpdate;
    writeFormatted("Data for this star system were most recently updated on %d-%s-%d.\n",
                   static_cast<unsigned>(newest.day), monthName(newest.month), static_cast<int>(newest.year));
}

}  // namespace

void writeReport(SQLHDBC connection, SQLHSTMT statement, long systemId)
{
    Report& r = report();
    writeHtmlHead("<TITLE>VLDR search results</TITLE>");
    r.NewestUpdate = DATE_STRUCT{1900, 1, 1};
    loadCatalogNames(statement);

    loadComponents(connection, statement, systemId);
    loadComponentPositions(statement, systemId);
    derivePhotometry();
    loadComponentVelocities(statement, systemId);
    printSystemNames(statement, systemId);
    printSystemSection(statement, systemId);
    printPosition(r.SystemPosition, false);
    printSpatialCoordinates(r.SystemPosition);
    printSystemKinematics();

    writeLine("<P><A HREF=\"/fields.html\">What do all these fields mean?</A><BR>");

    loadOrbits(connection, statement, systemId);
    loadPlanets(statement, systemId);
    printOrbits(0);
    printComponents(statement);

    freeCatalogNames();
    printRadiusSearchForm(systemId, "</FORM>\n");
    printRingSearchForm(systemId);
    printDateLine();
    writeHtmlClose();
}

}  // namespace vldr
