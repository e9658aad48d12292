// How a size cell on screen marks a folder file near or over the mail client's limit:
// a mark in front of the size that does not rely on colour, and the level the cell's
// colour follows. The status line counts both.
#pragma once

#include "mailbox/folder_limit.h"
#include "platform/keyed_hash.h"

#include <string>
#include <vector>

namespace view {

// "!" near the limit, "!!" over it, each followed by a blank; nothing below it.
const char* LimitMark(FolderLimit limit);
// `sizeText` with the mark of `limit` in front.
std::string MarkedSize(const std::string& sizeText, FolderLimit limit);
// The level a cell's colour follows: 0 below, 1 near, 2 over.
constexpr int WarningLevel(FolderLimit limit) {
    return static_cast<int>(limit);
}

// The status line's addition for `counts`, built from `format` (the string table's,
// "%d über der Grenze, %d nahe daran"-like, the over count first): empty when no file
// is near or over, so the line stays as it was for every ordinary mailbox.
std::string LimitStatus(const std::string& format, const LimitCounts& counts);

// Which folder files over the limit a window has still to warn of: each once per run,
// whichever refresh finds it. One that stays over is not told again at every automatic
// refresh, nor one that drops below and grows over again. Names are matched without
// regard to ASCII case, as the file system does.
class LimitWarnings {
public:
    // The rows of `records` over the limit not warned of before, in their order; from
    // now on they count as warned.
    std::vector<const FolderRecord*> TakeNew(const std::vector<FolderRecord>& records);

private:
    platform::KeyedSet m_warned; // folded file names
};

} // namespace view
