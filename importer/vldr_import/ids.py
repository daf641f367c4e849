"""The identifier scheme of the database and the allocation of IDs.

A system is S, a positive multiple of 100; within it components S+1..S+9,
orbits S+11..S+49 (an orbit's ID also names the pair it binds) and planets
S+51..S+69. A system takes its ID from its primary star's catalogue id, so
IDs stay the same from one import to the next.
"""

SYSTEM_STEP = 100
MAX_COMPONENTS = 9
FIRST_ORBIT, LAST_ORBIT = 11, 49
FIRST_PLANET, LAST_PLANET = 51, 69
# IDs are 32-bit signed integers in the programs.
LARGEST_ID = 2**31 - 1


def system_id(catalogue_id):
    """The ID of the system whose primary has this star-catalogue id (0 and up)."""
    return (catalogue_id + 1) * SYSTEM_STEP


def fits_system_id(catalogue_id):
    """Whether a star-catalogue id gives a system ID that the programs can hold."""
    return system_id(catalogue_id) <= LARGEST_ID


class OrbitIds:
    """Hands out orbit and planet IDs inside each system, in the order asked."""

    ORBIT_CAPACITY = LAST_ORBIT - FIRST_ORBIT + 1
    PLANET_CAPACITY = LAST_PLANET - FIRST_PLANET + 1

    def __init__(self):
        self.next_orbit = {}
        self.next_planet = {}

    def orbit(self, system):
        """The next orbit ID of system (an ID), or None when all are taken."""
        n = self.next_orbit.get(system, FIRST_ORBIT)
        if n > LAST_ORBIT:
            return None
        self.next_orbit[system] = n + 1
        return system + n

    def planet_left(self, system):
        """Whether system (an ID) has a planet ID left."""
        return self.next_planet.get(system, FIRST_PLANET) <= LAST_PLANET

    def planet(self, system):
        """The next planet ID of system; call only after planet_left."""
        n = self.next_planet.get(system, FIRST_PLANET)
        self.next_planet[system] = n + 1
        return system + n
