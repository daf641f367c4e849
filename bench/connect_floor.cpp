// The floor of every request: a process that opens the VLDR session as the
// programs do (environment, connection to "VLDR", statement), closes it and
// exits, writing nothing. Exit status 0 when the connection was made.
#include "database_session.h"

int main()
{
    vldr::DatabaseSession session;
    const bool connected = session.open() == vldr::SessionFailure::None;
    session.close();
    return connected ? 0 : 1;
}
