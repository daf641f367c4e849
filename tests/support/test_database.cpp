#include "test_database.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

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

}  // namespace

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
    runCommand(std::string(VLDR_SOURCE_DIR) + "/db/write-dsn " + shellQuoted(database_) + " " +
               shellQuoted(VLDR_LIB_DIR) + " " + shellQuoted(configDirectory_));
}

TestDatabase::~TestDatabase()
{
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
    const std::string path = std::string(VLDR_BIN_DIR) + "/" + program;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
    const std::vector<std::string> settings(environment);
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (query) setenv("QUERY_STRING", query, 1);
        else unsetenv("QUERY_STRING");
        for (const std::string& setting : settings) {
            const std::size_t eq = setting.find('=');
            setenv(setting.substr(0, eq).c_str(), setting.substr(eq + 1).c_str(), 1);
        }
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    ProgramResult result;
    char buffer[65536];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) result.output.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
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

}  // namespace vldr::test
