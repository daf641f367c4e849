// Decoding of QUERY_STRING into pairs and their lookup.
#include <gtest/gtest.h>

#include <string>

#include "query_string.h"

using namespace vldr;

namespace {

TEST(QueryStringParsing, LooksUpTheFirstPairByExactName)
{
    const QueryString query = parseQueryString("ID=100&ID=200&Name=");
    EXPECT_EQ(query.pairs.size(), 3u);
    EXPECT_STREQ(getQueryValue(query, "ID"), "100");
    EXPECT_EQ(getQueryValue(query, "id"), nullptr);
    EXPECT_STREQ(getQueryValue(query, "Name"), "");
    EXPECT_EQ(getQueryValue(query, "Missing"), nullptr);
}

TEST(QueryStringParsing, DecodesPlusAsteriskQuotesAndEscapes)
{
    const QueryString query = parseQueryString("a=O%27Neil+and+'x'&b=10*&c=%4&d=%zz&e=50%&f=%2B+%2a%25&g=%41%4x");
    EXPECT_STREQ(getQueryValue(query, "a"), "O''Neil and ''x''");
    EXPECT_STREQ(getQueryValue(query, "b"), "10\xB0");
    EXPECT_STREQ(getQueryValue(query, "c"), "\x04");
    EXPECT_STREQ(getQueryValue(query, "d"), "%zz");
    EXPECT_STREQ(getQueryValue(query, "e"), "50%");
    EXPECT_STREQ(getQueryValue(query, "f"), "+ *%");
    EXPECT_STREQ(getQueryValue(query, "g"), "A\x04x");
}

TEST(QueryStringParsing, EscapedZeroByteEndsTheValue)
{
    const QueryString query = parseQueryString("Name=ab%00cd&ID=100");
    EXPECT_STREQ(getQueryValue(query, "Name"), "ab");
    EXPECT_STREQ(getQueryValue(query, "ID"), "100");
}

TEST(QueryStringParsing, SkipsMalformedSegments)
{
    const QueryString query = parseQueryString("&&junk&=x=1&ID=100&&Name=a=b&");
    EXPECT_EQ(query.pairs.size(), 3u);
    EXPECT_STREQ(getQueryValue(query, "x"), "1");  // "=x=1": the leading '=' is dropped
    EXPECT_STREQ(getQueryValue(query, "ID"), "100");
    EXPECT_STREQ(getQueryValue(query, "Name"), "a=b");
    EXPECT_TRUE(parseQueryString("no-equals-at-all").pairs.empty());
    EXPECT_TRUE(parseQueryString("").pairs.empty());
}

TEST(QueryStringParsing, OverlongNameOrValueEndsTheParse)
{
    const QueryString longName = parseQueryString("ID=100&" + std::string(256, 'n') + "=1&Name=x");
    EXPECT_EQ(longName.pairs.size(), 1u);
    EXPECT_EQ(getQueryValue(longName, "Name"), nullptr);
    const QueryString longValue = parseQueryString("ID=100&Name=" + std::string(512, 'v') + "&X=1");
    EXPECT_EQ(longValue.pairs.size(), 1u);
    EXPECT_EQ(getQueryValue(longValue, "X"), nullptr);
    // The name's length is tested before the segment is known to lack its '='.
    EXPECT_TRUE(parseQueryString(std::string(300, 's') + "&ID=100").pairs.empty());
    EXPECT_EQ(parseQueryString(std::string(255, 'n') + "=" + std::string(511, 'v')).pairs.size(), 1u);
}

TEST(QueryStringParsing, ValueOfManyQuotesIsHeldWhole)
{
    const QueryString query = parseQueryString("Name=" + std::string(511, '\''));
    EXPECT_EQ(std::string(getQueryValue(query, "Name")), std::string(1022, '\''));
}

TEST(IntegerConversion, ReadsLeadingDigitsAndRejectsOverflow)
{
    EXPECT_EQ(toInt32("  100abc"), 100);
    EXPECT_EQ(toInt32("-100"), -100);
    EXPECT_EQ(toInt32("+7"), 7);
    EXPECT_EQ(toInt32(""), 0);
    EXPECT_EQ(toInt32("abc"), 0);
    EXPECT_EQ(toInt32("2147483647"), 2147483647);
    EXPECT_EQ(toInt32("2147483648"), std::nullopt);
    EXPECT_EQ(toInt32("-2147483649"), std::nullopt);
    EXPECT_EQ(toInt32("99999999999999999999999"), std::nullopt);
}

TEST(CutDecodedValue, NeverSplitsADoubledQuote)
{
    EXPECT_EQ(cutDecodedValue("abcdefghijkl", 10), "abcdefghij");
    EXPECT_EQ(cutDecodedValue("short", 10), "short");
    EXPECT_EQ(cutDecodedValue("123456789''", 10), "123456789");
    EXPECT_EQ(cutDecodedValue("12345678''x", 10), "12345678''");
    EXPECT_EQ(cutDecodedValue("1234567''''", 10), "1234567''");
    EXPECT_EQ(cutDecodedValue("''''''", 5), "''''");
}

}  // namespace
