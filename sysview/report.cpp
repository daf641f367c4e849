#include "report.h"

namespace vldr {

int findComponent(const Report& report, Id id)
{
    for (int i = 0; i < report.ComponentCount; ++i)
        if (report.Components[i].ID == id) return i;
    return -1;
}

int findOrbit(const Report& report, Id id)
{
    for (int i = 0; i < report.OrbitCount; ++i)
        if (report.Orbits[i].ID == id) return i;
    return -1;
}

int findPlanet(const Report& report, Id id)
{
    for (int i = 0; i < report.PlanetCount; ++i)
        if (report.Planets[i].ID == id) return i;
    return -1;
}

}  // namespace vldr
