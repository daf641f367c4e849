// The floors of the database work, measured through SQLite's own C
// interface with no ODBC in between:
//
//   sqlite_floor DATABASE.db scan RADIUS
//       reads the eight columns of the neighbour search from every row of
//       Positions and does the search's arithmetic (galactic X, Y, Z and the
//       distance from the Sun, kept when within RADIUS light-years);
//   sqlite_floor DATABASE.db query STATEMENT
//       steps through the rows of STATEMENT, reading every column as text.
//
// Prints the number of rows kept (scan) or read (query). Exit status 0 on
// success, 1 when the database or the statement fails, 2 on bad usage.
#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "coordinates.h"
#include "neighbour_scan.h"
#include "records.h"

namespace {

// The row the search tests, filled as the ODBC binding fills it: a NULL
// column leaves its field at 0.
vldr::PositionRecord positionOf(sqlite3_stmt* row)
{
    vldr::PositionRecord p;
    p.hasRA = sqlite3_column_type(row, 0) != SQLITE_NULL;
    p.hasDec = sqlite3_column_type(row, 3) != SQLITE_NULL;
    p.hasDistance = sqlite3_column_type(row, 6) != SQLITE_NULL;
    p.RA_hr = static_cast<unsigned char>(sqlite3_column_int(row, 0));
    p.RA_min = static_cast<unsigned char>(sqlite3_column_int(row, 1));
    p.RA_sec = static_cast<float>(sqlite3_column_double(row, 2));
    p.Dec_deg = static_cast<short>(sqlite3_column_int(row, 3));
    p.Dec_arcmin = static_cast<unsigned char>(sqlite3_column_int(row, 4));
    p.Dec_arcsec = static_cast<float>(sqlite3_column_double(row, 5));
    p.Distance = sqlite3_column_double(row, 6);
    return p;
}

long scan(sqlite3_stmt* row, double radius)
{
    long kept = 0;
    while (sqlite3_step(row) == SQLITE_ROW) {
        const long owner = sqlite3_column_int(row, 7);
        if (owner % 100 != 0) continue;
        double x, y, z;
        if (!vldr::positionToXYZ(positionOf(row), x, y, z, true)) continue;
        if (std::sqrt(x * x + y * y + z * z) <= radius) ++kept;
    }
    return kept;
}

long readAll(sqlite3_stmt* row)
{
    long rows = 0;
    while (sqlite3_step(row) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(row); ++c) sqlite3_column_text(row, c);
        ++rows;
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[2], "scan") != 0 && std::strcmp(argv[2], "query") != 0)) {
        std::fprintf(stderr, "usage: %s DATABASE.db scan RADIUS | DATABASE.db query STATEMENT\n", argv[0]);
        return 2;
    }
    const bool isScan = std::strcmp(argv[2], "scan") == 0;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
    const char* text = isScan
        ? kNeighbourScanStatement
        : argv[3];
    sqlite3_stmt* row = nullptr;
    if (sqlite3_prepare_v2(db, text, -1, &row, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    const long count = isScan ? scan(row, std::atof(argv[3])) : readAll(row);
    sqlite3_finalize(row);
    sqlite3_close(db);
    std::printf("%ld\n", count);
    return 0;
}
