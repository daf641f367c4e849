#include "folder_snapshot.h"

#include <filesystem>
#include <fstream>

namespace vldr::test {
namespace {

constexpr unsigned long long kFnvOffsetBasis = 14695981039346656037ull;
constexpr unsigned long long kFnvPrime = 1099511628211ull;

FileState readState(const std::filesystem::path& path)
{
    FileState state;
    state.digest = kFnvOffsetBasis;
    std::ifstream in(path, std::ios::binary);
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            state.digest = (state.digest ^ static_cast<unsigned char>(buffer[i])) * kFnvPrime;
        }
        state.size += static_cast<unsigned long long>(in.gcount());
    }
    return state;
}

}  // namespace

FolderSnapshot snapshotFolder(const std::string& folder)
{
    FolderSnapshot snapshot;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const std::string name = std::filesystem::relative(it->path(), folder).string();
        snapshot[name] = it->is_regular_file() ? readState(it->path()) : FileState{};
    }
    return snapshot;
}

std::string describeChanges(const FolderSnapshot& before, const FolderSnapshot& after)
{
    std::string changes;
    for (const auto& [name, state] : before) {
        const auto found = after.find(name);
        if (found == after.end()) changes += "removed: " + name + "\n";
        else if (!(found->second == state)) changes += "changed: " + name + "\n";
    }
    for (const auto& [name, state] : after) {
        if (!before.contains(name)) changes += "created: " + name + "\n";
    }
    return changes;
}

}  // namespace vldr::test
