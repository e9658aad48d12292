// What the writers of files and of the history's folder do through an open handle, and
// the folding of the names those handles are checked against.
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
// `text` with each Windows-1252 letter in the case the names are compared in.
std::string Folded(std::string text);

} // namespace platform
