// Reading a sysview request: what each query asks for, the message that
// refuses it, and that reading writes nothing.
#include <gtest/gtest.h>

#include <string>

#include "query_string.h"
#include "request.h"

using namespace vldr;

namespace {

// Reads the request of query, checking that reading wrote nothing.
RequestReading read(const char* query)
{
    const QueryString parsed = parseQueryString(query);
    ::testing::internal::CaptureStdout();
    RequestReading reading = readRequest(parsed);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << query;
    return reading;
}

TEST(ReadRequest, TheIdDecidesFirstThenTheNameThenTheDesignation)
{
    const RequestReading byId = read("Name=Sol&ID=1200");
    ASSERT_TRUE(byId.request);
    EXPECT_TRUE(byId.request->byId);
    EXPECT_EQ(byId.request->id, 1200);

    const RequestReading byName = read("Catalog=HD&CatNo=1&Name=Alpha%20Cen");
    ASSERT_TRUE(byName.request);
    EXPECT_FALSE(byName.request->byId);
    EXPECT_EQ(byName.request->searchText, "Alpha Cen");

    // The designation takes at most 10 and 20 characters of its two parts.
    const RequestReading byDesignation = read("Catalog=ABCDEFGHIJKL&CatNo=1234567890123456789012345");
    ASSERT_TRUE(byDesignation.request);
    EXPECT_EQ(byDesignation.request->searchText, "ABCDEFGHIJ 12345678901234567890");
}

TEST(ReadRequest, ARefusedRequestComesBackAsItsMessage)
{
    EXPECT_EQ(read("ID=150").message, "Invalid \"ID=\" clause.  ID must be a positive multiple of 100.");
    EXPECT_EQ(read("ID=-100").message, "Invalid \"ID=\" clause.  ID must be a positive multiple of 100.");
    EXPECT_EQ(read("ID=").message, "Invalid \"ID=\" clause.  ID must be a positive multiple of 100.");
    EXPECT_EQ(read("Name=").message, "Please enter one or more search criteria.");
    const std::string missing =
        "Invalid query string.  Must contain one of the following sets of clauses:\n\"ID=\"\n\"Name=\"\n"
        "\"Catalog=\" and \"CatNo=\"";
    EXPECT_EQ(read("Catalog=HD").message, missing);
    EXPECT_EQ(read("").message, missing);
    EXPECT_FALSE(read("CatNo=1").request);
}

}  // namespace
