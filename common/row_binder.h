// The one way a query's result columns are bound and read: a binder owns
// the length indicators, binds storage by column number, says after each
// fetch which columns held a value, and releases the bindings when it goes.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <array>
#include <cstddef>

#include "field_limits.h"

namespace vldr {

class RowBinder {
public:
    // Binds columns of statement, which must hold an executed query.
    explicit RowBinder(SQLHSTMT statement) : statement_(statement) {}
    RowBinder(const RowBinder&) = delete;
    RowBinder& operator=(const RowBinder&) = delete;
    // Releases every binding of the statement (SQLFreeStmt, SQL_UNBIND), so
    // that no later fetch writes into storage that has gone.
    ~RowBinder();

    // Bind result column `column` (from 1 to kMaxBoundColumns) to storage of
    // the C type the name says. The storage must outlive the binder. A
    // column that is NULL in a row leaves its storage as it was.
    void bindLong(SQLUSMALLINT column, SQLINTEGER& storage);            // SQL_C_LONG
    void bindShort(SQLUSMALLINT column, SQLSMALLINT& storage);          // SQL_C_SHORT
    void bindUnsignedTiny(SQLUSMALLINT column, unsigned char& storage); // SQL_C_UTINYINT
    void bindBit(SQLUSMALLINT column, unsigned char& storage);          // SQL_C_BIT
    void bindDouble(SQLUSMALLINT column, double& storage);              // SQL_C_DOUBLE
    void bindFloat(SQLUSMALLINT column, float& storage);                // SQL_C_FLOAT
    void bindDate(SQLUSMALLINT column, DATE_STRUCT& storage);           // SQL_C_DATE
    // SQL_C_CHAR into a fixed field of size bytes; an over-long text arrives cut.
    void bindText(SQLUSMALLINT column, char* field, std::size_t size);
    template <std::size_t N>
    void bindText(SQLUSMALLINT column, char (&field)[N])
    {
        bindText(column, field, N);
    }

    // Fetches the next row. True when a row came (SQL_SUCCESS or
    // SQL_SUCCESS_WITH_INFO); a failed fetch other than the end of the rows
    // is written to the error log. After a row, has() tells for each bound
    // column whether it held a value.
    bool fetch();

    // True when column held a value in the row fetched last: not NULL, and
    // for a double or float column a finite number. A stored infinity or
    // NaN counts as absent everywhere it is read (its storage then holds 0),
    // so that no page ever shows or computes with one.
    bool has(SQLUSMALLINT column) const;

    // For a bit column: true when it held a value that is not 0 (a NULL bit reads as false).
    bool isSet(SQLUSMALLINT column) const;

private:
    struct Column {
        SQLSMALLINT cType = 0;
        void* storage = nullptr;
        SQLLEN indicator = SQL_NULL_DATA;
        bool present = false;
    };

    void bind(SQLUSMALLINT column, SQLSMALLINT cType, void* storage, SQLLEN size);
    static bool holdsValue(const Column& bound);

    SQLHSTMT statement_;
    std::array<Column, kMaxBoundColumns + 1> columns_{};  // indexed by column number; 0 unused
};

}  // namespace vldr
