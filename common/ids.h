// The identifier scheme of the database. A system's ID S is a positive
// multiple of 100; everything that belongs to it carries an ID in S+1 ..
// S+99, and the last two digits (the offset) tell what it is:
//   S+1  .. S+9    components (stars)
//   S+11 .. S+49   orbits, each also standing for the pair it binds
//   S+51 .. S+69   planets and other detected companions
// Three rules decide "is this a planet", each where it applies; they differ
// on purpose and are named here so that none is mistaken for another.
#pragma once

#include "closed_range.h"

namespace vldr {

// IDs per system: a system's ID is a multiple of this.
inline constexpr long kIdsPerSystem = 100;

// Offsets within a system, by range.
inline constexpr ClosedRange<long> kComponentOffsets{1, 9};
inline constexpr ClosedRange<long> kOrbitOffsets{11, 49};
inline constexpr ClosedRange<long> kPlanetOffsets{51, 69};

// The last two digits of an ID (its offset within its system).
constexpr long idOffset(long id)
{
    return id % kIdsPerSystem;
}

// The system an ID belongs to (a system's own ID gives itself).
constexpr long systemOf(long id)
{
    return id / kIdsPerSystem * kIdsPerSystem;
}

// The system number of an ID (the system's ID divided by 100), as the
// queries that match a whole system with INT(OwnerID/100) use it.
constexpr long systemNumberOf(long id)
{
    return id / kIdsPerSystem;
}

// True when id is a valid system ID: positive and a multiple of 100.
constexpr bool isSystemId(long id)
{
    return id > 0 && idOffset(id) == 0;
}

// True when id names a system's own row (offset 0), whatever its sign; a
// neighbour search keeps only such rows.
constexpr bool isSystemRow(long id)
{
    return idOffset(id) == 0;
}

// For the companion search: an offset above 50 (51 .. 99) is a planet, so
// every planet ID an orbit may name is found.
constexpr bool isCompanionPlanet(long id)
{
    return idOffset(id) > 50;
}

// For naming a body: offsets below 10 are components, from 50 on planets,
// the rest pairs (an offset of 50 is named as a planet).
constexpr bool namesComponent(long id)
{
    return idOffset(id) < 10;
}
constexpr bool namesPlanet(long id)
{
    return idOffset(id) >= 50;
}

// For leaving an orbit out of the system's orbit listing: a member in the
// planet range proper, S+51 .. S+69.
constexpr bool isListedPlanet(long id)
{
    return kPlanetOffsets.contains(idOffset(id));
}

}  // namespace vldr
