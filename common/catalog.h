// The catalogue registry (abbreviations and their long names) and the
// display name of a star system.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>

#include "field_limits.h"

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

// Fills the program-wide registry from CatalogNames, in the order the data
// source returns the rows. A failed query leaves the registry empty.
void loadCatalogNames(SQLHSTMT statement);

// Empties the registry. Does nothing when it is already empty.
void freeCatalogNames();

// Returns the text a page shows for an abbreviation: the long name of the
// first registry row with exactly this abbreviation when that name is not
// empty, else the abbreviation itself. The returned text stays valid until
// freeCatalogNames (or as long as the argument does).
const char* lookupCatalogName(const char* abbreviation);

// Writes the display name of the system that contains ownerId (a system or
// one of its components) into out: the system's own proper name, else its
// system catalogue designation as the catalogue's long name, a space and the
// value. A proper name that is empty text (or NULL) counts as none. Returns false, leaving out unchanged, when the system has neither
// or a query fails. Leaves the statement with an open cursor.
bool getSystemName(SQLHSTMT statement, long ownerId, std::string& out);

}  // namespace vldr
