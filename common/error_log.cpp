#include "error_log.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "field_limits.h"

namespace vldr {
namespace {

// Diagnostic records written per failed call; drivers rarely give more than one or two.
constexpr SQLSMALLINT kMaxRecordsLogged = 4;
// Longest part of a statement text written to the log: enough to tell which query failed.
constexpr std::size_t kMaxStatementLogged = 300;
// Diagnostic records of a failed fetch searched for a value fault: a driver
// gives one per column at most, and a row binds no more columns.
constexpr SQLSMALLINT kMaxRecordsOfARow = kMaxBoundColumns;

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

// Writes "<program>: <what>" and the statement, as one line.
void writeLogLine(const std::string& what, std::string_view statementText)
{
    std::string line = std::string(program_invocation_short_name) + ": " + what;
    if (!statementText.empty()) line += " (statement: " + escapedForLog(statementText) + ")";
    line += "\n";
    if (capturedLog)
        capturedLog->append(line);
    else
        std::fputs(line.c_str(), stderr);
}

// The handle's diagnostic record number `record` (from 1); nothing when it has none.
std::optional<DiagnosticRecord> diagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record)
{
    if (handle == nullptr) return std::nullopt;
    SQLCHAR state[kSqlStateSize] = {};
    SQLCHAR message[kDiagnosticMessageSize] = {};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT messageLength = 0;
    const SQLRETURN got =
        SQLGetDiagRec(handleType, handle, record, state, &nativeError, message, sizeof message, &messageLength);
    if (got != SQL_SUCCESS && got != SQL_SUCCESS_WITH_INFO) return std::nullopt;
    return DiagnosticRecord{reinterpret_cast<const char*>(state), nativeError, reinterpret_cast<const char*>(message)};
}

std::string describe(const DiagnosticRecord& record)
{
    return "SQLSTATE=" + record.state + " native=" + std::to_string(record.nativeError) + ": " +
           escapedForLog(record.message);
}

}  // namespace

void logNote(const std::string& what)
{
    writeLogLine(what, {});
}

void captureErrorLog(std::string* log)
{
    capturedLog = log;
}

void logOdbcFailure(const char* call, SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN rc,
                    std::string_view statementText)
{
    const std::string failed = std::string(call) + " failed: ";
    SQLSMALLINT record = 1;
    for (; record <= kMaxRecordsLogged; ++record) {
        const std::optional<DiagnosticRecord> diagnostic = diagnosticRecord(handleType, handle, record);
        if (!diagnostic) break;
        writeLogLine(failed + describe(*diagnostic), statementText);
    }
    if (record == 1) writeLogLine(failed + "return code " + std::to_string(rc) + ", no diagnostic record", statementText);
}

std::optional<DiagnosticRecord> firstDiagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle)
{
    return diagnosticRecord(handleType, handle, 1);
}

std::optional<DiagnosticRecord> valueFaultOf(SQLHSTMT statement)
{
    for (SQLSMALLINT record = 1; record <= kMaxRecordsOfARow; ++record) {
        std::optional<DiagnosticRecord> diagnostic = diagnosticRecord(SQL_HANDLE_STMT, statement, record);
        if (!diagnostic) break;
        if (diagnostic->state.starts_with("22") || diagnostic->state == "07006") return diagnostic;
    }
    return std::nullopt;
}

void logSkippedRow(SQLHSTMT statement, long rowNumber, std::string_view statementText)
{
    const std::optional<DiagnosticRecord> diagnostic = valueFaultOf(statement);
    const std::string skipped = "row " + std::to_string(rowNumber) + " skipped: ";
    writeLogLine(skipped + (diagnostic ? describe(*diagnostic) : "no diagnostic record"), statementText);
}

}  // namespace vldr
