#include "sqlite_shell.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vldr::test {
namespace {

// Printed by the shell after the statements of one execute() call.
constexpr const char* kMarker = "vldr-shell-ready";

void writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) throw std::runtime_error("sqlite3 shell input closed");
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

SqliteShell::SqliteShell(const std::string& database)
{
    int toShell[2], fromShell[2];
    if (pipe(toShell) != 0 || pipe(fromShell) != 0) throw std::runtime_error("pipe failed");
    process_ = fork();
    if (process_ < 0) throw std::runtime_error("fork failed");
    if (process_ == 0) {
        dup2(toShell[0], STDIN_FILENO);
        dup2(fromShell[1], STDOUT_FILENO);
        dup2(fromShell[1], STDERR_FILENO);
        for (int end : {toShell[0], toShell[1], fromShell[0], fromShell[1]}) ::close(end);
        execlp("sqlite3", "sqlite3", "-batch", database.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(toShell[0]);
    ::close(fromShell[1]);
    input_ = toShell[1];
    output_ = fromShell[0];
    signal(SIGPIPE, SIG_IGN);
}

SqliteShell::~SqliteShell()
{
    close();
}

void SqliteShell::execute(const std::string& statements)
{
    writeAll(input_, statements + "\nSELECT '" + kMarker + "';\n");
    std::string seen;
    char buffer[4096];
    while (seen.find(kMarker) == std::string::npos) {
        const ssize_t n = read(output_, buffer, sizeof buffer);
        if (n <= 0) throw std::runtime_error("sqlite3 shell ended: " + seen);
        seen.append(buffer, static_cast<std::size_t>(n));
    }
    if (seen.find("Error") != std::string::npos) throw std::runtime_error("sqlite3 shell: " + seen);
}

void SqliteShell::close()
{
    if (process_ < 0) return;
    ::close(input_);
    ::close(output_);
    waitpid(process_, nullptr, 0);
    process_ = -1;
}

void SqliteShell::kill()
{
    if (process_ < 0) return;
    ::kill(process_, SIGKILL);
    close();
}

std::string runSqlite(const std::string& database, const std::string& statements)
{
    char pattern[] = "/tmp/vldr-sql-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    ::close(fd);
    const std::string input = pattern, output = input + ".out";
    // INT() of the dialect, which the indexes by system need when names change.
    std::ofstream(input, std::ios::binary) << ".load '" << VLDR_LIB_DIR << "/vldr_sqlite_ext.so' sqlite3_vldr_dialect_init\n"
                                           << statements << "\n";
    const std::string command = "sqlite3 -batch -bail '" + database + "' < '" + input + "' > '" + output + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ostringstream printed;
    printed << std::ifstream(output, std::ios::binary).rdbuf();
    std::remove(input.c_str());
    std::remove(output.c_str());
    if (status != 0) throw std::runtime_error("sqlite3 failed on " + database + ": " + printed.str());
    return printed.str();
}

}  // namespace vldr::test
