// Binding a list of fields through the real ODBC stack: presence flags,
// NULL columns cleared or left alone as asked, bits read into bools, and
// the first-row and every-row readers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "database_session.h"
#include "error_log.h"
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

// The row as one line: "ID 'NAME' bit=B mass=M date=YYYY-MM", with
// "mass(absent)" for a mass whose flag is false (what its storage then
// holds is the driver's business), and "(absent)" after a cleared date.
std::string describe(const Row& r)
{
    return std::to_string(r.id) + " '" + r.name + "' bit=" + std::to_string(r.isCloseBinary) +
           (r.hasMass ? " mass=" + std::to_string(r.mass) : " mass(absent)") + " date" +
           (r.hasDate ? "" : "(absent)") + "=" + std::to_string(r.date.year) + "-" + std::to_string(r.date.month);
}

TEST_F(RowBinding, FlagsClearingAndBitsFollowEachRow)
{
    ASSERT_TRUE(runQuery(statement(), kQuery));
    Row r;
    RowBinder row(statement());
    row.bindColumns(r.id, clearedWhenNull(r.name), r.isCloseBinary, flagged(r.mass, r.hasMass),
                    flaggedOrCleared(r.date, r.hasDate));

    ASSERT_TRUE(row.fetch());
    EXPECT_EQ(describe(r), "101 'A' bit=1 mass=0.500000 date=2004-3");
    // A row of NULLs: the cleared fields are emptied, a flagged one is
    // absent, and a NULL bit reads as false.
    ASSERT_TRUE(row.fetch());
    EXPECT_EQ(describe(r), "102 '' bit=0 mass(absent) date(absent)=0-0");
    ASSERT_TRUE(row.fetch());
    EXPECT_EQ(describe(r), "103 'C' bit=0 mass=2.000000 date=2001-1");
    // After the last row nothing changes.
    EXPECT_FALSE(row.fetch());
    EXPECT_EQ(describe(r), "103 'C' bit=0 mass=2.000000 date=2001-1");
}

// Regression: a column past kMaxBoundColumns was silently left unbound.
TEST_F(RowBinding, BindingPastTheLastColumnIsAnErrorAndFetchesNoRow)
{
    ASSERT_TRUE(runQuery(statement(), kQuery));
    std::string log;
    captureErrorLog(&log);
    Row r;
    {
        RowBinder row(statement(), kQuery);
        row.bindColumns(r.id);
        row.bindColumnsFrom(kMaxBoundColumns + 1, clearedWhenNull(r.name));
        EXPECT_FALSE(row.fetch());
    }
    captureErrorLog(nullptr);
    EXPECT_EQ(r.id, 0);
    EXPECT_NE(log.find("column 17 cannot be bound (columns 1 to 16) (statement: SELECT ID, Name"), std::string::npos)
        << log;
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
