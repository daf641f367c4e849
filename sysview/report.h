// The report of one system: everything the report page shows, loaded once
// by the loaders in the page's order and then only read by the sections.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>

#include "catalog.h"
#include "derived_records.h"
#include "field_limits.h"
#include "ids.h"
#include "name_lists.h"
#include "records.h"
#include "report_records.h"

namespace vldr {

// Filled by the loaders that writeReport calls (each field names its
// loader) and by deriveReport, then read by the sections.
struct Report {
    CatalogNames Catalogs;                           // loadCatalogNames
    OrbitRecord Orbits[kMaxOrbits];                  // loadOrbits, ascending ID
    ComponentPhotometry Photometry[kMaxComponents];  // derivePhotometry, index-aligned with Components
    ComponentDerivation ComponentsDerived[kMaxComponents];  // deriveReport, index-aligned with Components
    OrbitDerivation OrbitsDerived[kMaxOrbits];       // deriveReport, index-aligned with Orbits
    DATE_STRUCT NewestUpdate = {};                   // every loader: newest LastUpdated seen (noteUpdate)
    ComponentRecord Components[kMaxComponents];      // loadComponents, ascending ID
    PositionRecord ComponentPositions[kMaxComponents];  // loadComponentPositions
    VelocityRecord ComponentVelocities[kMaxComponents]; // loadComponentVelocities
    NameLists ComponentNames[kMaxComponents];        // loadComponentNames
    VelocityRecord SystemVelocity;                   // loadComponentVelocities
    PositionRecord SystemPosition;                   // loadComponentPositions
    PlanetRecord Planets[kMaxPlanets];               // loadPlanets, ascending ID
    std::optional<std::string> DisplayName;          // loadSystemNames; none when the system has none
    NameLists SystemNames;                           // loadSystemNames: the system's own lists
    bool hasSystemRow = false;                       // loadSystemRecord: System was read
    SystemRecord System;                             // loadSystemRecord
    int ComponentCount = 0;
    int OrbitCount = 0;
    int PlanetCount = 0;
};

// Index of the first record with this ID in the report's Components,
// Orbits or Planets; -1 when none.
int findComponent(const Report& report, Id id);
int findOrbit(const Report& report, Id id);
int findPlanet(const Report& report, Id id);

}  // namespace vldr
