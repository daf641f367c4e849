// The catalogue registry (abbreviations and their long names) and the
// display name of a star system.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <vector>

#include "field_limits.h"
#include "ids.h"

namespace vldr {

// One row of CatalogNames in memory.
struct CatalogName {
    std::optional<std::string> Description;  // none when the column was NULL
    char Abbreviation[kAbbreviationSize] = {};
    char LongName[kLongNameSize] = {};
    bool HasNoCatNumbers = false;

    // Replaces the description with a copy of text, or with none when text is null.
    void setDescription(const char* text);
};

// The catalogue registry: the CatalogNames rows in the order the data
// source returned them. The caller that loads it owns it.
struct CatalogNames {
    std::vector<CatalogName> rows;
};

// Reads every CatalogNames row. A failed query gives an empty registry.
CatalogNames loadCatalogNames(SQLHSTMT statement);

// Returns the long name of the first registry row with exactly this
// abbreviation when that name is not empty; null otherwise. The text lives
// as long as the registry.
const char* findLongName(const CatalogNames& catalogs, const char* abbreviation);

// Returns the text a page shows for an abbreviation: its long name
// (findLongName), else the abbreviation itself. The returned text lives as
// long as the registry or the argument.
const char* lookupCatalogName(const CatalogNames& catalogs, const char* abbreviation);

// Writes the display name of the system that contains ownerId (a system or
// one of its components) into out: the system's own proper name, else its
// system catalogue designation as the catalogue's long name (looked up in
// catalogs), a space and the value. A proper name that is empty text (or
// NULL) counts as none. Returns false, leaving out unchanged, when the
// system has neither or a query fails. Leaves the statement with an open cursor.
bool getSystemName(SQLHSTMT statement, const CatalogNames& catalogs, Id ownerId, std::string& out);

}  // namespace vldr
