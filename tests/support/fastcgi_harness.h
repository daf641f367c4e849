// Runs the programs' requests through FastCGI, so that every test that
// checks a CGI response checks the FastCGI response too: one long-lived
// process of each program per environment, started the way a FastCGI
// process manager starts it (a listening socket on standard input), and
// each request sent with Debian's FastCGI client, cgi-fcgi.
#pragma once

#include <string>
#include <vector>

#include "test_database.h"

namespace vldr::test {

// True when VLDR_TEST_FASTCGI is "1": runProgram then sends its requests
// through FastCGI.
bool fastCgiTestMode();

// Answers one request of program (in build/bin) through its FastCGI
// process for these environment additions (NAME=value), starting the
// process first when there is none or it has ended. The result is what a
// CGI run gives: the response, the process's error log lines of that
// request (and anything the process wrote to its own standard error
// meanwhile), the FastCGI exit status, and 1000 + signal when the process
// died during the request.
ProgramResult runThroughFastCgi(const std::string& program, const char* query,
                                const std::vector<std::string>& environment);

// Stops every FastCGI process whose environment mentions text (a test
// database's folder, when it goes away), with SIGTERM as a process manager
// does; a process that then exits other than with 0, or writes to its own
// standard error (a sanitizer's report), fails the test.
void stopFastCgiProcesses(const std::string& text);

// The process id of the running FastCGI process of program for these
// environment additions, starting it if needed (for tests that watch or
// kill it).
int fastCgiProcessId(const std::string& program, const std::vector<std::string>& environment);

}  // namespace vldr::test
