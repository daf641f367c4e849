// A sqlite3 shell process kept open on a database, standing for another
// program that uses the file while a request runs: a writer that holds a
// lock, or one that is killed and leaves its write-ahead log behind.
#pragma once

#include <sys/types.h>

#include <string>

namespace vldr::test {

class SqliteShell {
public:
    // Starts `sqlite3 -batch database` with its input and output on pipes.
    explicit SqliteShell(const std::string& database);
    SqliteShell(const SqliteShell&) = delete;
    SqliteShell& operator=(const SqliteShell&) = delete;
    // Ends the shell as close() does, unless it was killed.
    ~SqliteShell();

    // Sends statements and waits until the shell has run them (it answers a
    // marker query sent after them). Throws when the shell ends first.
    void execute(const std::string& statements);

    // Ends the input, so that the shell rolls back what is open and exits,
    // and waits for it.
    void close();

    // Kills the shell at once (SIGKILL), as a crash would, and waits for it.
    void kill();

private:
    pid_t process_ = -1;
    int input_ = -1;
    int output_ = -1;
};

// Runs statements on database with `sqlite3 -batch -bail` (no extension, so
// everything is allowed) and returns what it printed, rows as "a|b|c" lines.
// Throws when the shell fails.
std::string runSqlite(const std::string& database, const std::string& statements);

}  // namespace vldr::test
