// The catalogue registry and system display names, read through the real
// ODBC stack in this process; and the data source's refusal to be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "catalog.h"
#include "database_session.h"
#include "statement.h"
#include "test_database.h"

using namespace vldr;
using vldr::test::SharedDatabaseSuite;
using vldr::test::TestDatabase;

namespace {

// A session on a fixture database, with the registry freed afterwards.
class CatalogRegistry : public SharedDatabaseSuite<CatalogRegistry> {
public:
    static constexpr const char* kFixture = "catalog.sql";

protected:
    void SetUp() override
    {
        setenv("ODBCSYSINI", db_->configDirectory().c_str(), 1);
        setenv("ODBCINI", (db_->configDirectory() + "/odbc.ini").c_str(), 1);
        ASSERT_EQ(session_.open(), SessionFailure::None);
    }
    void TearDown() override
    {
        session_.close();
    }
    SQLHSTMT statement() const { return session_.statement(); }

    DatabaseSession session_;
};

TEST_F(CatalogRegistry, LookupReturnsTheLongNameOrTheAbbreviation)
{
    const CatalogNames catalogs = loadCatalogNames(statement());
    EXPECT_STREQ(lookupCatalogName(catalogs, "HD"), "Henry Draper Catalogue");
    EXPECT_STREQ(lookupCatalogName(catalogs, "hd"), "hd");              // case-sensitive
    EXPECT_STREQ(lookupCatalogName(catalogs, "Unknown"), "Unknown");
    EXPECT_STREQ(lookupCatalogName(catalogs, "NoLong"), "NoLong");      // NULL long name
    EXPECT_STREQ(lookupCatalogName(catalogs, "Empty"), "Empty");        // empty long name
    EXPECT_STREQ(lookupCatalogName(catalogs, "Twice"), "Twice");        // the first row decides
    EXPECT_STREQ(lookupCatalogName(catalogs, "X"), "X");
}

TEST_F(CatalogRegistry, LongNameOfOneHundredCharactersIsKeptWhole)
{
    const CatalogNames catalogs = loadCatalogNames(statement());
    EXPECT_EQ(std::string(lookupCatalogName(catalogs, "Long")), std::string(100, 'L'));
}

TEST_F(CatalogRegistry, WithoutTheRegistryLookupsReturnTheirArgument)
{
    const CatalogNames none;
    EXPECT_STREQ(lookupCatalogName(none, "HD"), "HD");
    EXPECT_EQ(findLongName(none, "HD"), nullptr);
    const CatalogNames catalogs = loadCatalogNames(statement());
    EXPECT_STREQ(findLongName(catalogs, "HD"), "Henry Draper Catalogue");
    EXPECT_EQ(findLongName(catalogs, "Empty"), nullptr);  // an empty long name is none
}

TEST_F(CatalogRegistry, DisplayNamePrefersTheSystemProperName)
{
    const CatalogNames catalogs = loadCatalogNames(statement());
    std::string name = "previous";
    ASSERT_TRUE(getSystemName(statement(), catalogs, 100, name));
    EXPECT_EQ(name, "Alpha Centauri");
    ASSERT_TRUE(getSystemName(statement(), catalogs, 102, name));  // a component gives its system's name
    EXPECT_EQ(name, "Alpha Centauri");
    ASSERT_TRUE(getSystemName(statement(), catalogs, 200, name));
    EXPECT_EQ(name, "Henry Draper Catalogue 48915");
    ASSERT_TRUE(getSystemName(statement(), catalogs, 300, name));
    EXPECT_EQ(name, "X 123");
}

TEST_F(CatalogRegistry, DisplayNameWithoutRegistryUsesTheAbbreviation)
{
    std::string name;
    ASSERT_TRUE(getSystemName(statement(), CatalogNames{}, 200, name));
    EXPECT_EQ(name, "HD 48915");
}

TEST_F(CatalogRegistry, SystemWithoutNameLeavesTheOutputUnchanged)
{
    std::string name = "previous";
    EXPECT_FALSE(getSystemName(statement(), CatalogNames{}, 400, name));
    EXPECT_EQ(name, "previous");
}

TEST_F(CatalogRegistry, WritesThroughTheDataSourceFail)
{
    EXPECT_FALSE(runQuery(statement(), "INSERT INTO Systems (ID) VALUES (900)"));
    EXPECT_FALSE(runQuery(statement(), "DELETE FROM Systems"));
    EXPECT_FALSE(runQuery(statement(), "CREATE TABLE Extra (A INTEGER)"));
    ASSERT_TRUE(runQuery(statement(), "SELECT COUNT(*) FROM Systems"));
    SQLINTEGER count = 0;
    SQLLEN indicator = 0;
    bindColumn(statement(), 1, SQL_C_LONG, &count, 0, &indicator);
    ASSERT_EQ(fetchRow(statement()), Fetched::Row);
    EXPECT_EQ(count, 4);
}

TEST_F(CatalogRegistry, IntTruncatesTowardMinusInfinity)
{
    ASSERT_TRUE(runQuery(statement(), "SELECT INT(2.7), INT(-2.5), INT(5), INT(NULL)"));
    SQLINTEGER values[4] = {};
    SQLLEN indicators[4] = {};
    for (int i = 0; i < 4; ++i)
        bindColumn(statement(), static_cast<SQLUSMALLINT>(i + 1), SQL_C_LONG, &values[i], 0, &indicators[i]);
    ASSERT_EQ(fetchRow(statement()), Fetched::Row);
    EXPECT_EQ(values[0], 2);
    EXPECT_EQ(values[1], -3);
    EXPECT_EQ(values[2], 5);
    EXPECT_EQ(indicators[3], SQL_NULL_DATA);
}

}  // namespace
