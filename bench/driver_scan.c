/*
 * The neighbour scan's read of Positions (8 columns of every row, each
 * converted to galactic-free rectangular coordinates and summed), done two
 * ways so that the driver's cost can be set against a floor:
 *
 *   driver_scan odbc      through unixODBC and the data source "VLDR",
 *                         bound as proxlist binds them, one SQLFetch a row
 *   driver_scan sqlite DB through SQLite's own C interface on file DB
 *   driver_scan connect   connect to "VLDR", allocate a statement, exit
 *
 * Prints the row count and a checksum on standard output and the peak
 * resident memory (kB) on standard error. Built by bench/driver_scan.sh.
 */
#include <math.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>

#include "neighbour_scan.h"

static const char *kScan = kNeighbourScanStatement;
static const double kRadiansPerHour = 0.26179938779914941;
static const double kRadiansPerDegree = 0.017453292519943295;

/* The arithmetic every row costs: equatorial to rectangular (light-years). */
static double rowValue(int raHour, int raMinute, double raSecond, int decDegree, int decMinute, double decSecond,
                       double distance, long owner)
{
    const double ra = raHour + raMinute / 60.0 + raSecond / 3600.0;
    const double sign = decDegree < 0 ? -1 : 1;
    const double dec = decDegree + sign * (decMinute / 60.0 + decSecond / 3600.0);
    const double alpha = ra * kRadiansPerHour, theta = (90 - dec) * kRadiansPerDegree;
    const double x = distance * cos(alpha) * sin(theta), y = distance * sin(alpha) * sin(theta);
    const double z = distance * cos(theta);
    return x + y + z + (double)(owner % 7);
}

static long peakKilobytes(void)
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

static int scanSqlite(const char *path)
{
    sqlite3 *db = 0;
    sqlite3_stmt *stmt = 0;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY, 0) != SQLITE_OK) return 1;
    if (sqlite3_prepare_v2(db, kScan, -1, &stmt, 0) != SQLITE_OK) return 1;
    long rows = 0;
    double sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        sum += rowValue(sqlite3_column_int(stmt, 0), sqlite3_column_int(stmt, 1), (float)sqlite3_column_double(stmt, 2),
                        sqlite3_column_int(stmt, 3), sqlite3_column_int(stmt, 4), (float)sqlite3_column_double(stmt, 5),
                        sqlite3_column_double(stmt, 6), (long)sqlite3_column_int(stmt, 7));
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    printf("%ld rows, checksum %.6e\n", rows, sum);
    return 0;
}

static int scanOdbc(int scan)
{
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocEnv(&env);
    SQLAllocConnect(env, &dbc);
    SQLSetConnectOption(dbc, SQL_LOGIN_TIMEOUT, 2);
    SQLSetConnectOption(dbc, SQL_ACCESS_MODE, SQL_MODE_READ_ONLY);
    SQLRETURN rc = SQLConnect(dbc, (SQLCHAR *)"VLDR", SQL_NTS, (SQLCHAR *)"", 0, (SQLCHAR *)"", 0);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return 1;
    SQLAllocStmt(dbc, &stmt);
    long rows = 0;
    double sum = 0;
    if (scan) {
        unsigned char raHour = 0, raMinute = 0, decMinute = 0;
        float raSecond = 0, decSecond = 0;
        short decDegree = 0;
        double distance = 0;
        SQLINTEGER owner = 0;
        SQLLEN ind[8];
        if (SQLExecDirect(stmt, (SQLCHAR *)kScan, SQL_NTS) != SQL_SUCCESS) return 1;
        SQLBindCol(stmt, 1, SQL_C_UTINYINT, &raHour, 0, &ind[0]);
        SQLBindCol(stmt, 2, SQL_C_UTINYINT, &raMinute, 0, &ind[1]);
        SQLBindCol(stmt, 3, SQL_C_FLOAT, &raSecond, 0, &ind[2]);
        SQLBindCol(stmt, 4, SQL_C_SHORT, &decDegree, 0, &ind[3]);
        SQLBindCol(stmt, 5, SQL_C_UTINYINT, &decMinute, 0, &ind[4]);
        SQLBindCol(stmt, 6, SQL_C_FLOAT, &decSecond, 0, &ind[5]);
        SQLBindCol(stmt, 7, SQL_C_DOUBLE, &distance, 0, &ind[6]);
        SQLBindCol(stmt, 8, SQL_C_LONG, &owner, 0, &ind[7]);
        while ((rc = SQLFetch(stmt)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
            sum += rowValue(raHour, raMinute, raSecond, decDegree, decMinute, decSecond, distance, owner);
            ++rows;
        }
    }
    SQLFreeStmt(stmt, SQL_DROP);
    SQLDisconnect(dbc);
    SQLFreeConnect(dbc);
    SQLFreeEnv(env);
    printf("%ld rows, checksum %.6e\n", rows, sum);
    return 0;
}

int main(int argc, char **argv)
{
    int rc = 2;
    if (argc == 3 && strcmp(argv[1], "sqlite") == 0) rc = scanSqlite(argv[2]);
    else if (argc == 2 && strcmp(argv[1], "odbc") == 0) rc = scanOdbc(1);
    else if (argc == 2 && strcmp(argv[1], "connect") == 0) rc = scanOdbc(0);
    else fprintf(stderr, "usage: driver_scan odbc | sqlite DB | connect\n");
    fprintf(stderr, "peak %ld kB\n", peakKilobytes());
    return rc;
}
