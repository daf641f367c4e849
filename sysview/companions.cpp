// The planets that belong to a component through the orbit hierarchy.
//
// Orbit data are meant to form a tree, but nothing in the data forbids an
// orbit from being, directly or through others, a member of itself. Every
// walk here marks the orbits it has visited and never enters one twice, so
// a cycle simply yields no further members and each walk ends after at
// most OrbitCount steps.
#include <bitset>

#include "ids.h"
#include "companions.h"

namespace vldr {
namespace {

using OrbitSet = std::bitset<kMaxOrbits>;

bool hasMember(const OrbitRecord& orbit, Id x)
{
    return orbit.PrimaryID == x || orbit.SecondaryID == x;
}

// Climbs from orbit i to the orbits that contain it: true when x is a
// member of orbit i or of any orbit reached that way.
bool climbsTo(const Report& r, int i, Id x, OrbitSet& visited)
{
    visited.set(static_cast<std::size_t>(i));
    const OrbitRecord& orbit = r.Orbits[i];
    if (hasMember(orbit, x)) return true;
    for (int j = 0; j < r.OrbitCount; ++j) {
        if (visited.test(static_cast<std::size_t>(j))) continue;
        if (hasMember(r.Orbits[j], orbit.ID) && climbsTo(r, j, x, visited)) return true;
    }
    return false;
}

// Descends from body into the pair it stands for: true when body is x, or
// when body is a pair that has x as a member at any depth.
bool pairHolds(const Report& r, Id body, Id x, OrbitSet& visited)
{
    if (body == x) return true;
    const int k = findOrbit(r, body);
    if (k < 0 || visited.test(static_cast<std::size_t>(k))) return false;
    visited.set(static_cast<std::size_t>(k));
    const OrbitRecord& pair = r.Orbits[k];
    return pairHolds(r, pair.PrimaryID, x, visited) || pairHolds(r, pair.SecondaryID, x, visited);
}

// True when the planets of orbit i belong to component x: x is a member of
// the orbit, a member at any depth of a pair that is a member of the orbit
// (a planet around the pair (A-B) belongs to A and to B), or a member of
// an orbit that contains the orbit.
bool belongsTo(const Report& r, int i, Id x)
{
    const OrbitRecord& orbit = r.Orbits[i];
    OrbitSet descended;
    descended.set(static_cast<std::size_t>(i));
    if (pairHolds(r, orbit.PrimaryID, x, descended) || pairHolds(r, orbit.SecondaryID, x, descended)) return true;
    return isInOrbitTree(r, i, x);
}

void appendOnce(Id id, int& count, Id* ids)
{
    for (int k = 0; k < count; ++k)
        if (ids[k] == id) return;
    if (count < kMaxCompanions) ids[count++] = id;
}

}  // namespace

bool isInOrbitTree(const Report& report, int orbitIndex, Id x)
{
    if (orbitIndex < 0 || orbitIndex >= report.OrbitCount) return false;
    OrbitSet visited;
    return climbsTo(report, orbitIndex, x, visited);
}

void findCompanions(const Report& r, Id x, int& count, Id* ids)
{
    count = 0;
    for (int i = 0; i < r.OrbitCount; ++i) {
        const OrbitRecord& orbit = r.Orbits[i];
        const bool primaryIsPlanet = isCompanionPlanet(orbit.PrimaryID);
        const bool secondaryIsPlanet = isCompanionPlanet(orbit.SecondaryID);
        if (!(primaryIsPlanet || secondaryIsPlanet) || !belongsTo(r, i, x)) continue;
        if (primaryIsPlanet) appendOnce(orbit.PrimaryID, count, ids);
        if (secondaryIsPlanet) appendOnce(orbit.SecondaryID, count, ids);
    }
}

}  // namespace vldr
