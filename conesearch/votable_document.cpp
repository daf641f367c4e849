#include "votable_document.h"

#include <string>

#include "output.h"
#include "xml_output.h"

namespace vldr {
namespace {

constexpr const char* kDocumentStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<VOTABLE version=\"1.3\" xmlns=\"http://www.ivoa.net/xml/VOTable/v1.3\"\n"
    "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
    "  xsi:schemaLocation=\"http://www.ivoa.net/xml/VOTable/v1.3 http://www.ivoa.net/xml/VOTable/v1.3\">\n";

// The ID of the coordinate system that the position columns refer to.
constexpr const char* kCoordinateSystemId = "icrs";

bool isPositionColumn(const CatalogueColumn& column)
{
    const std::string_view ucd = column.ucd;
    return ucd.starts_with("pos.eq.");
}

void writeField(const CatalogueColumn& column, CatalogueTable table)
{
    writeText("<FIELD name=\"");
    writeUtf8XmlText(column.name);
    writeText("\" ID=\"");
    writeUtf8XmlText(column.name);
    writeText("\" datatype=\"");
    writeUtf8XmlText(column.datatype);
    writeText("\"");
    const std::string_view datatype = column.datatype;
    if (datatype == "char" || datatype == "unicodeChar") writeText(" arraysize=\"*\"");
    if (*column.unit) {
        writeText(" unit=\"");
        writeUtf8XmlText(column.unit);
        writeText("\"");
    }
    writeText(" ucd=\"");
    writeUtf8XmlText(columnUcd(column, table));
    writeText("\"");
    if (isPositionColumn(column)) writeFormatted(" ref=\"%s\"", kCoordinateSystemId);
    writeText(">\n  <DESCRIPTION>");
    writeUtf8XmlText(column.description);
    writeText("</DESCRIPTION>\n</FIELD>\n");
}

void writeRow(const std::vector<const CatalogueColumn*>& columns, const CatalogueRow& row)
{
    std::string line = "<TR>";
    std::string cell;
    for (const CatalogueColumn* column : columns) {
        cell.clear();
        if (column->cell(row, cell)) {
            line += "<TD>";
            appendXmlText(line, cell);
            line += "</TD>";
        } else {
            line += "<TD/>";
        }
    }
    line += "</TR>\n";
    writeText(line);
}

// Appends one CSV cell: quoted when it holds a comma, a quote or a line end.
void appendCsvCell(std::string& line, const std::string& cell)
{
    std::string text;
    appendUtf8Text(text, cell);
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace

void writeVotableHeader()
{
    writeText("Content-type: text/xml; charset=UTF-8\n\n");
}

void writeVotableResults(const VotableDescription& about, const std::vector<const CatalogueColumn*>& columns,
                         const std::vector<CatalogueRow>& rows)
{
    writeText(kDocumentStart);
    writeText("<RESOURCE type=\"results\">\n<DESCRIPTION>");
    writeUtf8XmlText(about.description);
    writeText("</DESCRIPTION>\n");
    writeText("<INFO name=\"QUERY_STATUS\" value=\"OK\"/>\n");
    writeFormatted("<COOSYS ID=\"%s\" system=\"ICRS\"/>\n", kCoordinateSystemId);
    writeText("<TABLE name=\"");
    writeText(about.table == CatalogueTable::Download ? "components" : "systems");
    writeText("\">\n");
    for (const CatalogueColumn* column : columns) writeField(*column, about.table);
    writeText("<DATA>\n<TABLEDATA>\n");
    for (const CatalogueRow& row : rows) writeRow(columns, row);
    writeText("</TABLEDATA>\n</DATA>\n</TABLE>\n");
    if (about.overflow)
        writeFormatted("<INFO name=\"QUERY_STATUS\" value=\"OVERFLOW\">Only the %zu rows nearest the centre are "
                       "given.</INFO>\n",
                       kMaxConeRecords);
    writeText("</RESOURCE>\n</VOTABLE>\n");
}

void writeVotableError(std::string_view message)
{
    writeText(kDocumentStart);
    writeText("<INFO name=\"Error\" value=\"");
    writeUtf8XmlText(message);
    writeText("\"/>\n<RESOURCE type=\"results\">\n<INFO name=\"QUERY_STATUS\" value=\"ERROR\">");
    writeUtf8XmlText(message);
    writeText("</INFO>\n</RESOURCE>\n</VOTABLE>\n");
}

void writeCatalogueCsv(const std::vector<const CatalogueColumn*>& columns, const std::vector<CatalogueRow>& rows)
{
    std::string line;
    for (const CatalogueColumn* column : columns) {
        if (!line.empty()) line += ',';
        line += column->name;
    }
    writeText(line + "\r\n");
    std::string cell;
    for (const CatalogueRow& row : rows) {
        line.clear();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) line += ',';
            cell.clear();
            if (columns[i]->cell(row, cell)) appendCsvCell(line, cell);
        }
        writeText(line + "\r\n");
    }
}

}  // namespace vldr
