// catalogue-download: writes the whole catalogue, one row per component
// star, with the columns of the cone search, for the site's downloads.
//
//   catalogue-download votable|csv > FILE
//
// Reads the data source "VLDR" (ODBCINI and ODBCSYSINI as for the CGI
// programs). Exits with 0 after a complete document, with 1 (nothing
// written to standard output, a message on standard error) when the
// database cannot be read, and with 2 for a wrong argument.
#include <cstdio>
#include <optional>
#include <string_view>

#include "catalog.h"
#include "catalogue_columns.h"
#include "catalogue_download.h"
#include "database_session.h"
#include "output.h"
#include "votable_document.h"

using namespace vldr;

int main(int argc, char** argv)
{
    const std::string_view format = argc == 2 ? argv[1] : "";
    if (format != "votable" && format != "csv") {
        std::fprintf(stderr, "usage: catalogue-download votable|csv > FILE\n");
        return 2;
    }
    DatabaseSession session;
    if (session.open() != SessionFailure::None) {
        std::fprintf(stderr, "catalogue-download: cannot connect to the data source VLDR\n");
        return 1;
    }
    const CatalogNames catalogs = loadCatalogNames(session.statement());
    const std::optional<std::vector<CatalogueRow>> rows = loadCatalogueRows(session.statement(), catalogs);
    session.close();
    if (!rows) {
        std::fprintf(stderr, "catalogue-download: cannot read the components\n");
        return 1;
    }
    const std::vector<const CatalogueColumn*> columns = catalogueColumns(CatalogueTable::Download, 0);
    if (format == "csv") {
        writeCatalogueCsv(columns, *rows);
    } else {
        const VotableDescription about{"Every component star of the VLDR catalogue of nearby star systems",
                                       CatalogueTable::Download, false};
        writeVotableResults(about, columns, *rows);
    }
    flushOutput();
    return 0;
}
