#include "fastcgi_loop.h"

#include <fcgiapp.h>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include "error_log.h"
#include "field_limits.h"
#include "output.h"

namespace vldr {
namespace {

// Writes text to a FastCGI stream in pieces an int can count (bytes).
void putToStream(const std::string& text, FCGX_Stream* stream)
{
    constexpr std::size_t kPiece = 1 << 30;
    for (std::size_t at = 0; at < text.size(); at += kPiece) {
        const std::size_t length = std::min(kPiece, text.size() - at);
        FCGX_PutStr(text.data() + at, static_cast<int>(length), stream);
    }
}

// SIGTERM (what a process manager sends to stop its responders): the
// request being answered is finished, then the loop ends and the process
// exits as a CGI run does, releasing what it holds.
extern "C" void stopAfterThisRequest(int)
{
    FCGX_ShutdownPending();
}

void releaseIfLarge(std::string& buffer)
{
    buffer.clear();
    if (buffer.capacity() > kMaxKeptResponseBufferBytes) buffer.shrink_to_fit();
}

// The FastCGI loop.
//
// The rule that keeps requests apart: nothing read from one request's query
// or from the database outlives that request. Each answer builds its own
// request context and destroys it before it returns; the output and error
// log buffers are emptied before every request. What does outlive a
// request is only what belongs to the connection and stays valid for it:
// the ODBC environment, connection and shared statement, which
// SessionKeeper::finish leaves with no cursor, bound columns or parameters,
// and which is dropped as soon as the database file is no longer the one
// opened (SessionKeeper::open) or a request saw an ODBC call fail.
int answerFastCgiRequests(RequestAnswer answer)
{
    // A visitor who goes away mid-response must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    if (FCGX_Init() != 0) return EXIT_FAILURE;
    // Without SA_RESTART, so that a waiting accept returns and sees the stop.
    struct sigaction stop {};
    stop.sa_handler = stopAfterThisRequest;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTERM, &stop, nullptr);
    FCGX_Request request;
    FCGX_InitRequest(&request, 0, FCGI_FAIL_ACCEPT_ON_INTR);
    SessionKeeper sessions(true);
    std::string response;
    std::string log;
    while (FCGX_Accept_r(&request) >= 0) {
        releaseIfLarge(response);
        releaseIfLarge(log);
        captureOutput(&response);
        captureErrorLog(&log);
        const int status = answer(FCGX_GetParam("QUERY_STRING", request.envp), sessions);
        sessions.finish();
        // Every failed ODBC call is logged: a request that logged one
        // leaves no connection behind, as a CGI run leaves none.
        if (!log.empty()) sessions.close();
        captureOutput(nullptr);
        captureErrorLog(nullptr);
        putToStream(response, request.out);
        putToStream(log, request.err);
        FCGX_SetExitStatus(status, request.out);
        FCGX_Finish_r(&request);
    }
    return 0;
}

// True when standard input is a listening socket, as a FastCGI process
// manager starts its responders: a socket with no peer. (The FastCGI
// library's own test, without initialising the library, whose signal
// handlers would change how a CGI run ends on SIGTERM or SIGPIPE.)
bool startedByFastCgiManager()
{
    sockaddr_storage peer {};
    socklen_t length = sizeof peer;
    return getpeername(STDIN_FILENO, reinterpret_cast<sockaddr*>(&peer), &length) != 0 && errno == ENOTCONN;
}

}  // namespace

int runRequests(RequestAnswer answer)
{
    if (startedByFastCgiManager()) return answerFastCgiRequests(answer);
    SessionKeeper sessions(false);
    return answer(std::getenv("QUERY_STRING"), sessions);
}

}  // namespace vldr
