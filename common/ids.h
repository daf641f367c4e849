// The identifier scheme of the database. A system's ID S is a positive
// multiple of 100; everything that belongs to it carries an ID in S+1 ..
// S+99, and the last two digits (the offset) tell what it is:
//   S+1  .. S+9    components (stars)
//   S+11 .. S+49   orbits, each also standing for the pair it binds
//   S+51 .. S+69   planets and other detected companions
// Three rules decide "is this a planet", each where it applies; they differ
// on purpose and are named here so that none is mistaken for another.
#pragma once

#include <cstdint>

#include "closed_range.h"

namespace vldr {

// The one type that holds a system's, component's, orbit's or planet's ID:
// the database's ID columns are 32-bit integers, bound as SQL_C_LONG
// (SQLINTEGER), so an ID lands in its field without conversion. Statements
// and pages that print an ID with %ld convert it to long where they print.
using Id = std::int32_t;

// IDs per system: a system's ID is a multiple of this.
inline constexpr Id kIdsPerSystem = 100;

// Offsets within a system, by range.
inline constexpr ClosedRange<Id> kComponentOffsets{1, 9};
inline constexpr ClosedRange<Id> kOrbitOffsets{11, 49};
inline constexpr ClosedRange<Id> kPlanetOffsets{51, 69};

// The last two digits of an ID (its offset within its system).
constexpr Id idOffset(Id id)
{
    return id % kIdsPerSystem;
}

// The system an ID belongs to (a system's own ID gives itself).
constexpr Id systemOf(Id id)
{
    return id / kIdsPerSystem * kIdsPerSystem;
}

// The system number of an ID (the system's ID divided by 100), as the
// queries that match a whole system with INT(OwnerID/100) use it.
constexpr Id systemNumberOf(Id id)
{
    return id / kIdsPerSystem;
}

// True when id is a valid system ID: positive and a multiple of 100.
constexpr bool isSystemId(Id id)
{
    return id > 0 && idOffset(id) == 0;
}

// True when id names a system's own row (offset 0), whatever its sign; a
// neighbour search keeps only such rows.
constexpr bool isSystemRow(Id id)
{
    return idOffset(id) == 0;
}

// For the companion search: an offset above 50 (51 .. 99) is a planet, so
// every planet ID an orbit may name is found.
constexpr bool isCompanionPlanet(Id id)
{
    return idOffset(id) > 50;
}

// For naming a body: offsets below 10 are components, from 50 on planets,
// the rest pairs (an offset of 50 is named as a planet).
constexpr bool namesComponent(Id id)
{
    return idOffset(id) < 10;
}
constexpr bool namesPlanet(Id id)
{
    return idOffset(id) >= 50;
}

// For leaving an orbit out of the system's orbit listing: a member in the
// planet range proper, S+51 .. S+69.
constexpr bool isListedPlanet(Id id)
{
    return kPlanetOffsets.contains(idOffset(id));
}

}  // namespace vldr
