#include "open_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "vldr_file_checks.h"

namespace vldr::driver {
namespace {

constexpr const char* kConnectState = "08001";
constexpr const char* kBusyState = "HYT00";

// The first 16 bytes of every SQLite database file.
constexpr char kSqliteHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
// Offsets of the file-format write and read versions; 2 in both means WAL.
constexpr int kWriteVersionOffset = 18;
constexpr int kReadVersionOffset = 19;
constexpr unsigned char kWalFormatVersion = 2;

Refusal refuse(const std::string& path, const std::string& why)
{
    return {kConnectState, "cannot use " + path + " as the VLDR database: " + why, 0};
}

// Reads up to size bytes from the start of the file; the count read, or -1.
ssize_t readStart(const std::string& path, void* bytes, std::size_t size)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    const ssize_t got = pread(fd, bytes, size, 0);
    close(fd);
    return got;
}

// Every column the VLDR programs read, by table. A database of an older
// schema that lacks one would answer the queries that read it with an
// error, and the pages would lose whole sections; it is refused at connect
// instead. Each name costs one lookup in the schema SQLite already parsed.
struct ReadColumns {
    const char* table;
    std::initializer_list<const char*> columns;
};
const ReadColumns kReadColumns[] = {
    {"CatalogNames", {"Abbreviation", "LongName", "Description", "HasNoCatNumbers"}},
    {"Systems",
     {"ID", "Age", "AgeError", "AgeSource", "AgeComment", "Metallicity", "MetallicityError", "MetallicitySource",
      "MetallicityComment", "ArityComment", "PointsOfInterest", "LastUpdated"}},
    {"ProperNames", {"OwnerID", "Name", "IsSystemName", "Yes"}},
    {"CatalogNumbers", {"OwnerID", "CatAbbrev", "Value", "IsSystemName", "Yes"}},
    {"Components",
     {"ID", "Name", "IsCloseBinary", "Mass", "Diameter", "LastUpdated", "MassSource", "DiameterSource",
      "IsDiameterArcsec"}},
    {"Positions",
     {"OwnerID", "RA_hr", "RA_min", "RA_sec", "Dec_deg", "Dec_arcmin", "Dec_arcsec", "Distance", "DistanceError",
      "DistanceSource", "LastUpdated", "Epoch"}},
    {"Spectra", {"OwnerID", "SpectralClass", "LuminosityClass", "SpectrumSource", "LastUpdated"}},
    {"Magnitudes",
     {"OwnerID", "ApparentVMag", "VMagIncrease", "VariableType", "VariablePeriod", "BminusV", "UminusB", "RminusI",
      "VMagSource", "LastUpdated"}},
    {"Velocities", {"OwnerID", "ProperMotion", "PMAngle", "RadialVelocity", "PMSource", "RVSource", "LastUpdated"}},
    {"Orbits",
     {"ID", "PrimaryID", "SecondaryID", "Period", "SemimajorAxis", "Eccentricity", "Inclination", "Omega",
      "PeriastronEpoch", "IsAxisJustGap", "Source", "PeriodError", "LastUpdated", "IsAxisAU"}},
    {"Planets",
     {"ID", "Name", "LastUpdated", "Mass", "MassError", "IsMassAMinimum", "MassSource", "Radius", "RadiusError",
      "RadiusSource"}},
};

// The first column of kReadColumns that the open database lacks, as
// "Table.Column"; empty when it has them all.
std::string firstMissingColumn(sqlite3* database)
{
    for (const ReadColumns& read : kReadColumns) {
        for (const char* column : read.columns) {
            if (sqlite3_table_column_metadata(database, "main", read.table, column, nullptr, nullptr, nullptr,
                                              nullptr, nullptr) != SQLITE_OK) {
                return std::string(read.table) + "." + column;
            }
        }
    }
    return {};
}

bool hasData(const std::string& path)
{
    return vldrFileHasData(path.c_str()) != 0;
}

}  // namespace

Refusal checkDatabaseFile(const std::string& path)
{
    if (path.empty()) return {kConnectState, "the data source names no database file (Database= is missing)", 0};
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        return refuse(path, errno == ENOENT ? "no such file" : std::strerror(errno));
    }
    if (S_ISDIR(status.st_mode)) return refuse(path, "it is a directory, not a database file");
    if (!S_ISREG(status.st_mode)) return refuse(path, "it is not a regular file");
    if (status.st_size == 0) return refuse(path, "the file is empty (zero bytes)");
    unsigned char header[100] = {};
    const ssize_t got = readStart(path, header, sizeof header);
    if (got < 0) return refuse(path, std::string("the file cannot be read: ") + std::strerror(errno));
    if (got < static_cast<ssize_t>(sizeof header) || std::memcmp(header, kSqliteHeader, sizeof kSqliteHeader) != 0) {
        return refuse(path, "the file is not an SQLite database");
    }
    if (header[kWriteVersionOffset] == kWalFormatVersion || header[kReadVersionOffset] == kWalFormatVersion) {
        return refuse(path, "the database is in WAL mode, and reading it would write its -shm and -wal files; "
                            "convert it with PRAGMA journal_mode=DELETE");
    }
    if (hasData(path + "-wal")) {
        return refuse(path, "a write-ahead log (" + path + "-wal) lies beside it; reading would change the files");
    }
    if (vldrHasHotJournal(path.c_str())) {
        return refuse(path, "a writer left a hot rollback journal (" + path +
                                "-journal) that reading would have to roll back into the file");
    }
    return {};
}

Refusal checkVldrTables(sqlite3* database, const std::string& path)
{
    for (const char* table : kVldrTables) {
        const int rc = sqlite3_table_column_metadata(database, "main", table, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr);
        if (rc == SQLITE_OK) continue;
        const int primary = rc & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
            return {kBusyState, "cannot read " + path + ": the database stayed locked by a writer for the whole busy wait",
                    rc};
        }
        if (primary != SQLITE_ERROR) {
            return {kConnectState, "cannot read " + path + ": " + sqlite3_errmsg(database), rc};
        }
        const std::string why = sqlite3_errmsg(database);
        if (why.compare(0, 13, "no such table") != 0) {
            return {kConnectState, "cannot read " + path + ": " + why, rc};
        }
        return refuse(path, std::string("it is not a VLDR database (it has no table ") + table + ")");
    }
    if (vldrGridIsNotATable(database)) {
        return refuse(path, std::string("it is not a VLDR database (its ") + kVldrGridTable + " is not a table)");
    }
    const std::string missing = firstMissingColumn(database);
    if (!missing.empty()) {
        return refuse(path, "its schema is older than the programs' (it has no column " + missing + ")");
    }
    return {};
}

}  // namespace vldr::driver
