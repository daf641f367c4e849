// Loading the component side of a report: the components with their
// measurements, their names, and the positions and velocities of the
// system and of every component.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "ids.h"
#include "records.h"
#include "report.h"

namespace vldr {

// The statement that reads the Components rows of system systemId.
std::string componentsStatement(Id systemId);

// The statement that reads the Velocities row of ownerId.
std::string velocityStatement(Id ownerId);

// Fills the report's Components and ComponentCount with the rows S+1..S+9
// of system systemId, each with its spectrum and magnitudes read through a
// second statement on connection; their dates join NewestUpdate.
void loadComponents(Report& report, SQLHDBC connection, SQLHSTMT statement, Id systemId);

// Fills the report's SystemPosition and, when the system has a position,
// every ComponentPositions entry, taking the system's values where a
// component has none of its own; their dates join NewestUpdate. A system
// without a Positions row leaves every component without a position.
void loadComponentPositions(Report& report, SQLHSTMT statement, Id systemId);

// Reads the Velocities row of ownerId into record (cleared first). True
// when a row was read; hasOwnRow stays false. A NULL LastUpdated reads as the zero date.
bool loadVelocity(SQLHSTMT statement, Id ownerId, VelocityRecord& record);

// Fills the report's SystemVelocity and every ComponentVelocities entry,
// taking the system's values where a component's own row lacks them; the
// dates of the rows read join NewestUpdate.
void loadComponentVelocities(Report& report, SQLHSTMT statement, Id systemId);

// Fills the report's ComponentNames: for each loaded component in order,
// its proper names and then its catalogue numbers.
void loadComponentNames(Report& report, SQLHSTMT statement);

}  // namespace vldr
