// The plain-text answer when the database session could not be opened.
#pragma once

#include "database_session.h"

namespace vldr {

// Writes the plain-text header and the line for failure (with the driver's
// diagnostic after a failed connection); nothing after the header for
// SessionFailure::None.
void writeSessionFailurePage(const DatabaseSession& session, SessionFailure failure);

}  // namespace vldr
