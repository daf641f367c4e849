// Loading the orbit side of a report: the orbits (each with its pair's
// combined spectrum and photometry) and the planets.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "ids.h"
#include "report.h"

namespace vldr {

// The statement that reads the Orbits rows of system systemId.
std::string orbitsStatement(Id systemId);

// The statement that reads the Planets rows of system systemId.
std::string planetsStatement(Id systemId);

// Fills the report's Orbits and OrbitCount with the rows S+11..S+49, each
// with its pair's combined spectrum and magnitudes read through a second
// statement on connection; their dates join NewestUpdate.
void loadOrbits(Report& report, SQLHDBC connection, SQLHSTMT statement, Id systemId);

// Fills the report's Planets and PlanetCount with the rows S+51..S+69;
// their dates join NewestUpdate.
void loadPlanets(Report& report, SQLHSTMT statement, Id systemId);

}  // namespace vldr
