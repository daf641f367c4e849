#include "statement.h"

#include <cstdarg>
#include <cstdio>

namespace vldr {

std::string composeStatement(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

bool runQueryOnFreshStatement(SQLHSTMT statement, const std::string& text)
{
    return SQLExecDirect(statement, (SQLCHAR*)text.c_str(), SQL_NTS) == SQL_SUCCESS;
}

bool runQuery(SQLHSTMT statement, const std::string& text)
{
    SQLFreeStmt(statement, SQL_CLOSE);
    // Bindings outlive the cursor; release them so that no fetch of this
    // query writes into storage an earlier query bound.
    SQLFreeStmt(statement, SQL_UNBIND);
    return runQueryOnFreshStatement(statement, text);
}

bool fetchRow(SQLHSTMT statement)
{
    SQLRETURN rc = SQLFetch(statement);
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

void bindColumn(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, void* storage,
                SQLLEN size, SQLLEN* indicator)
{
    SQLBindCol(statement, column, cType, storage, size, indicator);
}

}  // namespace vldr
