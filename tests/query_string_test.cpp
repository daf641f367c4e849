// Decoding of QUERY_STRING into pairs and their lookup.
#include <gtest/gtest.h>

#include <string>

#include "query_string.h"

using namespace vldr;

namespace {

class QueryString : public ::testing::Test {
protected:
    void SetUp() override { clearQueryParams(); }
    void TearDown() override { clearQueryParams(); }
};

TEST_F(QueryString, LooksUpTheFirstPairByExactName)
{
    EXPECT_EQ(parseQueryString("ID=100&ID=200&Name="), 3);
    EXPECT_STREQ(getQueryValue("ID"), "100");
    EXPECT_EQ(getQueryValue("id"), nullptr);
    EXPECT_STREQ(getQueryValue("Name"), "");
    EXPECT_EQ(getQueryValue("Missing"), nullptr);
}

TEST_F(QueryString, DecodesPlusAsteriskQuotesAndEscapes)
{
    parseQueryString("a=O%27Neil+and+'x'&b=10*&c=%4&d=%zz&e=50%&f=%2B+%2a%25&g=%41%4x");
    EXPECT_STREQ(getQueryValue("a"), "O''Neil and ''x''");
    EXPECT_STREQ(getQueryValue("b"), "10\xB0");
    EXPECT_STREQ(getQueryValue("c"), "\x04");
    EXPECT_STREQ(getQueryValue("d"), "%zz");
    EXPECT_STREQ(getQueryValue("e"), "50%");
    EXPECT_STREQ(getQueryValue("f"), "+ *%");
    EXPECT_STREQ(getQueryValue("g"), "A\x04x");
}

TEST_F(QueryString, EscapedZeroByteEndsTheValue)
{
    parseQueryString("Name=ab%00cd&ID=100");
    EXPECT_STREQ(getQueryValue("Name"), "ab");
    EXPECT_STREQ(getQueryValue("ID"), "100");
}

TEST_F(QueryString, SkipsMalformedSegments)
{
    EXPECT_EQ(parseQueryString("&&junk&=x=1&ID=100&&Name=a=b&"), 3);
    EXPECT_STREQ(getQueryValue("x"), "1");  // "=x=1": the leading '=' is dropped
    EXPECT_STREQ(getQueryValue("ID"), "100");
    EXPECT_STREQ(getQueryValue("Name"), "a=b");
    EXPECT_EQ(parseQueryString("no-equals-at-all"), 0);
    EXPECT_EQ(parseQueryString(""), 0);
}

TEST_F(QueryString, OverlongNameOrValueEndsTheParse)
{
    EXPECT_EQ(parseQueryString("ID=100&" + std::string(256, 'n') + "=1&Name=x"), 1);
    EXPECT_EQ(getQueryValue("Name"), nullptr);
    clearQueryParams();
    EXPECT_EQ(parseQueryString("ID=100&Name=" + std::string(512, 'v') + "&X=1"), 1);
    EXPECT_EQ(getQueryValue("X"), nullptr);
    clearQueryParams();
    // The name's length is tested before the segment is known to lack its '='.
    EXPECT_EQ(parseQueryString(std::string(300, 's') + "&ID=100"), 0);
    clearQueryParams();
    EXPECT_EQ(parseQueryString(std::string(255, 'n') + "=" + std::string(511, 'v')), 1);
}

TEST_F(QueryString, ValueOfManyQuotesIsHeldWhole)
{
    parseQueryString("Name=" + std::string(511, '\''));
    EXPECT_EQ(std::string(getQueryValue("Name")), std::string(1022, '\''));
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
