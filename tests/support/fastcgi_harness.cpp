#include "fastcgi_harness.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace vldr::test {
namespace {

// Connections the listening socket queues: more than any test sends at once.
constexpr int kListenBacklog = 16;

// One long-lived FastCGI process and its socket.
struct FastCgiProcess {
    pid_t pid = -1;
    std::string folder;      // holds the socket and the process's standard error
    std::string socketPath;
    std::size_t errorsRead = 0;  // bytes of its standard error already passed on
};

std::string newErrors(FastCgiProcess& process);

// Stops the process as a process manager does (SIGTERM: it finishes the
// request under way and exits, the sanitizers' leak check with it). Returns
// what is wrong with its end: an exit status other than 0, or anything it
// wrote to its own standard error since the last request; else empty.
std::string stopProcess(FastCgiProcess& process)
{
    std::string fault;
    if (process.pid > 0) {
        kill(process.pid, SIGTERM);
        int status = 0;
        waitpid(process.pid, &status, 0);
        process.pid = -1;
        const std::string errors = newErrors(process);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !errors.empty())
            fault = "FastCGI process ended with status " + std::to_string(status) + ":\n" + errors;
    }
    std::error_code ignored;
    std::filesystem::remove_all(process.folder, ignored);
    return fault;
}

// The processes by program and environment; stopped when the test program
// ends, which then fails if one of them ended badly.
struct Processes {
    std::map<std::string, FastCgiProcess> byKey;
    ~Processes()
    {
        bool faulty = false;
        for (auto& entry : byKey) {
            const std::string fault = stopProcess(entry.second);
            if (fault.empty()) continue;
            std::fprintf(stderr, "%s\n", fault.c_str());
            faulty = true;
        }
        if (faulty) std::_Exit(1);
    }
};

Processes& processes()
{
    static Processes all;
    return all;
}

std::string keyOf(const std::string& program, const std::vector<std::string>& environment)
{
    std::string key = program;
    for (const std::string& setting : environment) key += "\n" + setting;
    return key;
}

FastCgiProcess startProcess(const std::string& program, const std::vector<std::string>& environment)
{
    FastCgiProcess process;
    char pattern[] = "/tmp/vldr-fastcgi-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    process.folder = pattern;
    process.socketPath = process.folder + "/socket";

    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (listener < 0) throw std::runtime_error("socket failed");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (process.socketPath.size() >= sizeof address.sun_path) throw std::runtime_error("socket path too long");
    std::strcpy(address.sun_path, process.socketPath.c_str());
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, kListenBacklog) != 0)
        throw std::runtime_error("cannot listen on " + process.socketPath);

    const std::string path = std::string(VLDR_BIN_DIR) + "/" + program;
    const std::string errorPath = process.folder + "/stderr";
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        // As a process manager starts a responder: the listening socket is
        // standard input; standard output is not used.
        dup2(listener, STDIN_FILENO);
        const int nothing = open("/dev/null", O_WRONLY);
        const int errors = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(nothing, STDOUT_FILENO);
        dup2(errors, STDERR_FILENO);
        // Nothing else the test holds (a writer's pipe, say) stays open
        // for the life of the process.
        closefrom(STDERR_FILENO + 1);
        unsetenv("QUERY_STRING");
        for (const std::string& setting : environment) {
            const std::size_t eq = setting.find('=');
            setenv(setting.substr(0, eq).c_str(), setting.substr(eq + 1).c_str(), 1);
        }
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(listener);
    process.pid = child;
    return process;
}

// The process for program and environment, started when there is none or
// the last one has ended.
FastCgiProcess& runningProcess(const std::string& program, const std::vector<std::string>& environment)
{
    FastCgiProcess& process = processes().byKey[keyOf(program, environment)];
    // A process that has ended was reported by the request it died in.
    if (process.pid > 0 && waitpid(process.pid, nullptr, WNOHANG) == process.pid) process.pid = -1;
    if (process.pid <= 0) {
        if (!process.folder.empty()) stopProcess(process);
        process = startProcess(program, environment);
    }
    return process;
}

// What the process wrote to its own standard error since the last call.
std::string newErrors(FastCgiProcess& process)
{
    std::ifstream in(process.folder + "/stderr", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    if (all.size() <= process.errorsRead) return "";
    const std::string fresh = all.substr(process.errorsRead);
    process.errorsRead = all.size();
    return fresh;
}

}  // namespace

bool fastCgiTestMode()
{
    const char* mode = std::getenv("VLDR_TEST_FASTCGI");
    return mode && std::string(mode) == "1";
}

ProgramResult runThroughFastCgi(const std::string& program, const char* query,
                                const std::vector<std::string>& environment)
{
    FastCgiProcess& process = runningProcess(program, environment);
    // cgi-fcgi sends its own environment as the request's parameters.
    ProgramResult result = runExecutable("cgi-fcgi", {"-bind", "-connect", process.socketPath}, query, {});
    if (result.status == 127 && result.output.empty()) throw std::runtime_error("cgi-fcgi is missing (libfcgi-bin)");
    int status = 0;
    if (waitpid(process.pid, &status, WNOHANG) == process.pid) {
        if (WIFSIGNALED(status)) result.status = 1000 + WTERMSIG(status);
        process.pid = -1;
    }
    result.errors += newErrors(process);
    return result;
}

void stopFastCgiProcesses(const std::string& text)
{
    auto& all = processes().byKey;
    for (auto entry = all.begin(); entry != all.end();) {
        if (entry->first.find(text) == std::string::npos) {
            ++entry;
            continue;
        }
        const std::string fault = stopProcess(entry->second);
        if (!fault.empty()) ADD_FAILURE() << fault;
        entry = all.erase(entry);
    }
}

int fastCgiProcessId(const std::string& program, const std::vector<std::string>& environment)
{
    return runningProcess(program, environment).pid;
}

}  // namespace vldr::test
