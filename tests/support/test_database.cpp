#include "test_database.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "fastcgi_harness.h"

namespace vldr::test {
namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void runCommand(const std::string& command)
{
    if (std::system(command.c_str()) != 0) throw std::runtime_error("command failed: " + command);
}

std::string shellQuoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

// Reads the child's standard output and standard error until both close,
// killing the child when it runs past the time limit.
void collectOutput(pid_t child, int outFd, int errorFd, ProgramResult& result)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kRunTimeLimitSeconds);
    pollfd ends[2] = {{outFd, POLLIN, 0}, {errorFd, POLLIN, 0}};
    std::string* sinks[2] = {&result.output, &result.errors};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(child, SIGKILL);
            result.killed = true;
        }
        const int ready = poll(ends, 2, result.killed ? -1 : static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) throw std::runtime_error("poll failed");
        for (int i = 0; i < 2; ++i) {
            if (ends[i].fd < 0 || !(ends[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = read(ends[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ends[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

std::string testDriver()
{
    const char* driver = std::getenv("VLDR_TEST_DRIVER");
    return driver && *driver ? driver : "vldr";
}

std::string fixturePath(const std::string& name)
{
    return std::string(VLDR_SOURCE_DIR) + "/tests/fixtures/" + name;
}

TestDatabase::TestDatabase(std::initializer_list<std::string> sql)
{
    char pattern[] = "/tmp/vldr-test-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    directory_ = pattern;
    database_ = directory_ + "/vldr.db";
    configDirectory_ = directory_ + "/odbc";

    const std::string dataPath = directory_ + "/data.sql";
    {
        std::ofstream data(dataPath, std::ios::binary);
        for (const std::string& part : sql) {
            const bool isFile = part.size() > 4 && part.compare(part.size() - 4, 4, ".sql") == 0 &&
                                part.find('\n') == std::string::npos && part.find(' ') == std::string::npos;
            data << (isFile ? readFile(fixturePath(part)) : part) << "\n";
        }
    }
    runCommand(std::string(VLDR_SOURCE_DIR) + "/db/build-db --lib " + shellQuoted(VLDR_LIB_DIR) + " " +
               shellQuoted(database_) + " " + shellQuoted(dataPath));
    runCommand(std::string(VLDR_SOURCE_DIR) + "/db/write-dsn --driver " + shellQuoted(testDriver()) + " " +
               shellQuoted(database_) + " " + shellQuoted(VLDR_LIB_DIR) + " " + shellQuoted(configDirectory_));
}

TestDatabase::~TestDatabase()
{
    stopFastCgiProcesses(configDirectory_);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void TestDatabase::removeDatabaseFile() const
{
    std::filesystem::remove(database_);
}

ProgramResult TestDatabase::run(const std::string& program, const char* query) const
{
    return runProgram(program, query,
                      {"ODBCSYSINI=" + configDirectory_, "ODBCINI=" + configDirectory_ + "/odbc.ini"});
}

ProgramResult runProgram(const std::string& program, const char* query,
                         std::initializer_list<std::string> environment)
{
    const std::vector<std::string> settings(environment);
    if (fastCgiTestMode()) return runThroughFastCgi(program, query, settings);
    return runExecutable(std::string(VLDR_BIN_DIR) + "/" + program, {}, query, settings);
}

ProgramResult runExecutable(const std::string& path, const std::vector<std::string>& arguments, const char* query,
                            const std::vector<std::string>& settings)
{
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int outPipe[2], errorPipe[2];
    if (pipe(outPipe) != 0 || pipe(errorPipe) != 0) throw std::runtime_error("pipe failed");
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        const int empty = open("/dev/null", O_RDONLY);
        if (empty >= 0) dup2(empty, STDIN_FILENO);
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errorPipe[1], STDERR_FILENO);
        for (int end : {outPipe[0], outPipe[1], errorPipe[0], errorPipe[1], empty}) close(end);
        if (query) setenv("QUERY_STRING", query, 1);
        else unsetenv("QUERY_STRING");
        for (const std::string& setting : settings) {
            const std::size_t eq = setting.find('=');
            setenv(setting.substr(0, eq).c_str(), setting.substr(eq + 1).c_str(), 1);
        }
        execvp(path.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errorPipe[1]);
    ProgramResult result;
    collectOutput(child, outPipe[0], errorPipe[0], result);
    close(outPipe[0]);
    close(errorPipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    return result;
}

std::string htmlHead(const std::string& titleLine)
{
    return "Content-type: text/html\n\n"
           "<HTML>\n"
           "<HEAD>\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\n"
           "<META NAME=\"viewport\" CONTENT=\"width=device-width, initial-scale=1\">\n" +
           titleLine + "\n</HEAD>\n<BODY>\n";
}

std::string reportRadiusForm(int id)
{
    return "<FORM ACTION=\"/Scripts/proxlist.exe\" METHOD=\"GET\">\n"
           "<INPUT TYPE=\"Hidden\" NAME=\"ID\" VALUE=\"" +
           std::to_string(id) +
           "\">\n"
           "<INPUT TYPE=\"Submit\" VALUE=\"Find all stars within\">\n"
           "<INPUT TYPE=\"text\" NAME=\"ly\" VALUE=\"15\" SIZE=3> light-years\n"
           "</FORM>\n";
}

std::string reportFoot(int id, const std::string& date)
{
    return reportRadiusForm(id) +
           "\n<FORM ACTION=\"/Scripts/proxlist.exe\" METHOD=\"GET\">\n"
           "<INPUT TYPE=\"Hidden\" NAME=\"ID\" VALUE=\"" +
           std::to_string(id) +
           "\">\n"
           "<INPUT TYPE=\"Submit\" VALUE=\"Find all stars at least\">\n"
           "<INPUT TYPE=\"text\" NAME=\"minLY\" VALUE=\"10\" SIZE=3> but not more than\n"
           "<INPUT TYPE=\"text\" NAME=\"ly\" VALUE=\"15\" SIZE=3> light-years away\n"
           "</FORM>\n\n"
           "Data for this star system were most recently updated on " +
           date + ".\n</BODY>\n</HTML>\n";
}

}  // namespace vldr::test
