// The conversion behind SystemText with the target code page named, so it can be
// tried for code pages other than the running system's.
#pragma once

#include <string>

namespace platform {

// `text` (Windows-1252) in code page `codePage`; unchanged for 1252, for an empty text
// and when the platform cannot convert.
std::string Windows1252ToCodePage(const std::string& text, unsigned codePage);

} // namespace platform
