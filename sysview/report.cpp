#include "report.h"

namespace vldr {

Report& report()
{
    static Report theReport;
    return theReport;
}

int findComponent(int id)
{
    const Report& r = report();
    for (int i = 0; i < r.ComponentCount; ++i)
        if (r.Components[i].ID == id) return i;
    return -1;
}

int findOrbit(int id)
{
    const Report& r = report();
    for (int i = 0; i < r.OrbitCount; ++i)
        if (r.Orbits[i].ID == id) return i;
    return -1;
}

int findPlanet(int id)
{
    const Report& r = report();
    for (int i = 0; i < r.PlanetCount; ++i)
        if (r.Planets[i].ID == id) return i;
    return -1;
}

}  // namespace vldr
