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
        const std::optional<std::int32_t> id = toInt32(idText);
        if (!id || !isSystemId(*id)) return refuse("Invalid \"ID=\" clause.  ID must be a positive multiple of 100.");
        request.byId = true;
        request.id = *id;
        return accept(request);
    }
    if (const char* name = getQueryValue(query, "Name")) {
        if (*name == '\0') return refuse("Please enter one or more search criteria.");
        request.searchText = name;
        return accept(request);
    }
    const char* catalog = getQueryValue(query, "Catalog");
    const char* number = getQueryValue(query, "CatNo");
    if (!catalog || !number)
        return refuse(
            "Invalid query string.  Must contain one of the following sets of clauses:\n"
            "\"ID=\"\n"
            "\"Name=\"\n"
            "\"Catalog=\" and \"CatNo=\"");
    request.searchText =
        cutDecodedValue(catalog, kCatalogPrefixLength) + " " + cutDecodedValue(number, kCatalogNumberLength);
    return accept(request);
}

}  // namespace vldr
