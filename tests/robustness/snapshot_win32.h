// A record of a directory tree, taken before and after the program ran, to show that
// it wrote nothing there: every entry's name, kind, size, last-write time and bytes.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace robustness {

struct EntryState {
    bool isDirectory = false;
    uint64_t size = 0;
    uint64_t lastWrite = 0; // FILETIME as one number
    std::string bytes;      // files only
    bool operator==(const EntryState& o) const {
        return isDirectory == o.isDirectory && size == o.size && lastWrite == o.lastWrite &&
               bytes == o.bytes;
    }
};

std::ostream& operator<<(std::ostream& out, const EntryState& e);

// Entries by path relative to the root (the root itself as ""), recursively.
using Snapshot = std::map<std::string, EntryState>;

// `root` ends with a backslash.
Snapshot TakeSnapshot(const std::string& root);

} // namespace robustness
