// The one way the program writes a file of its own (the list export): the new content
// goes to a temporary file beside the target and replaces the target only once it is
// written whole, so a failure (disk full, no rights) leaves an existing file as it was.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class ProtectedFolders;

// Writes `bytes` to "<path>.<n>.tmp" (the first such name that does not exist), flushes
// it and renames it onto `path`. False when any step fails; the temporary file is then
// removed and `path` is untouched.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

enum class WriteOutcome { kWritten, kFailed, kRefused };

// As above, never into `guard`'s folders: refused before the temporary file is made
// when `path` lies in one of them, and once more, looking at the open temporary file
// itself, just before it replaces the target, so that a link swapped in meanwhile does
// not carry the file into one. A refused write leaves `path` untouched and removes the
// temporary file.
[[nodiscard]] WriteOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                               const ProtectedFolders& guard);

#ifndef _WIN32
// As above, in the open folder `folder`: `name` is the file in it, `path` its full path
// for the guard's rule by name; without a guard nothing is refused.
[[nodiscard]] WriteOutcome ReplaceFileIn(int folder, const std::string& name,
                                         const std::string& path, std::string_view bytes,
                                         const ProtectedFolders* guard);
#endif

} // namespace platform
