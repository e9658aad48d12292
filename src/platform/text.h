// The program's own German texts in the code page the system shows. The sources write
// them as Windows-1252 bytes; a system with another 8-bit code page would show other
// letters for those bytes, so texts that reach the screen without passing the string
// table go through here.
#pragma once

#include <string>

namespace platform {

// `text` (Windows-1252) in the system's 8-bit code page: on Windows converted to the
// active code page (a letter it lacks becomes its nearest match or '?', as in texts
// from the string table); elsewhere, where the program's text is Windows-1252
// throughout, unchanged.
std::string SystemText(const std::string& text);

} // namespace platform
