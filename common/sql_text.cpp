#include "sql_text.h"

namespace vldr {

SqlQuoted quoteSqlText(std::string_view text)
{
    std::string quoted;
    quoted.reserve(text.size());
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return SqlQuoted(std::move(quoted));
}

std::size_t wholeQuotedLength(std::string_view quoted, std::size_t limit)
{
    if (quoted.size() <= limit) return quoted.size();
    std::size_t trailingQuotes = 0;
    while (trailingQuotes < limit && quoted[limit - 1 - trailingQuotes] == '\'') ++trailingQuotes;
    return trailingQuotes % 2 == 1 ? limit - 1 : limit;
}

SqlQuoted cutSqlText(const SqlQuoted& text, std::size_t limit)
{
    return SqlQuoted(text.quoted_.substr(0, wholeQuotedLength(text.quoted_, limit)));
}

SqlQuoted operator+(const SqlQuoted& first, const SqlQuoted& second)
{
    return SqlQuoted(first.quoted_ + second.quoted_);
}

}  // namespace vldr
