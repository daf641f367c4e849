#include "binding.h"

#include "conversion.h"
#include "diagnostics.h"
#include "statement_support.h"

#include <string>

namespace vldr::driver {

SQLRETURN fillBoundColumns(Statement& statement)
{
    const int columns = sqlite3_column_count(statement.prepared);
    SQLRETURN result = SQL_SUCCESS;
    const int bound = static_cast<int>(statement.bindings.size()) - 1;
    for (int column = 1; column <= bound && column <= columns; ++column) {
        const Binding& binding = statement.bindings[static_cast<std::size_t>(column)];
        if (binding.cType == 0) continue;
        const Target target{binding.cType, binding.buffer, binding.bufferLength, binding.indicator};
        const Conversion conversion = convertColumn(statement.prepared, column - 1, target, 0, nullptr);
        if (conversion == Conversion::Done) continue;
        // A warning of a later column must not hide an earlier column's error.
        const SQLRETURN reported = reportConversion(statement.diagnostics, conversion, column);
        if (result != SQL_ERROR) result = reported;
    }
    return result;
}

}  // namespace vldr::driver

using namespace vldr::driver;

namespace {

// Refuses a C type the driver does not convert into.
SQLRETURN checkCType(DiagnosticArea& diagnostics, SQLSMALLINT cType)
{
    if (isSupportedCType(cType)) return SQL_SUCCESS;
    if (isKnownCType(cType)) {
        return notImplemented(diagnostics, ("conversion to C type " + std::to_string(cType)).c_str());
    }
    return fail(diagnostics, "HY003", "Program type out of range: " + std::to_string(cType));
}

}  // namespace

// Binds result column `column` (from 1) to the application's storage; a
// null buffer releases the binding. Each fetch then writes the column there.
SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER buffer,
                             SQLLEN bufferLength, SQLLEN* indicator)
{
    auto* statement = static_cast<Statement*>(handle);
    clearDiagnostics(statement->diagnostics);
    if (column == 0) return fail(statement->diagnostics, "07009", "column 0 (bookmarks) is not offered");
    if (buffer == nullptr && indicator == nullptr) {
        if (column < statement->bindings.size()) statement->bindings[column] = Binding{};
        return SQL_SUCCESS;
    }
    const SQLRETURN typeCheck = checkCType(statement->diagnostics, cType);
    if (typeCheck != SQL_SUCCESS) return typeCheck;
    if (bufferLength < 0) return fail(statement->diagnostics, "HY090", "the buffer length is negative");
    if (column >= statement->bindings.size()) statement->bindings.resize(static_cast<std::size_t>(column) + 1);
    statement->bindings[column] = Binding{cType, buffer, bufferLength, indicator};
    return SQL_SUCCESS;
}

// Reads column `column` (from 1) of the current row into the given storage.
// Text and bytes come in pieces: each call continues where the last one
// stopped (01004 while more remains), then SQL_NO_DATA.
SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER buffer,
                             SQLLEN bufferLength, SQLLEN* indicator)
{
    auto* statement = static_cast<Statement*>(handle);
    DiagnosticArea& diagnostics = statement->diagnostics;
    clearDiagnostics(diagnostics);
    if (statement->cursor != CursorState::OnRow) return fail(diagnostics, "24000", "the cursor is not on a row");
    if (column == 0 || column > sqlite3_column_count(statement->prepared)) {
        return fail(diagnostics, "07009", "there is no column " + std::to_string(column));
    }
    const SQLRETURN typeCheck = checkCType(diagnostics, cType);
    if (typeCheck != SQL_SUCCESS) return typeCheck;
    if (bufferLength < 0) return fail(diagnostics, "HY090", "the buffer length is negative");
    if (statement->getDataColumn != column) {
        statement->getDataColumn = column;
        statement->getDataOffset = 0;
        statement->getDataFinished = false;
    }
    if (statement->getDataFinished) return SQL_NO_DATA;
    SQLLEN delivered = 0;
    const Target target{cType, buffer, bufferLength, indicator};
    const Conversion conversion =
        convertColumn(statement->prepared, column - 1, target, statement->getDataOffset, &delivered);
    statement->getDataOffset += delivered;
    statement->getDataFinished = conversion != Conversion::TextCut;
    return reportConversion(diagnostics, conversion, column);
}
