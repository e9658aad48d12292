// The one way the program writes a file of its own (the list export): the new content
// goes to a temporary file beside the target and replaces the target only once it is
// written whole, so a failure (disk full, no rights) leaves an existing file as it was.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Writes `bytes` to "<path>.<n>.tmp" (the first such name that does not exist), flushes
// it and renames it onto `path`. False when any step fails; the temporary file is then
// removed and `path` is untouched.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

} // namespace platform
