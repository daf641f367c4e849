#include "error_log.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "field_limits.h"

namespace vldr {
namespace {

// Diagnostic records written per failed call; drivers rarely give more than one or two.
constexpr SQLSMALLINT kMaxRecordsLogged = 4;
// Longest part of a statement text written to the log: enough to tell which query failed.
constexpr std::size_t kMaxStatementLogged = 300;

// Where the log lines go instead of standard error; null for standard error.
std::string* capturedLog = nullptr;

// The text with every byte outside printable ASCII written as \xHH, so that
// no request can forge or break lines of the error log.
std::string escapedForLog(std::string_view text)
{
    std::string out;
    for (const char c : text.substr(0, kMaxStatementLogged)) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        }
    }
    if (text.size() > kMaxStatementLogged) out += "...";
    return out;
}

void writeLogLine(const char* call, const char* detail, std::string_view statementText)
{
    std::string line = std::string(program_invocation_short_name) + ": " + call + " failed: " + detail;
    if (!statementText.empty()) line += " (statement: " + escapedForLog(statementText) + ")";
    line += "\n";
    if (capturedLog)
        capturedLog->append(line);
    else
        std::fputs(line.c_str(), stderr);
}

}  // namespace

void captureErrorLog(std::string* log)
{
    capturedLog = log;
}

void logOdbcFailure(const char* call, SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN rc,
                    std::string_view statementText)
{
    SQLSMALLINT record = 1;
    if (handle != nullptr) {
        for (; record <= kMaxRecordsLogged; ++record) {
            SQLCHAR state[kSqlStateSize] = {};
            SQLCHAR message[kDiagnosticMessageSize] = {};
            SQLINTEGER nativeError = 0;
            SQLSMALLINT messageLength = 0;
            const SQLRETURN got = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message,
                                                sizeof message, &messageLength);
            if (got != SQL_SUCCESS && got != SQL_SUCCESS_WITH_INFO) break;
            const std::string detail = "SQLSTATE=" + std::string(reinterpret_cast<const char*>(state)) +
                                       " native=" + std::to_string(nativeError) + ": " +
                                       escapedForLog(reinterpret_cast<const char*>(message));
            writeLogLine(call, detail.c_str(), statementText);
        }
    }
    if (record == 1) {
        const std::string detail = "return code " + std::to_string(rc) + ", no diagnostic record";
        writeLogLine(call, detail.c_str(), statementText);
    }
}

}  // namespace vldr
