// The position and kinematics lines of the report: where a system or a
// component lies in the sky and in space, and how it moves.
#pragma once

#include "catalog.h"
#include "records.h"
#include "report.h"

namespace vldr {

// Writes right ascension and declination with their epoch, the distance in
// light-years and parsecs, its error and source (its long name from
// catalogs). The system (isComponent false) shows its sky position always
// and its distance lines; a component shows its sky position only when its
// right ascension or declination is its own, and its distance lines only
// when its distance is its own.
void printPosition(const PositionRecord& position, bool isComponent, const CatalogNames& catalogs);

// Writes the celestial, then the galactic X,Y,Z line (light-years); each
// only when the position converts (a distance, and for a non-zero distance
// both angles).
void printSpatialCoordinates(const PositionRecord& position);

// Writes "a, b, c": with the digits the position's relative distance error
// justifies when it has one, else with "%g".
void printTriple(double a, double b, double c, const PositionRecord& position);

// Writes proper motion (arcsec/yr) with its angle (degrees from north),
// radial velocity (km/s), then their sources (their long names from
// catalogs): one line when both sources are the same abbreviation, else one
// line each.
void printMotion(const VelocityRecord& velocity, const CatalogNames& catalogs);

// Writes the report's SystemVelocity, then its U,V,W line (from
// SystemPosition) when it can be computed.
void printSystemKinematics(const Report& report);

}  // namespace vldr
