#include "query_string.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "field_limits.h"

namespace vldr {
namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

SqlQuoted decodeQueryText(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    std::size_t i = 0;
    while (i < raw.size()) {
        char c = raw[i];
        if (c == '%') {
            int high = i + 1 < raw.size() ? hexDigitValue(raw[i + 1]) : -1;
            if (high < 0) {
                out += '%';
                i += 1;
                continue;
            }
            int low = i + 2 < raw.size() ? hexDigitValue(raw[i + 2]) : -1;
            char byte = static_cast<char>(low < 0 ? high : high * 16 + low);
            i += low < 0 ? 2 : 3;
            if (byte == '\0') break;
            out += byte;
            continue;
        }
        if (c == '\0') break;
        switch (c) {
        case '+': out += ' '; break;
        case '*': out += '\xB0'; break;
        default: out += c; break;
        }
        i += 1;
    }
    return quoteSqlText(out);
}

std::string decodeQueryValue(std::string_view raw)
{
    return decodeQueryText(raw).text();
}

QueryString parseQueryString(std::string_view text)
{
    QueryString query;
    std::size_t pos = 0;
    const std::size_t end = text.size();
    while (pos < end) {
        const std::size_t nameStart = pos;
        while (pos < end && text[pos] != '=' && text[pos] != '&') ++pos;
        const std::size_t nameLength = pos - nameStart;
        if (nameLength > kMaxQueryNameLength) break;
        if (nameLength == 0 || pos == end || text[pos] != '=') {
            if (pos == end) break;
            ++pos;  // past the '&', or past the '=' of an empty name
            continue;
        }
        const std::size_t valueStart = pos + 1;
        pos = valueStart;
        while (pos < end && text[pos] != '&') ++pos;
        if (pos - valueStart > kMaxRawQueryValueLength) break;
        query.pairs.push_back(QueryParam{std::string(text.substr(nameStart, nameLength)),
                                         decodeQueryText(text.substr(valueStart, pos - valueStart))});
        if (pos == end) break;
        ++pos;  // past the '&'
    }
    return query;
}

const char* getQueryValue(const QueryString& query, const char* name)
{
    for (const QueryParam& param : query.pairs) {
        if (param.name == name) return param.value.text().c_str();
    }
    return nullptr;
}

std::string cutDecodedValue(std::string_view decoded, std::size_t limit)
{
    return std::string(decoded.substr(0, wholeQuotedLength(decoded, limit)));
}

const SqlQuoted* findQueryText(const QueryString& query, const char* name)
{
    for (const QueryParam& param : query.pairs) {
        if (param.name == name) return &param.value;
    }
    return nullptr;
}

std::optional<std::int32_t> toInt32(const char* text)
{
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (errno == ERANGE || value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace vldr
