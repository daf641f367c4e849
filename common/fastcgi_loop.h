// The entry of every program: one binary that a web server runs either as
// CGI (one request, then exit) or as a persistent FastCGI responder (a
// listening socket on standard input, request after request). The bytes of
// every response are the same in both modes.
#pragma once

#include "session_keeper.h"

namespace vldr {

// Answers one request: reads the query string (null when the request has
// none), obtains the session from sessions (open, then finish), writes the
// whole response through the output module, and returns the status a CGI
// run exits with (0 or -1). Everything read from the query or the database
// lives in a request context that the answer creates and destroys.
using RequestAnswer = int (*)(const char* queryString, SessionKeeper& sessions);

// Runs the program. Started as CGI: answers the one request of
// QUERY_STRING and returns its status, for main to exit with. Started by a
// FastCGI process manager: answers every request it accepts, each with its
// complete response and its status as the FastCGI exit status, keeping the
// session across requests (SessionKeeper); returns 0 when the listening
// socket fails or after SIGTERM, once the request under way is answered.
int runRequests(RequestAnswer answer);

}  // namespace vldr
