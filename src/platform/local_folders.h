// Folders of the program's own that it may create and empty: where per-user data lives
// and the few steps a store of its own files needs (make a folder, remove a file or an
// empty folder). Nothing here is ever aimed at a mailbox: callers decide the place.
#pragma once

#include <string>

namespace platform {

// The user's local application-data folder ("%LOCALAPPDATA%", POSIX: $XDG_DATA_HOME or
// ~/.local/share), with a final separator; empty when the system names none.
std::string LocalAppDataFolder();

// Makes `folder` and every missing folder above it. True when it exists afterwards.
bool MakeFolders(const std::string& folder);

// Removes the file `path`; true when it is gone afterwards (also when it never was).
bool RemoveFile(const std::string& path);

// Removes `folder` when it is empty; false otherwise.
bool RemoveEmptyFolder(const std::string& folder);

} // namespace platform
