#include "row_binder.h"

#include <cmath>
#include <cstring>

#include "error_log.h"
#include "number_columns.h"
#include "statement.h"

namespace vldr {

RowBinder::~RowBinder()
{
    SQLFreeStmt(statement_, SQL_UNBIND);
}

// A column number outside 1..kMaxBoundColumns has no storage here: it is
// an error in the caller, written to the log, and the binder then fetches
// no row (fetch returns false), so that no page is made of a half-bound row.
bool RowBinder::acceptsColumn(SQLUSMALLINT column)
{
    if (column >= 1 && column <= kMaxBoundColumns) return true;
    if (!misbound_) {
        logNote("column " + std::to_string(column) + " cannot be bound (columns 1 to " +
                std::to_string(kMaxBoundColumns) + ")" +
                (statementText_.empty() ? std::string() : " (statement: " + statementText_ + ")"));
    }
    misbound_ = true;
    return false;
}

void RowBinder::bind(SQLUSMALLINT column, SQLSMALLINT cType, void* storage, SQLLEN size)
{
    if (!acceptsColumn(column)) return;
    Column& bound = columns_[column];
    bound = Column{cType, storage, SQL_NULL_DATA, false};
    bindColumn(statement_, column, cType, storage, size, &bound.indicator);
}

void RowBinder::bindLong(SQLUSMALLINT column, SQLINTEGER& storage) { bind(column, SQL_C_LONG, &storage, 0); }
void RowBinder::bindShort(SQLUSMALLINT column, SQLSMALLINT& storage) { bind(column, SQL_C_SHORT, &storage, 0); }
void RowBinder::bindUnsignedTiny(SQLUSMALLINT column, unsigned char& storage)
{
    bind(column, SQL_C_UTINYINT, &storage, 0);
}
void RowBinder::bindBit(SQLUSMALLINT column, unsigned char& storage) { bind(column, SQL_C_BIT, &storage, 0); }
void RowBinder::bindDouble(SQLUSMALLINT column, double& storage) { bind(column, SQL_C_DOUBLE, &storage, 0); }
void RowBinder::bindFloat(SQLUSMALLINT column, float& storage) { bind(column, SQL_C_FLOAT, &storage, 0); }
void RowBinder::bindDate(SQLUSMALLINT column, DATE_STRUCT& storage)
{
    bind(column, SQL_C_DATE, &storage, sizeof storage);
}
void RowBinder::bindText(SQLUSMALLINT column, char* field, std::size_t size)
{
    bind(column, SQL_C_CHAR, field, static_cast<SQLLEN>(size));
}
void RowBinder::bindFlag(SQLUSMALLINT column, bool& target)
{
    if (!acceptsColumn(column)) return;
    bind(column, SQL_C_BIT, &columns_[column].bit, 0);
    columns_[column].bitTarget = &target;
}

// A NULL is no value; nor is a number that is not finite or too large to be
// a measurement (isPresentNumber), whose storage is cleared so that it goes
// no further.
bool RowBinder::holdsValue(const Column& bound)
{
    if (bound.storage == nullptr || bound.indicator == SQL_NULL_DATA) return false;
    if (bound.cType == SQL_C_DOUBLE) return isPresentNumber(*static_cast<double*>(bound.storage), bound.indicator);
    if (bound.cType == SQL_C_FLOAT) return isPresentNumber(*static_cast<float*>(bound.storage), bound.indicator);
    return true;
}

// Hands one fetched column's presence on to the flag, the bool and the
// clearing its binding asked for.
void RowBinder::report(Column& bound)
{
    if (bound.presentFlag) *bound.presentFlag = bound.present;
    if (bound.bitTarget) *bound.bitTarget = bound.present && bound.bit != 0;
    if (!bound.present && bound.clearSize > 0) std::memset(bound.storage, 0, bound.clearSize);
}

bool RowBinder::fetch()
{
    if (misbound_) return false;
    Fetched fetched;
    while ((fetched = fetchRow(statement_)) == Fetched::UnreadableRow)
        logSkippedRow(statement_, ++rowsFetched_, statementText_);
    if (fetched == Fetched::NoRow) return false;
    ++rowsFetched_;
    for (Column& bound : columns_) {
        bound.present = holdsValue(bound);
        report(bound);
    }
    return true;
}

bool RowBinder::has(SQLUSMALLINT column) const
{
    return column <= kMaxBoundColumns && columns_[column].present;
}

bool RowBinder::isSet(SQLUSMALLINT column) const
{
    return has(column) && *static_cast<const unsigned char*>(columns_[column].storage) != 0;
}

bool fetchFirstRow(SQLHSTMT statement, const std::string& query, const std::function<void(RowBinder&)>& bind)
{
    if (!runQuery(statement, query)) return false;
    RowBinder row(statement, query);
    bind(row);
    return row.fetch();
}

bool forEachRow(SQLHSTMT statement, const std::string& query, const std::function<void(RowBinder&)>& bind,
                const std::function<bool()>& onRow)
{
    if (!runQuery(statement, query)) return false;
    RowBinder row(statement, query);
    bind(row);
    while (row.fetch())
        if (!onRow()) break;
    return true;
}

}  // namespace vldr
