// The plain-text answers of proxlist: to a request it cannot read, and to a
// data source it cannot reach. Each is one whole response.
#pragma once

#include "database_session.h"

namespace vldr {

// Writes the answer to a request without QUERY_STRING: the three lines that
// say which clauses the program expects.
void writeMissingQueryAnswer();

// Writes the answer to a request that failed a check: message, one line.
void writeRefusalAnswer(const char* message);

// Writes the answer to a connection that could not be made, with the
// driver manager's first diagnostic of session when it has one.
void writeFailedConnectionAnswer(const DatabaseSession& session);

}  // namespace vldr
