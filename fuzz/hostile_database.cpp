#include "hostile_database.h"

#include <math.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// The dialect the schema's database is built with, as the data sources define it.
#include "vldr_int_function.h"
#include "vldr_like_function.h"

namespace vldr::fuzz {
namespace {

// Most rows one input adds beside the fixed ones: enough for every table
// to appear a few times, few enough that each run stays a few milliseconds.
constexpr int kMaxRows = 48;
// Most orbits of the chain in which each orbit pairs the two before it:
// each one makes composed names grow about 1.6 times, so ten keep a page small.
constexpr int kMaxChainedOrbits = 10;
// The first orbit ID of system 100 (IDs 111..149 are its orbits).
constexpr int kFirstOrbitId = 111;

// Values of every storage class, and the awkward ones of each.
const char* const kValues[] = {
    "NULL", "0", "1", "-1", "2", "7", "2147483647", "2147483648", "3000000000", "-2147483649",
    "9223372036854775807", "-9223372036854775808", "0.5", "-12.25", "1e30", "1e308", "-1e308", "1e-308",
    "9e999", "-9e999", "'nan'", "'abc'", "'12'", "'3.5'", "''", "'2024-02-29'", "'2001-13-45'", "'99999-12-31'",
    "x''", "x'00ff'", "printf('%.300c', 'x')", "'<B>&amp;''%_'", "char(233, 255)", "'A'", "'V'", "'G2'",
};

// Values for the columns that tie rows together: bodies of systems 100 and
// 200 (components 1-9, orbits 11-49, planets 51-69), and a few bad ones.
const char* const kKeys[] = {
    "100", "101", "102", "103", "111", "112", "113", "114", "151", "152", "200", "201", "202", "211",
    "300", "0", "-100", "'101'", "'abc'", "3000000000", "2147483748", "NULL", "101.5", "x'65'",
};

struct Column {
    std::string name;
    std::string type;  // as declared
};

struct Table {
    std::string name;
    std::vector<Column> columns;
};

// A non-finite number reaches a page only from a number column: in a text
// column 'nan' is text that a page shows as it is, which the response
// check cannot tell from a number; such a column gets other text instead.
const char* valueFor(const Column& column, const char* value)
{
    return column.type == "TEXT" && std::string_view(value) == "'nan'" ? "'nano'" : value;
}

struct DataSource {
    std::string databasePath;
    std::string schema;
    std::vector<Table> tables;
};

DataSource& dataSource()
{
    static DataSource source;
    return source;
}

[[noreturn]] void stop(const std::string& message)
{
    std::fprintf(stderr, "hostile database: %s\n", message.c_str());
    std::exit(2);
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) stop("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reads bytes of the input one at a time; past its end every byte is 0.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    unsigned next() { return at_ < size_ ? data_[at_++] : 0; }
    template <std::size_t N>
    const char* pick(const char* const (&list)[N])
    {
        return list[next() % N];
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool isKey(const std::string& column)
{
    return column == "ID" || column == "OwnerID" || column == "PrimaryID" || column == "SecondaryID";
}

// Runs one row's statement; a row the schema refuses (a text in an INTEGER
// PRIMARY KEY) is left out.
void insertIfAccepted(sqlite3* database, const std::string& sql)
{
    sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr);
}

void execute(sqlite3* database, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(database, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        stop("cannot build the database: " + message);
    }
}

sqlite3* openNewDatabase(const std::string& path)
{
    std::filesystem::remove(path);
    sqlite3* database = nullptr;
    if (sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        stop("cannot create " + path);
    vldrRegisterIntFunction(database);
    vldrRegisterLikeFunction(database);
    return database;
}

// The tables of the schema and their columns (generated ones left out).
std::vector<Table> readTables(const std::string& path)
{
    sqlite3* database = openNewDatabase(path);
    execute(database, dataSource().schema);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(database,
                       "SELECT m.name, p.name, p.type FROM sqlite_schema m, pragma_table_xinfo(m.name) p "
                       "WHERE m.type = 'table' AND p.hidden = 0 ORDER BY m.name, p.cid",
                       -1, &statement, nullptr);
    std::vector<Table> tables;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const std::string table = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        if (tables.empty() || tables.back().name != table) tables.push_back(Table{table, {}});
        tables.back().columns.push_back(Column{reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)),
                                               reinterpret_cast<const char*>(sqlite3_column_text(statement, 2))});
    }
    sqlite3_finalize(statement);
    sqlite3_close(database);
    if (tables.empty()) stop("the schema holds no tables");
    return tables;
}

// One row of table with a value for each column, chosen by the input.
std::string insertRow(const Table& table, InputReader& input)
{
    std::string columns, values;
    for (const Column& column : table.columns) {
        if (!columns.empty()) {
            columns += ", ";
            values += ", ";
        }
        columns += column.name;
        values += isKey(column.name) ? input.pick(kKeys) : valueFor(column, input.pick(kValues));
    }
    return "INSERT OR IGNORE INTO " + table.name + " (" + columns + ") VALUES (" + values + ");\n";
}

// Orbits of system 100 in which each pairs the two before it (the first
// two pair components), so that each earlier pair is a member twice.
std::string chainedOrbits(int count)
{
    std::string sql;
    for (int i = 0; i < count; ++i) {
        const int primary = i >= 1 ? kFirstOrbitId + i - 1 : 101;
        const int secondary = i >= 2 ? kFirstOrbitId + i - 2 : 102 + i;
        sql += "INSERT OR IGNORE INTO Orbits (ID, PrimaryID, SecondaryID, Period, SemimajorAxis) VALUES (" +
               std::to_string(kFirstOrbitId + i) + ", " + std::to_string(primary) + ", " +
               std::to_string(secondary) + ", 1, 1);\n";
    }
    return sql;
}

}  // namespace

