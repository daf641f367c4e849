// Binding a list of fields through the real ODBC stack: presence flags,
// NULL columns cleared or left alone as asked, bits read into bools, and
// the first-row and every-row readers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "database_session.h"
#include "row_binder.h"
#include "statement.h"
#include "test_database.h"

using namespace vldr;
using vldr::test::SharedDatabaseSuite;

namespace {

class RowBinding : public SharedDatabaseSuite<RowBinding> {
public:
    // 101 has every column; 102 has only its ID; 103 has a name again.
    static constexpr const char* kFixture =
        "INSERT INTO Systems (ID) VALUES (100);"
        "INSERT INTO Components (ID, Name, IsCloseBinary, Mass, LastUpdated) VALUES"
        " (101, 'A', 1, 0.5, '2004-03-07'), (102, NULL, NULL, NULL, NULL), (103, 'C', 0, 2, '2001-01-01');";

protected:
    void SetUp() override
    {
        setenv("ODBCSYSINI", db_->configDirectory().c_str(), 1);
        setenv("ODBCINI", (db_->configDirectory() + "/odbc.ini").c_str(), 1);
        ASSERT_EQ(session_.open(), SessionFailure::None);
    }
    void TearDown() override { session_.close(); }
    SQLHSTMT statement() const { return session_.statement(); }

    DatabaseSession session_;
};

constexpr const char* kQuery =
    "SELECT ID, Name, IsCloseBinary, Mass, LastUpdated FROM Components WHERE ID > 100 AND ID < 200 ORDER BY ID";

// The fields of one row as bindColumns fills them.
struct Row {
    SQLINTEGER id = 0;
    char name[8] = {};
    bool isCloseBinary = false;
    bool hasMass = false;
    double mass = 0;
    bool hasDate = false;
    DATE_STRUCT date = {};
};

TEST_F(RowBinding, FlagsClearingAndBitsFollowEachRow)
{
    ASSERT_TRUE(runQuery(statement(), kQuery));
    Row r;
    RowBinder row(statement());
    row.bindColumns(r.id, clearedWhenNull(r.name), r.isCloseBinary, flagged(r.mass, r.hasMass),
                    flaggedOrCleared(r.date, r.hasDate));

    ASSERT_TRUE(row.fetch());
    EXPECT_EQ(r.id, 101);
    EXPECT_STREQ(r.name, "A");
    EXPECT_TRUE(r.isCloseBinary);
    EXPECT_TRUE(r.hasMass);
    EXPECT_EQ(r.mass, 0.5);
    EXPECT_TRUE(r.hasDate);
    EXPECT_EQ(r.date.year, 2004);

    // A row of NULLs: the cleared fields are emptied, a flagged one keeps
    // its old value behind a false flag, and a NULL bit reads as false.
    ASSERT_TRUE(row.fetch());
    EXPECT_EQ(r.id, 102);
    EXPECT_STREQ(r.name, "");
    EXPECT_FALSE(r.isCloseBinary);
    EXPECT_FALSE(r.hasMass);
    EXPECT_EQ(r.mass, 0.5);
    EXPECT_FALSE(r.hasDate);
    EXPECT_EQ(r.date.year, 0);
    EXPECT_EQ(r.date.month, 0);

    ASSERT_TRUE(row.fetch());
    EXPECT_STREQ(r.name, "C");
    EXPECT_FALSE(r.isCloseBinary);  // a stored 0
    EXPECT_TRUE(r.hasMass && r.hasDate);

    // After the last row nothing changes.
    EXPECT_FALSE(row.fetch());
    EXPECT_EQ(r.id, 103);
    EXPECT_TRUE(r.hasMass && r.hasDate);
}

TEST_F(RowBinding, BindingFromALaterColumnNumbersOnFromThere)
{
    Row r;
    ASSERT_TRUE(fetchFirstRow(statement(), kQuery, [&r](RowBinder& row) {
        row.bindColumns(r.id);
        row.bindColumnsFrom(4, flagged(r.mass, r.hasMass));
    }));
    EXPECT_EQ(r.id, 101);
    EXPECT_TRUE(r.hasMass);
    EXPECT_EQ(r.mass, 0.5);
}

TEST_F(RowBinding, FirstRowReaderTellsWhetherARowCame)
{
    Row r;
    EXPECT_TRUE(fetchFirstRowInto(statement(), kQuery, r.id, clearedWhenNull(r.name)));
    EXPECT_EQ(r.id, 101);
    EXPECT_STREQ(r.name, "A");

    r = Row{};
    EXPECT_FALSE(fetchFirstRowInto(statement(), "SELECT ID FROM Components WHERE ID = 999", r.id));
    EXPECT_EQ(r.id, 0);
    EXPECT_FALSE(fetchFirstRowInto(statement(), "SELECT NoSuchColumn FROM Components", r.id));
}

TEST_F(RowBinding, EveryRowReaderStopsWhenAskedOrAtTheEnd)
{
    SQLINTEGER id = 0;
    std::string seen;
    const auto bind = [&id](RowBinder& row) { row.bindColumns(id); };
    EXPECT_TRUE(forEachRow(statement(), kQuery, bind, [&] {
        seen += std::to_string(id) + " ";
        return true;
    }));
    EXPECT_EQ(seen, "101 102 103 ");

    seen.clear();
    EXPECT_TRUE(forEachRow(statement(), kQuery, bind, [&] {
        seen += std::to_string(id) + " ";
        return id < 102;
    }));
    EXPECT_EQ(seen, "101 102 ");

    EXPECT_FALSE(forEachRow(statement(), "SELECT NoSuchColumn FROM Components", bind, [] { return true; }));
}

}  // namespace
