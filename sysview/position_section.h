// The position and kinematics lines of the report: where a system or a
// component lies in the sky and in space, and how it moves.
#pragma once

#include "catalog.h"
#include "records.h"
#include "report.h"

namespace vldr {

// Writes right ascension and declination with their epoch, the distance in
// light-years and parsecs, its error and source (its long name from
// catalogs). A component (isComponent) shows only what is its own.
void printPosition(const PositionRecord& position, bool isComponent, const CatalogNames& catalogs);

// Writes the celestial and galactic X,Y,Z lines (light-years).
void printSpatialCoordinates(const PositionRecord& position);

// Writes three values with the precision the position's distance error justifies.
void printTriple(double a, double b, double c, const PositionRecord& position);

// Writes proper motion, radial velocity and their sources (their long
// names from catalogs).
void printMotion(const VelocityRecord& velocity, const CatalogNames& catalogs);

// Writes the report's SystemVelocity and its U,V,W line (from SystemPosition).
void printSystemKinematics(const Report& report);

}  // namespace vldr
