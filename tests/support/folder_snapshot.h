// What a folder holds, file by file, so that a test can prove a program
// changed no file and created none: names, sizes and a digest of the bytes.
#pragma once

#include <map>
#include <string>

namespace vldr::test {

// One file's size (bytes) and FNV-1a digest of its content.
struct FileState {
    unsigned long long size = 0;
    unsigned long long digest = 0;
    bool operator==(const FileState&) const = default;
};

// Every regular file under a folder, by path relative to it (folders count
// as entries of their own, with size and digest 0).
using FolderSnapshot = std::map<std::string, FileState>;

// Reads the folder now. A folder that does not exist gives an empty snapshot.
FolderSnapshot snapshotFolder(const std::string& folder);

// The differences between two snapshots, one line each ("changed: x",
// "created: x", "removed: x"); empty when they are equal.
std::string describeChanges(const FolderSnapshot& before, const FolderSnapshot& after);

}  // namespace vldr::test
