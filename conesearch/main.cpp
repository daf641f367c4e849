// conesearch: the IVOA Simple Cone Search service of the catalogue.
//
// Reads QUERY_STRING: RA, DEC (the centre, ICRS degrees) and SR (the
// radius, degrees), and VERB=1|2|3 for fewer or more columns. Answers a
// VOTable with one row per star system whose direction lies within SR of
// the centre, or the error VOTable of a refused request or an unreadable
// database. Exits with 0 after a results document and with -1 otherwise.
#include <cstdlib>
#include <optional>

#include "catalog.h"
#include "catalogue_columns.h"
#include "cone_request.h"
#include "cone_search.h"
#include "output.h"
#include "query_string.h"
#include "request_context.h"
#include "site_address.h"
#include "votable_document.h"

using namespace vldr;

namespace {

constexpr int kStatusDone = 0;
constexpr int kStatusFailed = -1;

constexpr const char* kUnreadableDatabase = "The catalogue database cannot be read at the moment; please try again later.";

int answerError(const char* message)
{
    writeVotableHeader();
    writeVotableError(message);
    flushOutput();
    return kStatusFailed;
}

}  // namespace

int main()
{
    RequestContext context;
    if (const char* queryString = std::getenv("QUERY_STRING")) context.query = parseQueryString(queryString);
    const std::string fault = readConeRequest(context.query, context.request);
    if (!fault.empty()) return answerError(fault.c_str());

    if (context.session.open() != SessionFailure::None) {
        context.session.close();
        return answerError(kUnreadableDatabase);
    }
    const SQLHSTMT statement = context.session.statement();
    std::optional<ConeMatches> matches = findConeMatches(statement, context.request);
    if (!matches) {
        context.session.close();
        return answerError(kUnreadableDatabase);
    }
    const CatalogNames catalogs = loadCatalogNames(statement);
    loadConeDetails(statement, catalogs, siteAddress(), matches->rows);
    context.session.close();

    writeVotableHeader();
    const VotableDescription about{"Nearby star systems within the cone (VLDR Simple Cone Search)",
                                   CatalogueTable::ConeSearch, matches->overflow};
    writeVotableResults(about, catalogueColumns(CatalogueTable::ConeSearch, context.request.verbosity), matches->rows);
    flushOutput();
    return kStatusDone;
}
