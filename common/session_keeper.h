// How a request obtains its ODBC session. A CGI run opens its own and
// closes it; a FastCGI process keeps one session open from request to
// request for as long as the data source's database file is the file it
// opened, so that a database replaced (by rename, say) is read by the very
// next request.
#pragma once

#include <sys/stat.h>

#include <string>

#include "database_session.h"

namespace vldr {

// What tells one database file from another at the same path: device,
// inode, size (bytes) and modification time (nanoseconds).
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedNanoseconds = 0;
};

// The identity of the file at path; exists is false when stat fails.
FileIdentity fileIdentity(const std::string& path);

// True when both name an existing file and every field agrees.
bool sameFile(const FileIdentity& a, const FileIdentity& b);

// The database file the data source "VLDR" names (its Database key in
// odbc.ini, read through the driver manager's profile functions); empty
// when the data source names none.
std::string dataSourceDatabasePath();

class SessionKeeper {
public:
    // keepAcrossRequests: false for a CGI run (open and close per request),
    // true in a FastCGI process.
    explicit SessionKeeper(bool keepAcrossRequests) : keepAcrossRequests_(keepAcrossRequests) {}
    SessionKeeper(const SessionKeeper&) = delete;
    SessionKeeper& operator=(const SessionKeeper&) = delete;

    // Makes the session ready for one request: keeps the session of the
    // previous request when it is kept, opened completely, and the database
    // file is still the one it opened (one stat call); otherwise closes it
    // and opens it afresh (DatabaseSession::open). Returns the step that
    // failed; its handles stay held, for the failure page's diagnostic,
    // until finish().
    SessionFailure open();

    // The session open() prepared; valid until finish().
    DatabaseSession& session() { return session_; }

    // Ends the request's use of the session. A CGI run's session, and one
    // that failed to open, is closed (so the next request tries again); a
    // kept session's shared statement is left with no cursor, no bound
    // columns and no parameters, since those point into the request's
    // memory, and its read transaction is ended.
    void finish();

    // Closes the session, kept or not, so that the next open() connects
    // afresh (after a request on which an ODBC call failed, since the
    // connection may be what failed).
    void close();

private:
    DatabaseSession session_;
    bool keepAcrossRequests_;
    // True while session_ is open completely and kept for the next request.
    bool kept_ = false;
    // The file the kept session opened, and its identity at that moment.
    std::string databasePath_;
    FileIdentity opened_;
};

}  // namespace vldr
