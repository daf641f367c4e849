// Text bound for an SQL statement: the one type a request's text takes on
// its way into a statement, made only by quoting it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vldr {

// Text whose every single quote is doubled, safe between the single quotes
// of an SQL literal. Only quoteSqlText makes one (and cutSqlText and + from
// ones already made), so text that was never quoted cannot pass for it, and
// quoting it again does not compile.
class SqlQuoted {
public:
    // The quoted text, owned by this value.
    const std::string& text() const { return quoted_; }

private:
    explicit SqlQuoted(std::string quoted) : quoted_(std::move(quoted)) {}
    std::string quoted_;

    friend SqlQuoted quoteSqlText(std::string_view text);
    friend SqlQuoted cutSqlText(const SqlQuoted& text, std::size_t limit);
    friend SqlQuoted operator+(const SqlQuoted& first, const SqlQuoted& second);
};

// Quotes text: every single quote becomes two; nothing else changes.
SqlQuoted quoteSqlText(std::string_view text);
SqlQuoted quoteSqlText(const SqlQuoted& text) = delete;  // already quoted

// The first `limit` characters of quoted text, or one fewer where the cut
// would fall between the two quotes of a doubled quote (a lone quote would
// end the literal and let the rest run as SQL).
SqlQuoted cutSqlText(const SqlQuoted& text, std::size_t limit);

// The length of the longest prefix of quoted text, at most limit, that ends
// on no lone quote; cutSqlText cuts there.
std::size_t wholeQuotedLength(std::string_view quoted, std::size_t limit);

// The two quoted texts one after the other (still quoted).
SqlQuoted operator+(const SqlQuoted& first, const SqlQuoted& second);

// Whether the quoted text is exactly text (as the tests compare).
inline bool operator==(const SqlQuoted& quoted, std::string_view text)
{
    return quoted.text() == text;
}

}  // namespace vldr
