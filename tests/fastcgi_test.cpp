// The programs as long-lived FastCGI responders: what one request leaves
// behind never shows in the next, and the kept connection follows the
// database file. Each FastCGI answer is compared with a fresh CGI run's.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fastcgi_harness.h"
#include "test_database.h"

using namespace vldr::test;

namespace {

struct Request {
    const char* program;
    const char* query;  // null: no QUERY_STRING
};

// Requests that differ in every way: ID, name, catalogue designation, a
// match list, not found, refused, no query, and both forms of the
// neighbour search with and without limits.
const std::vector<Request> kSysviewRequests = {
    {"sysview", "ID=100"},
    {"sysview", "Name=Sol"},
    {"sysview", "Catalog=HD&CatNo=12345"},
    {"sysview", "Name=Cen"},
    {"sysview", "ID=9900"},
    {"sysview", "Name=%C9toile"},
    {"sysview", "ID=abc"},
    {"sysview", nullptr},
    {"sysview", "Name=NoSuchStar"},
    {"sysview", "ID=500"},
};
const std::vector<Request> kProxlistRequests = {
    {"proxlist", "ID=200&minLY=1&ly=20&minRAHour=1"},
    {"proxlist", "X=3&Y=4&ly=5"},
    {"proxlist", "ID=900"},
    {"proxlist", "ly=abc"},
    {"proxlist", "ID=700"},
    {"proxlist", "X=3&Y=4&minLY=5&maxRAHour=5&maxRAMin=30"},
    {"proxlist", nullptr},
    {"proxlist", "ID=1100&minLY=0.5"},
    {"proxlist", ""},
};

std::vector<std::string> dataSourceOf(const TestDatabase& db)
{
    return {"ODBCSYSINI=" + db.configDirectory(), "ODBCINI=" + db.configDirectory() + "/odbc.ini"};
}

ProgramResult cgiRun(const TestDatabase& db, const Request& request)
{
    return runExecutable(std::string(VLDR_BIN_DIR) + "/" + request.program, {}, request.query, dataSourceOf(db));
}

ProgramResult fastCgiRun(const TestDatabase& db, const Request& request)
{
    return runThroughFastCgi(request.program, request.query, dataSourceOf(db));
}

// Empty when the FastCGI answer is the CGI answer; else what differs.
std::string difference(const ProgramResult& cgi, const ProgramResult& fastCgi)
{
    if (fastCgi.output != cgi.output) return "response differs:\n" + fastCgi.output + "\nCGI:\n" + cgi.output;
    if (fastCgi.status != cgi.status)
        return "status " + std::to_string(fastCgi.status) + ", CGI " + std::to_string(cgi.status);
    if (fastCgi.errors != cgi.errors) return "error log differs:\n" + fastCgi.errors + "\nCGI:\n" + cgi.errors;
    return "";
}

std::string label(const Request& request)
{
    return std::string(request.program) + " " + (request.query ? request.query : "(no query)");
}

TEST(FastCgi, InterleavedRequestsEachAnswerAsAFreshProcessDoes)
{
    const TestDatabase systems({"sysview_entry.sql"});
    const TestDatabase neighbours({"proxlist_search.sql"});
    // Forwards, then backwards, so that every request follows requests of
    // other kinds in the same two processes.
    std::vector<std::pair<const TestDatabase*, Request>> sequence;
    for (std::size_t i = 0; i < std::max(kSysviewRequests.size(), kProxlistRequests.size()); ++i) {
        if (i < kSysviewRequests.size()) sequence.push_back({&systems, kSysviewRequests[i]});
        if (i < kProxlistRequests.size()) sequence.push_back({&neighbours, kProxlistRequests[i]});
    }
    for (std::size_t i = sequence.size(); i-- > 0;) sequence.push_back(sequence[i]);

    const int sysviewProcess = fastCgiProcessId("sysview", dataSourceOf(systems));
    const int proxlistProcess = fastCgiProcessId("proxlist", dataSourceOf(neighbours));
    for (const auto& [db, request] : sequence)
        EXPECT_EQ(difference(cgiRun(*db, request), fastCgiRun(*db, request)), "") << label(request);
    EXPECT_EQ(fastCgiProcessId("sysview", dataSourceOf(systems)), sysviewProcess) << "one process answered all";
    EXPECT_EQ(fastCgiProcessId("proxlist", dataSourceOf(neighbours)), proxlistProcess) << "one process answered all";
}

TEST(FastCgi, KeptConnectionFollowsTheDatabaseFileReplacedRemovedAndRestored)
{
    const TestDatabase served({"sysview_entry.sql"});
    const TestDatabase renamed({"sysview_entry.sql", "UPDATE ProperNames SET Name = 'Renamed Sun' WHERE OwnerID = 200;"});
    const TestDatabase restored({"sysview_entry.sql"});
    const Request request{"sysview", "ID=200"};
    const Request byName{"sysview", "Name=Renamed"};
    const std::string before = fastCgiRun(served, request).output;
    const int process = fastCgiProcessId("sysview", dataSourceOf(served));

    // Replaced by rename, as an import publishes a new database.
    ASSERT_EQ(std::rename(renamed.databasePath().c_str(), served.databasePath().c_str()), 0);
    const ProgramResult afterRename = fastCgiRun(served, request);
    EXPECT_NE(afterRename.output, before);
    EXPECT_EQ(difference(cgiRun(served, request), afterRename), "");
    EXPECT_EQ(difference(cgiRun(served, byName), fastCgiRun(served, byName)), "");

    // Gone: the same failure as CGI, and the next request tries again.
    served.removeDatabaseFile();
    EXPECT_EQ(difference(cgiRun(served, request), fastCgiRun(served, request)), "");
    EXPECT_EQ(difference(cgiRun(served, request), fastCgiRun(served, request)), "");
    ASSERT_EQ(std::rename(restored.databasePath().c_str(), served.databasePath().c_str()), 0);
    const ProgramResult afterRestore = fastCgiRun(served, request);
    EXPECT_EQ(afterRestore.output, before);
    EXPECT_EQ(difference(cgiRun(served, request), afterRestore), "");
    EXPECT_EQ(fastCgiProcessId("sysview", dataSourceOf(served)), process) << "one process answered all";
}

TEST(FastCgi, CgiRunStillEndsOnABrokenPipeAsBefore)
{
    // Regression: the FastCGI library's signal handlers, installed in CGI
    // runs too, kept a CGI run going after SIGPIPE (and SIGTERM).
    const TestDatabase db({"sysview_entry.sql"});
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]);  // nobody reads the response
    const std::vector<std::string> settings = dataSourceOf(db);
    const std::string path = std::string(VLDR_BIN_DIR) + "/sysview";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[1]);
        setenv("QUERY_STRING", "ID=100", 1);
        for (const std::string& setting : settings) putenv(const_cast<char*>(setting.c_str()));
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << "status " << status;
}

}  // namespace
