// A query's result columns declared once: each entry names a column as the
// SELECT list writes it and the field of the row record it fills, so that
// the list a statement selects and the bindings made for it come from the
// same table and cannot disagree.
#pragma once

#include <sql.h>

#include <array>
#include <cstddef>
#include <string>

#include "field_limits.h"
#include "row_binder.h"

namespace vldr {

// One result column of a Row: its text in the SELECT list and how it is
// bound to a Row's field (as RowBinder::bindColumns binds that field).
template <class Row>
struct ColumnOf {
    const char* text;
    void (*bind)(RowBinder& binder, SQLUSMALLINT column, Row& row);
};

// The columns of one query, in SELECT order.
template <class Row, std::size_t N>
using ColumnList = std::array<ColumnOf<Row>, N>;

namespace column_detail {
template <class Member>
struct MemberOf;
template <class Row, class Field>
struct MemberOf<Field Row::*> {
    using RowType = Row;
};
template <auto Field>
using RowOf = typename MemberOf<decltype(Field)>::RowType;
}  // namespace column_detail

// The column fills the field as it is (see RowBinder::bindColumns).
template <auto Field>
constexpr ColumnOf<column_detail::RowOf<Field>> plainColumn(const char* text)
{
    using Row = column_detail::RowOf<Field>;
    return {text, [](RowBinder& binder, SQLUSMALLINT column, Row& row) { binder.bindColumnsFrom(column, row.*Field); }};
}

// The column fills the field; a NULL clears it.
template <auto Field>
constexpr ColumnOf<column_detail::RowOf<Field>> clearedColumn(const char* text)
{
    using Row = column_detail::RowOf<Field>;
    return {text, [](RowBinder& binder, SQLUSMALLINT column, Row& row) {
                binder.bindColumnsFrom(column, clearedWhenNull(row.*Field));
            }};
}

// The column fills the field; each fetch sets the flag to whether it held a value.
template <auto Field, auto Flag>
constexpr ColumnOf<column_detail::RowOf<Field>> flaggedColumn(const char* text)
{
    using Row = column_detail::RowOf<Field>;
    return {text, [](RowBinder& binder, SQLUSMALLINT column, Row& row) {
                binder.bindColumnsFrom(column, flagged(row.*Field, row.*Flag));
            }};
}

// Both: the flag tells whether the column held a value, and a NULL clears the field.
template <auto Field, auto Flag>
constexpr ColumnOf<column_detail::RowOf<Field>> flaggedOrClearedColumn(const char* text)
{
    using Row = column_detail::RowOf<Field>;
    return {text, [](RowBinder& binder, SQLUSMALLINT column, Row& row) {
                binder.bindColumnsFrom(column, flaggedOrCleared(row.*Field, row.*Flag));
            }};
}

// For a field no member pointer names (a member of a member): the column
// is bound to what select(row) gives, a field or a BoundField of one.
template <class Row, auto select>
constexpr ColumnOf<Row> selectedColumn(const char* text)
{
    return {text, [](RowBinder& binder, SQLUSMALLINT column, Row& row) { binder.bindColumnsFrom(column, select(row)); }};
}

// The columns' texts joined by ", ", as a SELECT list writes them.
template <class Row, std::size_t N>
std::string selectList(const ColumnList<Row, N>& columns)
{
    std::string list;
    for (const ColumnOf<Row>& column : columns) {
        if (!list.empty()) list += ", ";
        list += column.text;
    }
    return list;
}

// Binds every column of the list, from column 1 in order, to row's fields.
// The row must outlive the binder.
template <class Row, std::size_t N>
void bindColumnList(RowBinder& binder, const ColumnList<Row, N>& columns, Row& row)
{
    static_assert(N <= kMaxBoundColumns, "more columns than a RowBinder holds");
    SQLUSMALLINT number = 1;
    for (const ColumnOf<Row>& column : columns) column.bind(binder, number++, row);
}

}  // namespace vldr
