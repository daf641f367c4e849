#include "data_source.h"

#include <odbcinst.h>
#include <strings.h>

#include <charconv>

namespace vldr::driver {
namespace {

constexpr const char* kDatabaseKeyword = "Database";
constexpr const char* kBusyTimeoutKeyword = "BusyTimeout";
constexpr const char* kDataSourceFile = "odbc.ini";
// Room for one setting's value as odbc.ini holds it (a path).
constexpr int kSettingSize = 4096;

std::string profileValue(const std::string& section, const char* keyword)
{
    char value[kSettingSize] = {};
    SQLGetPrivateProfileString(section.c_str(), keyword, "", value, sizeof value, kDataSourceFile);
    return value;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

DataSourceSettings readDataSource(const std::string& name)
{
    DataSourceSettings settings;
    applySettings(settings, profileValue(name, kDatabaseKeyword), profileValue(name, kBusyTimeoutKeyword));
    return settings;
}

std::string connectionStringValue(std::string_view connectionString, std::string_view keyword)
{
    while (!connectionString.empty()) {
        const std::size_t end = connectionString.find(';');
        const std::string_view pair = connectionString.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos) {
            const std::string_view key = trimmed(pair.substr(0, equals));
            if (key.size() == keyword.size() && strncasecmp(key.data(), keyword.data(), key.size()) == 0) {
                return std::string(trimmed(pair.substr(equals + 1)));
            }
        }
        if (end == std::string_view::npos) break;
        connectionString.remove_prefix(end + 1);
    }
    return {};
}

void applySettings(DataSourceSettings& settings, const std::string& database, const std::string& busyTimeout)
{
    if (!database.empty()) settings.databasePath = database;
    if (busyTimeout.empty()) return;
    int milliseconds = 0;
    const char* end = busyTimeout.data() + busyTimeout.size();
    const auto [stop, error] = std::from_chars(busyTimeout.data(), end, milliseconds);
    if (error != std::errc() || stop != end || milliseconds < 0 || milliseconds > kMaximumBusyTimeoutMs) {
        settings.problem = std::string(kBusyTimeoutKeyword) + "=" + busyTimeout +
                           " is not a number of milliseconds from 0 to " + std::to_string(kMaximumBusyTimeoutMs);
        return;
    }
    settings.busyTimeoutMs = milliseconds;
}

}  // namespace vldr::driver
