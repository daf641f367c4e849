// Each statement composed from its column table reads, byte for byte, as
// the literal text the loader sent before the table existed.
#include <gtest/gtest.h>

#include <string>

#include "component_loading.h"
#include "measurement_loading.h"
#include "orbit_loading.h"
#include "records.h"
#include "system_loading.h"

using namespace vldr;

namespace {

struct StatementCase {
    const char* query;
    std::string composed;
    const char* expected;
};

TEST(ColumnLists, StatementsKeepTheirTexts)
{
    const StatementCase cases[] = {
        {"components", componentsStatement(4200),
         "SELECT ID, Name, IsCloseBinary, Mass, Diameter, LastUpdated, MassSource, DiameterSource, "
         "IsDiameterArcsec FROM Components WHERE ID > 4200 AND ID <= 4209 ORDER BY ID"},
        {"velocity", velocityStatement(4201),
         "SELECT ProperMotion, PMAngle, RadialVelocity, PMSource, RVSource, LastUpdated FROM Velocities "
         "WHERE OwnerID = 4201"},
        {"orbits", orbitsStatement(4200),
         "SELECT ID, PrimaryID, SecondaryID, Period, SemimajorAxis, Eccentricity, Inclination, Omega, "
         "PeriastronEpoch, IsAxisJustGap, Source, PeriodError, LastUpdated, IsAxisAU FROM Orbits "
         "WHERE ID >= 4211 AND ID <= 4249 ORDER BY ID"},
        {"planets", planetsStatement(4200),
         "SELECT ID, Name, LastUpdated, Mass, MassError, IsMassAMinimum, MassSource, Radius, RadiusError, "
         "RadiusSource FROM Planets WHERE ID >= 4251 AND ID <= 4269 ORDER BY ID"},
        {"system", systemStatement(4200),
         "SELECT Age, AgeError, AgeSource, AgeComment, Metallicity, MetallicityError, MetallicitySource, "
         "MetallicityComment, ArityComment, PointsOfInterest, LastUpdated FROM Systems WHERE ID = 4200"},
        {"spectrum", spectrumStatement(4201),
         "SELECT SpectralClass, LuminosityClass, SpectrumSource, LastUpdated FROM Spectra WHERE OwnerID = 4201"},
        {"position", positionStatement(4201),
         "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, DistanceError, "
         "DistanceSource, LastUpdated, Epoch FROM Positions WHERE OwnerID = 4201"},
        {"magnitudes", magnitudesStatement(4201),
         "SELECT ApparentVMag, VMagIncrease, VariableType, VariablePeriod, BminusV, UminusB, RminusI, "
         "VMagSource, LastUpdated FROM Magnitudes WHERE OwnerID = 4201"},
    };
    for (const StatementCase& c : cases) EXPECT_EQ(c.composed, c.expected) << c.query;
}

}  // namespace
