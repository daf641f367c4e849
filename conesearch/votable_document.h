// The documents astronomers' tools read: a VOTable (version 1.3, UTF-8)
// of catalogue rows, the error VOTable of a refused cone search, and the
// same rows as CSV. Every text goes through the XML escaper (xml_output.h);
// every byte through the output module.
#pragma once

#include <string_view>
#include <vector>

#include "catalogue_columns.h"

namespace vldr {

// Writes the CGI header of a VOTable answer: "Content-type: text/xml;
// charset=UTF-8" and an empty line.
void writeVotableHeader();

// What a results document says of itself.
struct VotableDescription {
    std::string_view description;  // the RESOURCE's DESCRIPTION
    CatalogueTable table = CatalogueTable::ConeSearch;
    bool overflow = false;         // rows were left out (QUERY_STATUS "OVERFLOW" after the table)
};

// Writes a complete VOTable document: one RESOURCE of type "results" with
// QUERY_STATUS "OK", the ICRS coordinate system, and one TABLE of columns
// with rows in order.
void writeVotableResults(const VotableDescription& about, const std::vector<const CatalogueColumn*>& columns,
                         const std::vector<CatalogueRow>& rows);

// Writes the complete error document of a cone search with message: an
// INFO named "Error" under VOTABLE, as Simple Cone Search 1.03 prefers, and
// a RESOURCE of type "results" whose INFO QUERY_STATUS is "ERROR" with the
// message, as DALI gives it, so that clients of either find it.
void writeVotableError(std::string_view message);

// Writes columns and rows as CSV (RFC 4180, UTF-8): a header line of the
// column names, then one line per row; a cell holding a comma, a double
// quote or a line end is quoted. Line ends are CR LF.
void writeCatalogueCsv(const std::vector<const CatalogueColumn*>& columns, const std::vector<CatalogueRow>& rows);

}  // namespace vldr
