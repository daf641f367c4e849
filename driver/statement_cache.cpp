#include "statement_cache.h"

namespace vldr::driver {

sqlite3_stmt* StatementCache::take(std::string_view text)
{
    const auto found = byText_.find(text);
    if (found == byText_.end()) return nullptr;
    sqlite3_stmt* prepared = found->second->second;
    const auto entry = found->second;
    byText_.erase(found);
    entries_.erase(entry);
    return prepared;
}

void StatementCache::keep(std::string text, sqlite3_stmt* prepared)
{
    sqlite3_reset(prepared);
    sqlite3_clear_bindings(prepared);
    if (byText_.count(text) != 0) {
        sqlite3_finalize(prepared);
        return;
    }
    entries_.emplace_front(std::move(text), prepared);
    byText_.emplace(entries_.front().first, entries_.begin());
    if (entries_.size() <= kCachedStatements) return;
    byText_.erase(entries_.back().first);
    sqlite3_finalize(entries_.back().second);
    entries_.pop_back();
}

void StatementCache::clear()
{
    for (Entry& entry : entries_) sqlite3_finalize(entry.second);
    entries_.clear();
    byText_.clear();
}

}  // namespace vldr::driver
