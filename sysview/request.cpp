#include "request.h"

#include <cstdint>

#include "field_limits.h"
#include "ids.h"
#include "query_string.h"

namespace vldr {
namespace {

RequestReading refuse(std::string message)
{
    return RequestReading{std::nullopt, std::move(message)};
}

RequestReading accept(Request request)
{
    return RequestReading{std::move(request), {}};
}

}  // namespace

RequestReading readRequest(const QueryString& query)
{
    Request request;
    if (const char* idText = getQueryValue(query, "ID")) {
        const std::optional<Id> id = toInt32(idText);
        if (!id || !isSystemId(*id)) return refuse("Invalid \"ID=\" clause.  ID must be a positive multiple of 100.");
        request.byId = true;
        request.id = *id;
        return accept(request);
    }
    if (const SqlQuoted* name = findQueryText(query, "Name")) {
        if (name->text().empty()) return refuse("Please enter one or more search criteria.");
        request.searchText = *name;
        return accept(request);
    }
    const SqlQuoted* catalog = findQueryText(query, "Catalog");
    const SqlQuoted* number = findQueryText(query, "CatNo");
    if (!catalog || !number)
        return refuse(
            "Invalid query string.  Must contain one of the following sets of clauses:\n"
            "\"ID=\"\n"
            "\"Name=\"\n"
            "\"Catalog=\" and \"CatNo=\"");
    request.searchText =
        cutSqlText(*catalog, kCatalogPrefixLength) + quoteSqlText(" ") + cutSqlText(*number, kCatalogNumberLength);
    return accept(request);
}

}  // namespace vldr
