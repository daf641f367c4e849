// The sections of the report page, printed from the loaded report.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "report.h"

namespace vldr {

// --- Search forms ---

// Writes the form that searches within 15 light-years (by default) of
// system systemId, closed by closingLine ("</FORM>" at the top of the page,
// "</FORM>\n" at its foot).
void printRadiusSearchForm(long systemId, const char* closingLine);

// Writes the form that searches between 10 and 15 light-years (by default)
// of system systemId.
void printRingSearchForm(long systemId);

// --- System section ---

// Writes the title heading (the display name), the radius search form, the
// system's proper names and its catalogue numbers.
void printSystemNames(SQLHSTMT statement, long systemId);

// Writes age, heavy-element abundance, arity and points of interest from the Systems row.
void printSystemSection(SQLHSTMT statement, long systemId);

// Returns the label a catalogue number is shown under: "LONG NAME (ABBREV)",
// or the abbreviation alone when the registry has no long name for it.
std::string formatCatalogLabel(const char* abbreviation);

// --- Position and kinematics section ---

// Writes right ascension and declination with their epoch, the distance in
// light-years and parsecs, its error and source. A component (isComponent)
// shows only what is its own.
void printPosition(const PositionRecord& position, bool isComponent);

// Writes the celestial and galactic X,Y,Z lines (light-years).
void printSpatialCoordinates(const PositionRecord& position);

// Writes three values with the precision the position's distance error justifies.
void printTriple(double a, double b, double c, const PositionRecord& position);

// Writes proper motion, radial velocity and their sources.
void printMotion(const VelocityRecord& velocity);

// Writes the system's motion and its U,V,W line.
void printSystemKinematics();

// --- Orbits ---

// Appends the display name of a body (component, pair or planet) to text,
// and adds its visual luminosity (Sun = 1) to luminosity or clears
// luminosityKnown.
void appendBodyName(std::string& text, double& luminosity, bool& luminosityKnown, int bodyId);

// Writes the orbits: every orbit between non-planets (bodyId 0, system
// mode) or the orbits of one body, indented (body mode).
void printOrbits(int bodyId);

// --- Components ---

// Writes one block per component: names, position and motion, spectrum,
// magnitudes, luminosity, variability, colour, mass, diameter, comfort zone
// and detected companions with their orbits.
void printComponents(SQLHSTMT statement);

// --- Variable-star types ---

// Returns the name of the variable-star type with this code and sets
// generalClass to its class; returns null (and sets null) for an unknown code.
const char* describeVariableType(const char* code, const char*& generalClass);

}  // namespace vldr
