// The one way a query's result columns are bound and read: a binder owns
// the length indicators, binds storage by column number, says after each
// fetch which columns held a value, and releases the bindings when it goes.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "field_limits.h"

namespace vldr {

// A result column handed to RowBinder::bindColumns with what each fetch
// does beside filling it: set a presence flag, and clear the storage (to
// zero or empty text) when the column is NULL, so that nothing of an
// earlier row or of a default stays behind.
template <class T>
struct BoundField {
    T& storage;
    bool* present = nullptr;
    bool clearWhenNull = false;
};

// The column fills storage; each fetch sets present to whether it held a value.
template <class T>
BoundField<T> flagged(T& storage, bool& present)
{
    return BoundField<T>{storage, &present, false};
}

// The column fills storage; a NULL clears it.
template <class T>
BoundField<T> clearedWhenNull(T& storage)
{
    return BoundField<T>{storage, nullptr, true};
}

// Both: present tells whether the column held a value, and a NULL clears storage.
template <class T>
BoundField<T> flaggedOrCleared(T& storage, bool& present)
{
    return BoundField<T>{storage, &present, true};
}

class RowBinder {
public:
    // Binds columns of statement, which must hold an executed query;
    // statementText (the query's text, when the caller has it) names the
    // query in the error log.
    explicit RowBinder(SQLHSTMT statement, std::string statementText = {})
        : statement_(statement), statementText_(std::move(statementText))
    {
    }
    RowBinder(const RowBinder&) = delete;
    RowBinder& operator=(const RowBinder&) = delete;
    // Releases every binding of the statement (SQLFreeStmt, SQL_UNBIND), so
    // that no later fetch writes into storage that has gone.
    ~RowBinder();

    // Bind result column `column` (from 1 to kMaxBoundColumns) to storage of
    // the C type the name says. A column outside that range is an error:
    // one line of the error log names it, and fetch() then brings no row.
    // Otherwise binds storage as told. The storage must outlive the binder. What
    // the storage of a column that is NULL in a row holds is the driver's
    // choice (one leaves it as it was, another writes 0): read it only
    // behind has(), or bind it with clearedWhenNull.
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
    // A bit column read into a bool: after each fetch, true when the column
    // held a value that is not 0 (a NULL bit reads as false).
    void bindFlag(SQLUSMALLINT column, bool& target);

    // Binds one column per argument, in order, starting at column first
    // (bindColumns: at column 1). An argument is the storage itself (its C
    // type chooses the binding: SQLINTEGER, SQLSMALLINT, unsigned char as a
    // tiny integer, bool as a bit, double, float, DATE_STRUCT, char[N] as
    // text) or a BoundField from flagged, clearedWhenNull or flaggedOrCleared.
    template <class... Fields>
    void bindColumnsFrom(SQLUSMALLINT first, Fields&&... fields)
    {
        SQLUSMALLINT column = first;
        (bindField(column++, std::forward<Fields>(fields)), ...);
    }
    template <class... Fields>
    void bindColumns(Fields&&... fields)
    {
        static_assert(sizeof...(Fields) <= kMaxBoundColumns, "more columns than a RowBinder holds");
        bindColumnsFrom(1, std::forward<Fields>(fields)...);
    }

    // Fetches the next row. True when a row came (SQL_SUCCESS or
    // SQL_SUCCESS_WITH_INFO); a failed fetch other than the end of the rows
    // is written to the error log. A row with a value that cannot be read
    // (a number too large for its C type, text in a number column) costs
    // that row alone: one line of the error log names it, and the next row
    // is fetched in its place (the driver manager allows no second look at
    // a row whose fetch failed). After a row, has() tells for each bound
    // column whether it held a value, and the flags, bools and cleared
    // fields of bindColumns and bindFlag are set from it. Without a row
    // they stay as they were.
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
        bool* presentFlag = nullptr;  // set after each fetch
        std::size_t clearSize = 0;    // bytes of storage cleared by a NULL
        unsigned char bit = 0;        // a bindFlag column lands here ...
        bool* bitTarget = nullptr;    // ... and is read into this bool
    };

    void bind(SQLUSMALLINT column, SQLSMALLINT cType, void* storage, SQLLEN size);
    bool acceptsColumn(SQLUSMALLINT column);
    static bool holdsValue(const Column& bound);
    static void report(Column& bound);

    void bindField(SQLUSMALLINT column, SQLINTEGER& storage) { bindLong(column, storage); }
    void bindField(SQLUSMALLINT column, SQLSMALLINT& storage) { bindShort(column, storage); }
    void bindField(SQLUSMALLINT column, unsigned char& storage) { bindUnsignedTiny(column, storage); }
    void bindField(SQLUSMALLINT column, bool& storage) { bindFlag(column, storage); }
    void bindField(SQLUSMALLINT column, double& storage) { bindDouble(column, storage); }
    void bindField(SQLUSMALLINT column, float& storage) { bindFloat(column, storage); }
    void bindField(SQLUSMALLINT column, DATE_STRUCT& storage) { bindDate(column, storage); }
    template <std::size_t N>
    void bindField(SQLUSMALLINT column, char (&storage)[N])
    {
        bindText(column, storage, N);
    }
    template <class T>
    void bindField(SQLUSMALLINT column, BoundField<T> field)
    {
        bindField(column, field.storage);
        if (misbound_ || column == 0 || column > kMaxBoundColumns) return;
        columns_[column].presentFlag = field.present;
        if (field.clearWhenNull) columns_[column].clearSize = sizeof(T);
    }

    SQLHSTMT statement_;
    std::string statementText_;
    bool misbound_ = false;  // a column outside 1..kMaxBoundColumns was bound
    long rowsFetched_ = 0;  // rows of the result fetched so far, skipped ones included
    std::array<Column, kMaxBoundColumns + 1> columns_{};  // indexed by column number; 0 unused
};

// Runs query on statement, lets bind bind its columns, and fetches the
// first row. True when a row came; false when the query fails (written to
// the error log) or has no row. The bindings are released before it returns.
[[nodiscard]] bool fetchFirstRow(SQLHSTMT statement, const std::string& query,
                                 const std::function<void(RowBinder&)>& bind);

// fetchFirstRow with fields bound to the query's columns in order, as
// bindColumns binds them.
template <class... Fields>
[[nodiscard]] bool fetchFirstRowInto(SQLHSTMT statement, const std::string& query, Fields&&... fields)
{
    return fetchFirstRow(statement, query,
                         [&fields...](RowBinder& row) { row.bindColumns(std::forward<Fields>(fields)...); });
}

// Runs query on statement, lets bind bind its columns, and calls onRow
// after each fetched row for as long as it returns true and rows come.
// False when the query fails; the bindings are released before it returns.
[[nodiscard]] bool forEachRow(SQLHSTMT statement, const std::string& query, const std::function<void(RowBinder&)>& bind,
                              const std::function<bool()>& onRow);

}  // namespace vldr
