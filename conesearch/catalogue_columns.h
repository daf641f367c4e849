// The columns of the catalogue as astronomers' tools read it, defined once
// for the cone search's answers and the two downloads (VOTable and CSV):
// name, type, unit, UCD (the IVOA's UCD1+ words) and description of each,
// and how each cell is written from a row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "field_limits.h"
#include "ids.h"
#include "records.h"

namespace vldr {

// One row: a system (cone search) or one of its components (downloads).
struct CatalogueRow {
    Id systemId = 0;
    Id componentId = 0;            // downloads only
    std::string name;              // the system's display name
    std::string component;         // the component's name (Components.Name); downloads only
    PositionRecord position;       // hasRA and hasDec are true for every row of a cone search
    bool hasEpoch = false;
    double epoch = 0;              // of the position (Julian year)
    SpectrumRecord spectrum;       // cone search: the primary's (component S+1)
    bool hasVMag = false;
    double vMag = 0;               // apparent V magnitude; cone search: the primary's
    bool hasBminusV = false;
    double bMinusV = 0;            // B-V colour index (magnitudes)
    double angularDistance = 0;    // from the cone's centre (degrees); cone search only
    std::string reportUrl;         // the system's sysview report
};

// Which table a column set is for.
enum class CatalogueTable { ConeSearch, Download };

// One column.
struct CatalogueColumn {
    const char* name;         // FIELD name and CSV header
    // VOTable datatype: "char" (ASCII text), "unicodeChar" (any text), both
    // with arraysize="*", or "double"
    const char* datatype;
    const char* unit;         // VOUnit, or "" for none
    const char* ucd;          // in the cone search
    const char* downloadUcd;  // in the downloads (where the main identifier is the component's)
    const char* description;
    int verbosity;            // the least VERB that includes it (downloads have every column)
    bool inConeSearch;
    bool inDownload;
    // Appends the cell's text (windows-1252 for database text, ASCII for
    // numbers) to out; returns false, appending nothing, for an empty cell.
    bool (*cell)(const CatalogueRow& row, std::string& out);
};

// The columns of table, in order; for the cone search those of the given
// verbosity (1 to 3). The columns are static and live for the process.
std::vector<const CatalogueColumn*> catalogueColumns(CatalogueTable table, int verbosity);

// The UCD a column carries in table.
const char* columnUcd(const CatalogueColumn& column, CatalogueTable table);

// The path of a system's report on this site, "/Scripts/sysview.exe?ID=%d".
std::string reportPath(Id systemId);

}  // namespace vldr
