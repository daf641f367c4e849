#include "conversion.h"

#include "diagnostics.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace vldr::driver {
namespace {

// A value's number: an exact integer, or a real.
struct Number {
    bool isInteger = true;
    sqlite3_int64 integer = 0;
    double real = 0;
};

// Reads text as a whole number or real, with spaces around allowed.
bool parseNumber(const char* text, Number& number)
{
    while (*text == ' ') ++text;
    if (*text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long long integer = std::strtoll(text, &end, 10);
    const auto onlySpacesFrom = [](const char* p) {
        while (*p == ' ') ++p;
        return *p == '\0';
    };
    if (errno == 0 && end != text && onlySpacesFrom(end)) {
        number = {true, integer, 0};
        return true;
    }
    const double real = std::strtod(text, &end);
    if (end == text || !onlySpacesFrom(end)) return false;
    number = {false, 0, real};
    return true;
}

// The column's number; Conversion::Done when it has one.
Conversion numberOf(sqlite3_value* value, Number& number)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        number = {true, sqlite3_value_int64(value), 0};
        return Conversion::Done;
    case SQLITE_FLOAT:
        number = {false, 0, sqlite3_value_double(value)};
        return Conversion::Done;
    case SQLITE_TEXT:
        return parseNumber(reinterpret_cast<const char*>(sqlite3_value_text(value)), number)
                   ? Conversion::Done
                   : Conversion::NotANumber;
    default:
        return Conversion::NotConvertible;
    }
}

template <typename T>
void store(const Target& target, T value)
{
    std::memcpy(target.buffer, &value, sizeof value);
    if (target.indicator) *target.indicator = sizeof value;
}

// Stores the number in the integer type T: the exact integer when it fits,
// a real cut toward zero when that fits (FractionCut when a fraction was lost).
template <typename T>
Conversion storeInteger(const Target& target, const Number& number)
{
    constexpr auto lowest = std::numeric_limits<T>::min();
    constexpr auto highest = std::numeric_limits<T>::max();
    if (number.isInteger) {
        bool fits;
        if constexpr (std::is_signed_v<T>) {
            fits = number.integer >= lowest && number.integer <= highest;
        } else {
            fits = number.integer >= 0 && static_cast<std::uint64_t>(number.integer) <= highest;
        }
        if (!fits) return Conversion::OutOfRange;
        store(target, static_cast<T>(number.integer));
        return Conversion::Done;
    }
    const double whole = std::trunc(number.real);
    // The bounds as reals: highest + 1 is a power of two, exact as a double.
    const double below = static_cast<double>(lowest);
    const double above = static_cast<double>(highest / 2 + 1) * 2.0;
    if (!(whole >= below && whole < above)) return Conversion::OutOfRange;
    store(target, static_cast<T>(whole));
    return whole == number.real ? Conversion::Done : Conversion::FractionCut;
}

Conversion storeBit(const Target& target, const Number& number)
{
    const double real = number.isInteger ? static_cast<double>(number.integer) : number.real;
    if (!(real >= 0 && real < 2)) return Conversion::OutOfRange;
    store(target, static_cast<unsigned char>(real >= 1 ? 1 : 0));
    return real == 0 || real == 1 ? Conversion::Done : Conversion::FractionCut;
}

double realOf(const Number& number)
{
    return number.isInteger ? static_cast<double>(number.integer) : number.real;
}

Conversion storeDouble(const Target& target, const Number& number)
{
    store(target, realOf(number));
    return Conversion::Done;
}

Conversion storeFloat(const Target& target, const Number& number)
{
    const double real = realOf(number);
    if (std::isfinite(real) && std::fabs(real) > FLT_MAX) return Conversion::OutOfRange;
    store(target, static_cast<float>(real));
    return Conversion::Done;
}

// Converts the value's number with storeNumber.
template <Conversion (*storeNumber)(const Target&, const Number&)>
Conversion convertNumber(sqlite3_value* value, const Target& target, SQLLEN, SQLLEN*)
{
    Number number;
    const Conversion read = numberOf(value, number);
    return read == Conversion::Done ? storeNumber(target, number) : read;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads 'YYYY-MM-DD' (exactly) into a DATE_STRUCT.
Conversion convertDate(sqlite3_value* value, const Target& target, SQLLEN, SQLLEN*)
{
    if (sqlite3_value_type(value) != SQLITE_TEXT) return Conversion::NotConvertible;
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (std::strlen(text) != 10 || text[4] != '-' || text[7] != '-') return Conversion::NotADate;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') return Conversion::NotADate;
    }
    const auto digits = [text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return Conversion::NotADate;
    DATE_STRUCT date;
    date.year = static_cast<SQLSMALLINT>(year);
    date.month = static_cast<SQLUSMALLINT>(month);
    date.day = static_cast<SQLUSMALLINT>(day);
    store(target, date);
    return Conversion::Done;
}

// Copies text (zero-terminated, cut to fit) or bytes from offset on.
Conversion convertBytes(sqlite3_value* value, const Target& target, SQLLEN offset, SQLLEN* delivered)
{
    const bool text = target.cType == SQL_C_CHAR;
    const void* data = text ? static_cast<const void*>(sqlite3_value_text(value))
                            : sqlite3_value_blob(value);
    const SQLLEN size = sqlite3_value_bytes(value);
    const SQLLEN remaining = size > offset ? size - offset : 0;
    if (target.indicator) *target.indicator = remaining;
    const SQLLEN room = target.buffer == nullptr ? 0 : text ? target.bufferLength - 1 : target.bufferLength;
    const SQLLEN count = room <= 0 ? 0 : remaining < room ? remaining : room;
    if (count > 0) std::memcpy(target.buffer, static_cast<const char*>(data) + offset, static_cast<std::size_t>(count));
    if (text && target.buffer != nullptr && target.bufferLength > 0) static_cast<char*>(target.buffer)[count] = '\0';
    if (delivered) *delivered = count;
    return count < remaining && target.buffer != nullptr ? Conversion::TextCut : Conversion::Done;
}

// The C type SQL_C_DEFAULT stands for, by the value's own kind.
SQLSMALLINT defaultCType(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return SQL_C_SBIGINT;
    case SQLITE_FLOAT:
        return SQL_C_DOUBLE;
    case SQLITE_BLOB:
        return SQL_C_BINARY;
    default:
        return SQL_C_CHAR;
    }
}

