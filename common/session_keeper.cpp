#include "session_keeper.h"

#include <odbcinst.h>

#include "field_limits.h"
#include "request_deadline.h"

namespace vldr {

FileIdentity fileIdentity(const std::string& path)
{
    FileIdentity identity;
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0) return identity;
    identity.exists = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modifiedNanoseconds = static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
    return identity;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.exists && b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modifiedNanoseconds == b.modifiedNanoseconds;
}

std::string dataSourceDatabasePath()
{
    char path[kDatabasePathSize] = {};
    const int length = SQLGetPrivateProfileString("VLDR", "Database", "", path, sizeof path, "odbc.ini");
    // A path that fills the buffer may be cut short: treat it as unknown.
    if (length <= 0 || length >= static_cast<int>(sizeof path) - 1) return "";
    return path;
}

SessionFailure SessionKeeper::open()
{
    // Every request has its own deadline, whether or not it connects.
    startRequestDeadline();
    if (kept_ && sameFile(fileIdentity(databasePath_), opened_)) return SessionFailure::None;
    close();
    // The identity is taken before connecting: a file replaced in between
    // differs from it at the next request, which then reconnects once more.
    databasePath_ = dataSourceDatabasePath();
    opened_ = fileIdentity(databasePath_);
    const SessionFailure failure = session_.open();
    kept_ = keepAcrossRequests_ && failure == SessionFailure::None;
    return failure;
}

void SessionKeeper::finish()
{
    if (!kept_) {
        close();
        return;
    }
    SQLFreeStmt(session_.statement(), SQL_CLOSE);
    SQLFreeStmt(session_.statement(), SQL_UNBIND);
    SQLFreeStmt(session_.statement(), SQL_RESET_PARAMS);
    session_.endRequestReads();
}

void SessionKeeper::close()
{
    session_.close();
    kept_ = false;
}

}  // namespace vldr
