// Reading a sysview request from the parsed query string.
#pragma once

#include <optional>
#include <string>

#include "ids.h"
#include "query_string.h"
#include "sql_text.h"

namespace vldr {

// What the request asks for, once validated.
struct Request {
    bool byId = false;
    Id id = 0;               // with byId: a positive multiple of 100
    SqlQuoted searchText = quoteSqlText("");  // otherwise: decoded and quoted; a name or a catalogue designation
};

// The outcome of reading a request: the request, or the plain-text message
// (one or more lines, without the last line end) that answers it instead.
struct RequestReading {
    std::optional<Request> request;
    std::string message;
};

// Reads ID=, Name=, or Catalog= with CatNo= from query, in this order of
// precedence. Writes nothing.
RequestReading readRequest(const QueryString& query);

}  // namespace vldr