// How a value goes into one C type: the value, the storage, and for text
// and bytes the offset already delivered and the count written now.
using Converter = Conversion (*)(sqlite3_value* value, const Target& target, SQLLEN offset, SQLLEN* delivered);

struct CTypeConversion {
    SQLSMALLINT cType;
    Converter convert;
};

// Every C type the driver converts into, with its converter: the one place
// a new C type is added (SQL_C_DEFAULT stands for one of these, chosen by
// the value's own kind in defaultCType).
constexpr CTypeConversion kConversions[] = {
    {SQL_C_CHAR, convertBytes},
    {SQL_C_BINARY, convertBytes},
    {SQL_C_LONG, convertNumber<storeInteger<SQLINTEGER>>},
    {SQL_C_SLONG, convertNumber<storeInteger<SQLINTEGER>>},
    {SQL_C_ULONG, convertNumber<storeInteger<SQLUINTEGER>>},
    {SQL_C_SHORT, convertNumber<storeInteger<SQLSMALLINT>>},
    {SQL_C_SSHORT, convertNumber<storeInteger<SQLSMALLINT>>},
    {SQL_C_USHORT, convertNumber<storeInteger<SQLUSMALLINT>>},
    {SQL_C_TINYINT, convertNumber<storeInteger<SQLSCHAR>>},
    {SQL_C_STINYINT, convertNumber<storeInteger<SQLSCHAR>>},
    {SQL_C_UTINYINT, convertNumber<storeInteger<SQLCHAR>>},
    {SQL_C_SBIGINT, convertNumber<storeInteger<SQLBIGINT>>},
    {SQL_C_UBIGINT, convertNumber<storeInteger<SQLUBIGINT>>},
    {SQL_C_BIT, convertNumber<storeBit>},
    {SQL_C_FLOAT, convertNumber<storeFloat>},
    {SQL_C_DOUBLE, convertNumber<storeDouble>},
    {SQL_C_DATE, convertDate},
    {SQL_C_TYPE_DATE, convertDate},
};

// The converter into cType; nullptr for a C type the driver lacks.
Converter converterFor(SQLSMALLINT cType)
{
    for (const CTypeConversion& conversion : kConversions) {
        if (conversion.cType == cType) return conversion.convert;
    }
    return nullptr;
}

}  // namespace

bool isSupportedCType(SQLSMALLINT cType)
{
    return cType == SQL_C_DEFAULT || converterFor(cType) != nullptr;
}

bool isKnownCType(SQLSMALLINT cType)
{
    switch (cType) {
    case SQL_C_WCHAR:
    case SQL_C_NUMERIC:
    case SQL_C_TIME:
    case SQL_C_TYPE_TIME:
    case SQL_C_TIMESTAMP:
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_GUID:
        return true;
    default:
        return isSupportedCType(cType) || (cType >= SQL_C_INTERVAL_YEAR && cType <= SQL_C_INTERVAL_MINUTE_TO_SECOND);
    }
}

Conversion convertColumn(sqlite3_stmt* prepared, int column, const Target& given, SQLLEN offset, SQLLEN* delivered)
{
    if (delivered) *delivered = 0;
    // One look-up of the column's value, then SQLite's value interfaces:
    // the connection has no mutex (SQLITE_OPEN_NOMUTEX), so the value needs
    // no protection, and each column costs one call into the statement.
    sqlite3_value* value = sqlite3_column_value(prepared, column);
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        if (given.indicator == nullptr) return Conversion::NoIndicator;
        *given.indicator = SQL_NULL_DATA;
        return Conversion::Done;
    }
    Target target = given;
    if (target.cType == SQL_C_DEFAULT) target.cType = defaultCType(value);
    const Converter convert = converterFor(target.cType);
    // Binding refuses the C types without a converter; nothing is written for one.
    return convert ? convert(value, target, offset, delivered) : Conversion::NotConvertible;
}

SQLRETURN reportConversion(DiagnosticArea& diagnostics, Conversion conversion, int column)
{
    const std::string where = "column " + std::to_string(column) + ": ";
    switch (conversion) {
    case Conversion::Done:
        return SQL_SUCCESS;
    case Conversion::TextCut:
        return warn(diagnostics, "01004", where + "String data, right truncated: the value was cut to fit the buffer");
    case Conversion::FractionCut:
        return warn(diagnostics, "01S07", where + "Fractional truncation: the value lost its fraction");
    case Conversion::OutOfRange:
        return fail(diagnostics, "22003", where + "Numeric value out of range for the bound C type");
    case Conversion::NotANumber:
        return fail(diagnostics, "22018", where + "Invalid character value: the text is not a number");
    case Conversion::NotADate:
        return fail(diagnostics, "22007", where + "Invalid datetime format: the text is not a date 'YYYY-MM-DD'");
    case Conversion::NoIndicator:
        return fail(diagnostics, "22002", where + "Indicator variable required but not supplied: the value is NULL");
    case Conversion::NotConvertible:
        return fail(diagnostics, "07006", where + "Restricted data type attribute violation: the value cannot be "
                                                  "converted to the bound C type");
    }
    return SQL_ERROR;
}

}  // namespace vldr::driver
