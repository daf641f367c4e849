// The proper names and catalogue numbers of one owner (a system or a
// component): loaded before the page is written, printed by the system
// and component sections in their two styles.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

#include "catalog.h"
#include "ids.h"

namespace vldr {

// One CatalogNumbers row: a NULL column reads as empty text.
struct CatalogNumber {
    std::string Abbreviation;
    std::string Value;
};

// The ProperNames and CatalogNumbers rows of one owner, in the order the
// data source returned them. A NULL name reads as empty text.
struct NameLists {
    std::vector<std::string> ProperNames;
    std::vector<CatalogNumber> CatalogNumbers;
};

// Where the two sections' lists differ.
struct NameListStyle {
    const char* properNamesLead;    // before the first proper name
    const char* catalogNumbersEnd;  // after the last catalogue number
};

// The system's lists open its block and the catalogue numbers end their line.
inline constexpr NameListStyle kSystemNameLists{"<B>Proper names:</B> ", "\n"};
// A component's lists follow a line break; the catalogue numbers run on
// into the component's next line.
inline constexpr NameListStyle kComponentNameLists{"<BR><B>Proper names:</B> ", ""};

// Reads the proper names of ownerId, then its catalogue numbers (two
// queries on statement, in this order). A query that fails gives an empty list.
NameLists loadNameLists(SQLHSTMT statement, Id ownerId);

// Writes the proper names on one line ("LEAD name, name\n") when there are
// any, then the catalogue numbers ("<BR><B>Catalog numbers:</B>\n<BR>",
// the indent, "LABEL VALUE, LABEL VALUE", the style's end) when there are
// any. A label is formatCatalogLabel of the abbreviation.
void printNameLists(const NameLists& lists, const CatalogNames& catalogs, const NameListStyle& style);

// Returns the label a catalogue number is shown under: "LONG NAME (ABBREV)",
// or the abbreviation alone when the registry has no long name for it.
std::string formatCatalogLabel(const CatalogNames& catalogs, const char* abbreviation);

}  // namespace vldr
