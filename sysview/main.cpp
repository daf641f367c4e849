// sysview: the CGI program that shows one star system.
//
// Reads QUERY_STRING, decides which system the request names (ID=, Name=,
// or Catalog= with CatNo=), and writes the report page of that system, a
// list of the systems whose names match, a not-found page, or a plain-text
// error. Exits with 0 after a report page and with -1 otherwise.
#include <cstdlib>
#include <optional>
#include <string>

#include "ids.h"
#include "database_session.h"
#include "output.h"
#include "query_string.h"
#include "report_driver.h"
#include "resolve.h"

using namespace vldr;

namespace {

constexpr int kStatusReport = 0;
constexpr int kStatusOther = -1;

// Longest parts of a search text built from Catalog= and CatNo=.
constexpr std::size_t kCatalogPrefixLength = 10;
constexpr std::size_t kCatalogNumberLength = 20;

// What the request asks for, once validated.
struct Request {
    bool byId = false;
    long id = 0;
    std::string searchText;  // decoded; for a name or a catalogue designation
};

void writePlainText(const char* message)
{
    writePlainTextHeader();
    writeLine(message);
}

// Checks the request's parameters. On a fault writes the plain-text answer
// and returns nothing.
std::optional<Request> readRequest(const QueryString& query)
{
    Request request;
    if (const char* idText = getQueryValue(query, "ID")) {
        const std::optional<std::int32_t> id = toInt32(idText);
        if (!id || !isSystemId(*id)) {
            writePlainText("Invalid \"ID=\" clause.  ID must be a positive multiple of 100.");
            return std::nullopt;
        }
        request.byId = true;
        request.id = *id;
        return request;
    }
    if (const char* name = getQueryValue(query, "Name")) {
        if (*name == '\0') {
            writePlainText("Please enter one or more search criteria.");
            return std::nullopt;
        }
        request.searchText = name;
        return request;
    }
    const char* catalog = getQueryValue(query, "Catalog");
    const char* number = getQueryValue(query, "CatNo");
    if (!catalog || !number) {
        writePlainTextHeader();
        writeLine("Invalid query string.  Must contain one of the following sets of clauses:");
        writeLine("\"ID=\"");
        writeLine("\"Name=\"");
        writeLine("\"Catalog=\" and \"CatNo=\"");
        return std::nullopt;
    }
    request.searchText =
        cutDecodedValue(catalog, kCatalogPrefixLength) + " " + cutDecodedValue(number, kCatalogNumberLength);
    return request;
}

// Writes the plain-text answer for a session that could not be opened.
void reportSessionFailure(const DatabaseSession& session, SessionFailure failure)
{
    writePlainTextHeader();
    switch (failure) {
    case SessionFailure::AllocateEnvironment:
        writeFormatted("Internal error: could not allocate environment.  Please try again.\n");
        break;
    case SessionFailure::AllocateConnection:
        writeFormatted("Internal error: could not allocate connection.  Please try again.\n");
        break;
    case SessionFailure::Connect: {
        writeFormatted("Internal error: SQLConnect() failed!!\n");
        writeConnectionDiagnostic(session);
        break;
    }
    case SessionFailure::AllocateStatement:
        writeFormatted("Internal error: could not allocate statement.  Please try again.\n");
        break;
    case SessionFailure::None:
        break;
    }
}

int answerIdRequest(const DatabaseSession& session, long id)
{
    if (systemExists(session.statement(), id)) {
        writeReport(session.connection(), session.statement(), id);
        return kStatusReport;
    }
    writeHtmlHead("<TITLE>VLDR system ID lookup search results</TITLE>");
    writeFormatted("No star system with an ID of %d exists in the database.\n", static_cast<int>(id));
    writeHtmlClose();
    return kStatusOther;
}

// Writes the page for a search text that names no system.
void writeNoMatchPage(const std::string& text)
{
    writeHtmlHead("<TITLE>VLDR search results</TITLE>");
    writeFormatted("No star name matching \"");
    writeQueryText(text);
    writeFormatted("\" found.\n");
    writeHtmlClose();
}

int answerNameRequest(const DatabaseSession& session, const std::string& text)
{
    if (!findSystemsByName(session.statement(), text)) {
        writeNoMatchPage(text);
        return kStatusOther;
    }
    const MatchTable& table = matchTable();
    if (table.count >= 2) {
        printMatchList(session.statement(), text);
        return kStatusOther;
    }
    if (table.ids[0] != 0) {
        writeReport(session.connection(), session.statement(), table.ids[0]);
        return kStatusReport;
    }
    // Never reached while matches name valid systems; still a complete answer.
    writeNoMatchPage(text);
    return kStatusOther;
}

}  // namespace

int main()
{
    const char* queryString = std::getenv("QUERY_STRING");
    if (!queryString) {
        writePlainTextHeader();
        writeFormatted("This CGI program requires a query string.  None was found.\n");
        return kStatusOther;
    }
    const QueryString query = parseQueryString(queryString);
    const std::optional<Request> request = readRequest(query);
    if (!request) return kStatusOther;

    DatabaseSession session;
    const SessionFailure failure = session.open();
    if (failure != SessionFailure::None) {
        reportSessionFailure(session, failure);
        session.close();
        return kStatusOther;
    }
    const int status = request->byId ? answerIdRequest(session, request->id)
                                     : answerNameRequest(session, request->searchText);
    session.close();
    flushOutput();
    return status;
}
