// The checks that decide whether a file may serve as the data source's
// database: before SQLite opens it (so that nothing is created, recovered
// or rewritten) and after (so that a file without the VLDR tables is
// refused at connect rather than answering every query with nothing).
#pragma once

#include <sqlite3.h>

#include <string>

namespace vldr::driver {

// Why a connect is refused: the SQLSTATE and a message saying what is
// wrong. An empty message means the check passed.
struct Refusal {
    const char* state = "";
    std::string message;
    int native = 0;  // SQLite's result code, when SQLite refused
    bool refused() const { return !message.empty(); }
};

// Checks the file at path without SQLite: it exists, is a regular readable
// file that begins with SQLite's header, is not in WAL mode, and has no
// write-ahead log or hot rollback journal beside it (reading would then
// make SQLite change files).
Refusal checkDatabaseFile(const std::string& path);

// Checks that the open database holds every table the VLDR programs read,
// as tables (a view standing in for one is refused), and that the name of
// the position grid, where it exists, is a table, and that the tables have
// every column the programs read (the first one missing is named).
// Reads the schema, so it also reports a busy or damaged file.
Refusal checkVldrTables(sqlite3* database, const std::string& path);

}  // namespace vldr::driver