void prepareHostileDataSource(const char* targetName)
{
    const char* temporary = std::getenv("TMPDIR");
    const std::string folder =
        std::string(temporary && *temporary ? temporary : "/tmp") + "/" + targetName + "-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    DataSource& source = dataSource();
    source.databasePath = folder + "/vldr.db";
    source.schema = readText(std::string(VLDR_SOURCE_DIR) + "/db/schema.sql");
    source.tables = readTables(source.databasePath);
    std::ofstream(folder + "/odbcinst.ini") << "[VLDR Driver]\nDriver=" << VLDR_LIB_DIR << "/libvldrodbc.so\n"
                                            << "DontDLClose=1\n";
    std::ofstream(folder + "/odbc.ini") << "[VLDR]\nDriver=VLDR Driver\nDatabase=" << source.databasePath << "\n";
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder + "/odbc.ini").c_str(), 1);
}

void buildHostileDatabase(const std::uint8_t* data, std::size_t size)
{
    const DataSource& source = dataSource();
    InputReader input(data, size);
    sqlite3* database = openNewDatabase(source.databasePath);
    // A scratch file: nothing needs to reach the disk before the next read.
    execute(database, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;");
    execute(database, source.schema);
    execute(database, "PRAGMA ignore_check_constraints = ON; BEGIN;"
                      "INSERT INTO Systems (ID) VALUES (100), (200);"
                      "INSERT INTO Components (ID) VALUES (101), (102), (201);"
                      "INSERT INTO Positions (OwnerID, RA_hr, Dec_deg, Distance) VALUES (100, 1, 2, 3), (200, 4, 5, 6);");
    execute(database, chainedOrbits(static_cast<int>(input.next() % (kMaxChainedOrbits + 1))));
    for (int row = 0; row < kMaxRows && input.more(); ++row)
        insertIfAccepted(database, insertRow(source.tables[input.next() % source.tables.size()], input));
    execute(database, "COMMIT;");
    sqlite3_close(database);
}

}  // namespace vldr::fuzz
