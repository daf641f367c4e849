// Quoting text for SQL literals: the cases, and that nothing but quoting makes quoted text.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "sql_text.h"

using namespace vldr;

// Unquoted text passing for quoted text would reach a statement unquoted.
static_assert(!std::is_constructible_v<SqlQuoted, std::string>);
static_assert(!std::is_convertible_v<std::string, SqlQuoted>);
static_assert(!std::is_constructible_v<SqlQuoted, const char*>);
// Quoting twice would turn one quote into four.
static_assert(!std::is_invocable_v<decltype(static_cast<SqlQuoted (*)(std::string_view)>(quoteSqlText)), SqlQuoted>);

TEST(SqlText, QuotesEverySingleQuoteOnce)
{
    const struct {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"", ""},
        {"Alpha Cen", "Alpha Cen"},
        {"'", "''"},
        {"O'Brien's", "O''Brien''s"},
        {"''", "''''"},
        {"x' OR '1'='1", "x'' OR ''1''=''1"},
        {"\"%_;--", "\"%_;--"},
    };
    for (const auto& c : cases) EXPECT_EQ(quoteSqlText(c.text).text(), c.quoted) << c.text;
}

TEST(SqlText, CutNeverLeavesALoneQuote)
{
    const struct {
        const char* text;
        std::size_t limit;
        const char* cut;
    } cases[] = {
        {"abcdefghijkl", 10, "abcdefghij"}, {"short", 10, "short"},     {"123456789'", 10, "123456789"},
        {"12345678'x", 10, "12345678''"},   {"1234567''", 10, "1234567''"}, {"'''", 5, "''''"},
    };
    for (const auto& c : cases) EXPECT_EQ(cutSqlText(quoteSqlText(c.text), c.limit).text(), c.cut) << c.text;
}
