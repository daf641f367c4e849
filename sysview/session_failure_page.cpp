#include "session_failure_page.h"

#include "output.h"

namespace vldr {

void writeSessionFailurePage(const DatabaseSession& session, SessionFailure failure)
{
    writePlainTextHeader();
    switch (failure) {
    case SessionFailure::AllocateEnvironment:
        writeLine("Internal error: could not allocate environment.  Please try again.");
        break;
    case SessionFailure::AllocateConnection:
        writeLine("Internal error: could not allocate connection.  Please try again.");
        break;
    case SessionFailure::Connect:
        writeLine("Internal error: SQLConnect() failed!!");
        writeConnectionDiagnostic(session);
        break;
    case SessionFailure::AllocateStatement:
        writeLine("Internal error: could not allocate statement.  Please try again.");
        break;
    case SessionFailure::None:
        break;
    }
}

}  // namespace vldr
