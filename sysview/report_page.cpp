#include "report_page.h"

#include "catalog.h"
#include "component_loading.h"
#include "component_section.h"
#include "dates.h"
#include "orbit_loading.h"
#include "orbit_section.h"
#include "output.h"
#include "position_section.h"
#include "report_derivation.h"
#include "search_forms.h"
#include "system_loading.h"
#include "system_section.h"

namespace vldr {
namespace {

// The oldest date the footer can show: no data at all were dated.
constexpr DATE_STRUCT kNoUpdate{1900, 1, 1};

void loadReport(Report& r, SQLHDBC connection, SQLHSTMT statement, Id systemId);
void printDateLine(const Report& r);

}  // namespace

void writeReport(Report& r, SQLHDBC connection, SQLHSTMT statement, Id systemId)
{
    loadReport(r, connection, statement, systemId);
    deriveReport(r);

    writeHtmlHead("<TITLE>VLDR search results</TITLE>");
    printSystemNames(r, systemId);
    printSystemSection(r);
    printPosition(r.SystemPosition, false, r.Catalogs);
    printSpatialCoordinates(r.SystemPosition);
    printSystemKinematics(r);
    writeLine("<P><A HREF=\"/fields.html\">What do all these fields mean?</A><BR>");
    printSystemOrbits(r);
    printComponents(r);
    printRadiusSearchForm(systemId, "</FORM>\n");
    printRingSearchForm(systemId);
    printDateLine(r);
    writeHtmlClose();
}

namespace {

// Every query of the report, in the order the page has always sent them.
void loadReport(Report& r, SQLHDBC connection, SQLHSTMT statement, Id systemId)
{
    r.NewestUpdate = kNoUpdate;
    r.Catalogs = loadCatalogNames(statement);
    loadComponents(r, connection, statement, systemId);
    loadComponentPositions(r, statement, systemId);
    loadComponentVelocities(r, statement, systemId);
    loadSystemNames(r, statement, systemId);
    loadSystemRecord(r, statement, systemId);
    loadOrbits(r, connection, statement, systemId);
    loadPlanets(r, statement, systemId);
    loadComponentNames(r, statement);
}

void printDateLine(const Report& r)
{
    const DATE_STRUCT& newest = r.NewestUpdate;
    writeFormatted("Data for this star system were most recently updated on %d-%s-%d.\n",
                   static_cast<unsigned>(newest.day), monthName(newest.month), static_cast<int>(newest.year));
}

}  // namespace

}  // namespace vldr
