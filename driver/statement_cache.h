// Prepared statements kept for reuse, by their exact text, on the
// connection that prepared them. Preparing (parsing and planning) is most
// of what a short VLDR statement costs, and a FastCGI process sends the
// same texts again and again (the same systems' names, spectra and
// positions appear on many pages). Only statements that passed every check
// of prepareStatement are kept, so a statement taken from here needs none.
#pragma once

#include <sqlite3.h>

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vldr::driver {

// How many prepared statements a connection keeps: a neighbour page of a
// hundred systems sends about 240 statements, and each kept one holds a
// few kilobytes, so 512 keep two such pages for about 2 MB.
constexpr std::size_t kCachedStatements = 512;

class StatementCache {
public:
    StatementCache() = default;
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;
    ~StatementCache() { clear(); }

    // The kept statement of exactly this text, now the caller's (it leaves
    // the cache); nullptr when none is kept.
    sqlite3_stmt* take(std::string_view text);

    // Keeps prepared (reset, its parameters cleared) under text, the most
    // recent; finalizes it instead when that text is kept already, and
    // finalizes the least recently kept beyond kCachedStatements.
    void keep(std::string text, sqlite3_stmt* prepared);

    // Finalizes every kept statement (before the connection closes).
    void clear();

private:
    using Entry = std::pair<std::string, sqlite3_stmt*>;
    std::list<Entry> entries_;  // most recently kept first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> byText_;  // views of entries_' texts
};

}  // namespace vldr::driver
