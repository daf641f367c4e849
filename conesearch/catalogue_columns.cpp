#include "catalogue_columns.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "constants.h"
#include "coordinates.h"

namespace vldr {
namespace {

// Appends printf-formatted text to out.
__attribute__((format(printf, 2, 3))) void appendFormatted(std::string& out, const char* format, ...)
{
    char buffer[64];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length > 0) out.append(buffer, std::min<std::size_t>(length, sizeof buffer - 1));
}

bool appendText(std::string& out, const std::string& text)
{
    if (text.empty()) return false;
    out += text;
    return true;
}

// Right ascension and declination: 8 decimals of a degree (0.036 mas),
// finer than the stored thousandth of a second of time.
constexpr const char* kAngleFormat = "%.8f";
// Distances, errors, magnitudes: every digit a stored double carries that matters.
constexpr const char* kValueFormat = "%.10g";

bool systemIdCell(const CatalogueRow& row, std::string& out)
{
    appendFormatted(out, "%d", row.systemId);
    return true;
}

bool componentIdCell(const CatalogueRow& row, std::string& out)
{
    appendFormatted(out, "%d", row.componentId);
    return true;
}

bool nameCell(const CatalogueRow& row, std::string& out) { return appendText(out, row.name); }

bool componentCell(const CatalogueRow& row, std::string& out) { return appendText(out, row.component); }

bool raCell(const CatalogueRow& row, std::string& out)
{
    if (!row.position.hasRA) return false;
    appendFormatted(out, kAngleFormat, rightAscensionHours(row.position) * kDegreesPerHour);
    return true;
}

bool decCell(const CatalogueRow& row, std::string& out)
{
    if (!row.position.hasDec) return false;
    appendFormatted(out, kAngleFormat, declinationDegrees(row.position));
    return true;
}

bool epochCell(const CatalogueRow& row, std::string& out)
{
    if (!row.hasEpoch) return false;
    appendFormatted(out, kValueFormat, row.epoch);
    return true;
}

bool lightYearsCell(const CatalogueRow& row, std::string& out)
{
    if (!row.position.hasDistance) return false;
    appendFormatted(out, kValueFormat, row.position.Distance);
    return true;
}

bool parsecsCell(const CatalogueRow& row, std::string& out)
{
    if (!row.position.hasDistance) return false;
    appendFormatted(out, kValueFormat, row.position.Distance * kParsecsPerLightYear);
    return true;
}

bool distanceErrorCell(const CatalogueRow& row, std::string& out)
{
    if (!row.position.hasDistance || !row.position.hasDistanceError) return false;
    appendFormatted(out, kValueFormat, row.position.DistanceError * kPercentPerFraction);
    return true;
}

bool spectralClassCell(const CatalogueRow& row, std::string& out)
{
    return row.spectrum.hasSpectralClass && appendText(out, row.spectrum.SpectralClass);
}

bool luminosityClassCell(const CatalogueRow& row, std::string& out)
{
    return row.spectrum.hasLuminosityClass && appendText(out, row.spectrum.LuminosityClass);
}

bool vMagCell(const CatalogueRow& row, std::string& out)
{
    if (!row.hasVMag) return false;
    appendFormatted(out, kValueFormat, row.vMag);
    return true;
}

bool bMinusVCell(const CatalogueRow& row, std::string& out)
{
    if (!row.hasBminusV) return false;
    appendFormatted(out, kValueFormat, row.bMinusV);
    return true;
}

bool angularDistanceCell(const CatalogueRow& row, std::string& out)
{
    appendFormatted(out, kAngleFormat, row.angularDistance);
    return true;
}

bool urlCell(const CatalogueRow& row, std::string& out) { return appendText(out, row.reportUrl); }

// Every column, in the order the tables have them.
const CatalogueColumn kColumns[] = {
    {"system_id", "char", "", "meta.id;meta.main", "meta.id.parent",
     "ID of the star system in this catalogue (a multiple of 100)", 1, true, true, systemIdCell},
    {"component_id", "char", "", "meta.id", "meta.id;meta.main",
     "ID of the component star (its system's ID plus 1 to 9)", 1, false, true, componentIdCell},
    {"name", "unicodeChar", "", "meta.id", "meta.id",
     "Display name of the star system: its proper name, else its catalogue designation", 1, true, true, nameCell},
    {"component", "unicodeChar", "", "meta.code.multip", "meta.code.multip",
     "Name of the component within its system (A, B, ...)", 1, false, true, componentCell},
    {"ra", "double", "deg", "pos.eq.ra;meta.main", "pos.eq.ra;meta.main",
     "Right ascension (ICRS) at the epoch pos_epoch", 1, true, true, raCell},
    {"dec", "double", "deg", "pos.eq.dec;meta.main", "pos.eq.dec;meta.main",
     "Declination (ICRS) at the epoch pos_epoch", 1, true, true, decCell},
    {"pos_epoch", "double", "yr", "time.epoch", "time.epoch",
     "Epoch of the position (Julian year)", 2, true, true, epochCell},
    {"dist_ly", "double", "lyr", "pos.distance", "pos.distance",
     "Distance from the Sun in light-years", 2, true, true, lightYearsCell},
    {"dist_pc", "double", "pc", "pos.distance", "pos.distance",
     "Distance from the Sun in parsecs (light-years x 0.30659488667179907)", 2, true, true, parsecsCell},
    {"dist_err", "double", "%", "stat.error;pos.distance", "stat.error;pos.distance",
     "Relative standard error of the distance, as a percentage", 2, true, true, distanceErrorCell},
    {"sp_type", "unicodeChar", "", "src.spType", "src.spType",
     "Spectral class (of the system's primary star in the cone search)", 2, true, true, spectralClassCell},
    {"lum_class", "unicodeChar", "", "src.class.luminosity", "src.class.luminosity",
     "Luminosity class (of the system's primary star in the cone search)", 3, true, true, luminosityClassCell},
    {"vmag", "double", "mag", "phot.mag;em.opt.V", "phot.mag;em.opt.V",
     "Apparent visual magnitude V (of the system's primary star in the cone search)", 2, true, true, vMagCell},
    {"b_v", "double", "mag", "phot.color;em.opt.B;em.opt.V", "phot.color;em.opt.B;em.opt.V",
     "Colour index B-V (of the system's primary star in the cone search)", 3, true, true, bMinusVCell},
    {"ang_dist", "double", "deg", "pos.angDistance", "pos.angDistance",
     "Angular distance from the centre of the cone", 3, true, false, angularDistanceCell},
    {"url", "char", "", "meta.ref.url", "meta.ref.url",
     "The system's report on this site", 2, true, true, urlCell},
};

}  // namespace

std::vector<const CatalogueColumn*> catalogueColumns(CatalogueTable table, int verbosity)
{
    std::vector<const CatalogueColumn*> columns;
    for (const CatalogueColumn& column : kColumns) {
        const bool wanted = table == CatalogueTable::Download ? column.inDownload
                                                               : column.inConeSearch && column.verbosity <= verbosity;
        if (wanted) columns.push_back(&column);
    }
    return columns;
}

const char* columnUcd(const CatalogueColumn& column, CatalogueTable table)
{
    return table == CatalogueTable::Download ? column.downloadUcd : column.ucd;
}

std::string reportPath(Id systemId)
{
    return "/Scripts/sysview.exe?ID=" + std::to_string(systemId);
}

}  // namespace vldr
