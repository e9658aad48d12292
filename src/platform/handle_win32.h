// What the writers of files and of the history's folder do through an open handle.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// Writes all of `bytes`, in pieces a 32-bit WriteFile takes.
bool WriteAll(HANDLE file, std::string_view bytes);
// Removes the file through its own handle, so that it is this file and no other that
// goes, even when its name now leads elsewhere.
bool DeleteThroughHandle(HANDLE file);

} // namespace platform
