// Fuzz target: the query string's splitting, decoding and cutting, and the
// 32-bit integer conversion.
//
// Checks, for any bytes: a decoded value holds no byte 0 and no lone single
// quote and is at most twice its raw length; every value the parsed list
// hands out has the same properties and the list's length limit; a decoded
// value cut to a length is a prefix of it, at most that long and at most one
// shorter, and has no lone quote either; no sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "field_limits.h"
#include "literal_check.h"
#include "query_string.h"

using namespace vldr;

namespace {

// Cuts are checked at every length up to this one (characters); the
// programs cut at 10 and 20.
constexpr std::size_t kLongestCheckedCut = 24;

[[noreturn]] void fail(const char* what, std::string_view value)
{
    std::fprintf(stderr, "\n== %s: %zu bytes: \"%.*s\"\n", what, value.size(), static_cast<int>(value.size()),
                 value.data());
    std::abort();
}

void checkValue(std::string_view value, std::size_t rawLength)
{
    if (value.find('\0') != std::string_view::npos) fail("decoded value holds a byte 0", value);
    if (!fuzz::quotesAreDoubled(value)) fail("decoded value holds a lone quote", value);
    if (value.size() > 2 * rawLength) fail("decoded value longer than twice its raw text", value);
}

// Cuts decoded to lengths around the ones the programs use and checks each cut.
void checkCuts(const std::string& decoded)
{
    for (std::size_t limit = 0; limit <= kLongestCheckedCut; ++limit) {
        const std::string cut = cutDecodedValue(decoded, limit);
        if (!decoded.starts_with(cut)) fail("a cut value is not a prefix of its value", cut);
        if (cut.size() > limit) fail("a cut value is longer than its limit", cut);
        if (decoded.size() > limit && cut.size() + 1 < limit) fail("a cut value lost more than one character", cut);
        if (!fuzz::quotesAreDoubled(cut)) fail("a cut value holds a lone quote", cut);
    }
}

// Looks up the name of every segment "name=value" of text in query (text
// parsed) and checks the value found.
void checkParsedValues(std::string_view text, const QueryString& query)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('&', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view segment = text.substr(start, end - start);
        const std::size_t equals = segment.find('=');
        if (equals != std::string_view::npos && equals > 0) {
            const std::string name(segment.substr(0, equals));
            if (const char* value = getQueryValue(query, name.c_str()))
                checkValue(value, kMaxRawQueryValueLength);
        }
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string decoded = decodeQueryValue(text);
    checkValue(decoded, text.size());
    checkCuts(decoded);

    checkParsedValues(text, parseQueryString(text));

    const std::string terminated(text);
    (void)toInt32(terminated.c_str());
    return 0;
}
