// The settings of a VLDR data source: the keywords of its odbc.ini section
// (or of a connection string), their defaults, and how they are read.
//
//   Database=PATH       the SQLite file to read (required)
//   BusyTimeout=MS      how long one statement may wait for a writer's
//                       lock and run, together (milliseconds, default
//                       2000) before it fails
#pragma once

#include <string>
#include <string_view>

namespace vldr::driver {

// Milliseconds a statement may wait and run when the data source sets no
// BusyTimeout: the extension's limit (VLDR_STATEMENT_LIMIT_MS, checked in read_only.cpp).
constexpr int kDefaultBusyTimeoutMs = 2000;
// The longest busy wait a data source may set (milliseconds): one minute.
constexpr int kMaximumBusyTimeoutMs = 60000;

struct DataSourceSettings {
    std::string databasePath;
    int busyTimeoutMs = kDefaultBusyTimeoutMs;
    std::string problem;  // why the settings cannot be used; empty when they can
};

// Reads the section of data source name from the ODBC configuration
// (odbc.ini, through unixODBC's configuration library).
DataSourceSettings readDataSource(const std::string& name);

// The value of keyword in a connection string "KEY=value;KEY=value" (keys
// compared without regard to case), or the empty text when it is absent.
std::string connectionStringValue(std::string_view connectionString, std::string_view keyword);

// Applies the Database= and BusyTimeout= texts (either may be empty: the
// setting keeps its value) to settings, noting a malformed value in problem.
void applySettings(DataSourceSettings& settings, const std::string& database, const std::string& busyTimeout);

}  // namespace vldr::driver
