// The position and kinematics lines of the report: where a system or a
// component lies in the sky and in space, and how it moves.
//
// A stored or computed number that is not finite is never written: the
// line (or the part of it) that would show it is left out.
#include <cmath>
#include <string_view>

#include "catalog.h"
#include "constants.h"
#include "coordinates.h"
#include "output.h"
#include "position_section.h"
#include "precision.h"

namespace vldr {
namespace {


// True when a value is present and can be written as a number.
bool printable(bool present, double value)
{
    return present && std::isfinite(value);
}

// "<BR><B>Right Ascension and Declination:</B> ..." with the epoch, when
// either angle is known.
void printSkyPosition(const PositionRecord& position)
{
    const bool showRA = printable(position.hasRA, position.RA_sec);
    const bool showDec = printable(position.hasDec, position.Dec_arcsec);
    if (showRA && showDec) {
        writeFormatted("<BR><B>Right Ascension and Declination:</B>");
    } else if (showRA) {
        writeFormatted("<BR><B>Right Ascension:</B>");
    } else if (showDec) {
        writeFormatted("<BR><B>Declination:</B>");
    } else {
        return;
    }
    if (showRA)
        writeFormatted(" %dh%dm%gs", position.RA_hr, position.RA_min, static_cast<double>(position.RA_sec));
    if (showDec) {
        if (showRA) writeFormatted(",");
        // The sign lives in the degrees alone; 0 degrees shows as "+0".
        writeFormatted(" %+d&deg;%d'%g\"", position.Dec_deg, position.Dec_arcmin,
                       static_cast<double>(position.Dec_arcsec));
    }
    if (std::isfinite(position.Epoch)) {
        writeFormatted(" (epoch %.01f)\n", position.Epoch);
    } else {
        writeFormatted("\n");
    }
}

// Distance in light-years and parsecs, its standard error and its source.
void printDistance(const PositionRecord& position, const CatalogNames& catalogs)
{
    const double parsecs = position.Distance * kParsecsPerLightYear;
    if (printable(position.hasDistance, position.Distance)) {
        writeFormatted("<BR><B>Distance from Sol:</B> ");
        if (position.hasDistanceError) {
            writeFormatted("%s light-years", formatWithError(position.Distance, position.DistanceError).c_str());
            writeFormatted(" (%s parsecs)\n", formatWithError(parsecs, position.DistanceError).c_str());
        } else {
            writeFormatted("%g light-years (%g parsecs)\n", position.Distance, parsecs);
        }
    }
    const double errorPercent = position.DistanceError * kPercentPerFraction;
    if (printable(position.hasDistanceError, errorPercent))
        writeFormatted("<BR><B>Standard error in distance:</B> %g%%\n", errorPercent);
    if (position.hasDistanceSource)
        writeFormatted("<BR><B>Source for distance:</B> %s\n", lookupCatalogName(catalogs, position.DistanceSource));
}

// "<BR><B>label</B> a, b, c\n", or nothing when a value is not finite.
void printTripleLine(const char* label, double a, double b, double c, const PositionRecord& position)
{
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c)) return;
    writeFormatted("%s", label);
    printTriple(a, b, c, position);
    writeFormatted("\n");
}

}  // namespace

void printPosition(const PositionRecord& position, bool isComponent, const CatalogNames& catalogs)
{
    if (!isComponent || position.ownRA || position.ownDec) printSkyPosition(position);
    if (isComponent && !position.ownDistance) return;
    printDistance(position, catalogs);
}

void printSpatialCoordinates(const PositionRecord& position)
{
    double x = 0, y = 0, z = 0;
    if (!positionToXYZ(position, x, y, z, false)) return;
    printTripleLine("<BR><B>Celestial (X,Y,Z) coordinates in ly:</B> ", x, y, z, position);
    if (!positionToXYZ(position, x, y, z, true)) return;
    printTripleLine("<BR><B>Galactic (X,Y,Z) coordinates in ly:</B> ", x, y, z, position);
}

void printTriple(double a, double b, double c, const PositionRecord& position)
{
    if (position.hasDistanceError) {
        writeFormatted("%s, ", formatWithError(a, position.DistanceError).c_str());
        writeFormatted("%s, ", formatWithError(b, position.DistanceError).c_str());
        writeFormatted("%s", formatWithError(c, position.DistanceError).c_str());
    } else {
        writeFormatted("%g, %g, %g", a, b, c);
    }
}

void printMotion(const VelocityRecord& velocity, const CatalogNames& catalogs)
{
    if (printable(velocity.hasProperMotion, velocity.ProperMotion)) {
        writeFormatted("<BR><B>Proper motion:</B> %g arcsec/yr", velocity.ProperMotion);
        if (printable(velocity.hasPMAngle, velocity.PMAngle))
            writeFormatted(" (%.01f&deg; from north)", velocity.PMAngle);
        writeFormatted("\n");
    }
    if (printable(velocity.hasRadialVelocity, velocity.RadialVelocity))
        writeFormatted("<BR><B>Radial Velocity:</B> %g km/sec\n", velocity.RadialVelocity);

    if (velocity.hasPMSource && velocity.hasRVSource && std::string_view(velocity.PMSource) == velocity.RVSource) {
        writeFormatted("<BR><B>Source for proper motion and radial velocity:</B> %s\n",
                       lookupCatalogName(catalogs, velocity.PMSource));
        return;
    }
    if (velocity.hasPMSource)
        writeFormatted("<BR><B>Source for proper motion:</B> %s\n", lookupCatalogName(catalogs, velocity.PMSource));
    if (velocity.hasRVSource)
        writeFormatted("<BR><B>Source for radial velocity:</B> %s\n", lookupCatalogName(catalogs, velocity.RVSource));
}

void printSystemKinematics(const Report& r)
{
    printMotion(r.SystemVelocity, r.Catalogs);
    double u = 0, v = 0, w = 0;
    if (velocityToUVW(r.SystemPosition, r.SystemVelocity, u, v, w))
        printTripleLine("<BR><B>Galactic (U,V,W) velocity components in km/s:</B> ", u, v, w, r.SystemPosition);
}

}  // namespace vldr
