// A folder of the program's own data (a mailbox's history), opened once and then worked
// in through the open folder: every listing, read, write, rename and removal names its
// file relative to that open folder, so that a link or junction put in place of a name
// afterwards leads nowhere else. Opening it refuses a folder on the way that is a link
// and one that is, or lies in, a protected folder, by what the file system says it is.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProtectedFolders;

enum class OwnFolderOpen {
    kOpened,
    kMissing,   // a folder on the way is not there (and was not to be made)
    kLink,      // a folder on the way is a symbolic link, a junction or another reparse point
    kProtected, // the folder or one on the way is, or lies in, a protected folder
    kFailed,    // the system refused an open or a folder could not be made
};

enum class OwnFileRemoval { kRemoved, kKept, kFailed };

class OwnFolder {
public:
    // Decides whether an opened file may go; it is read from its start.
    using RemovalTest = bool (*)(ReadOnlyFile& file);

    OwnFolder() = default;
    ~OwnFolder() { Close(); }
    OwnFolder(const OwnFolder&) = delete;
    OwnFolder& operator=(const OwnFolder&) = delete;

    // Opens `base` as its name leads (the user's own folder, which may well be reached
    // through a link), then each of `parts` below it, the last one being the folder
    // worked in. No part may be a link; a missing one is made when `create` says so,
    // `base` too. Before anything is made in a folder, that folder and those above it,
    // as the file system chains them, are asked of `guard`, which must outlive this
    // object: each write asks it again.
    [[nodiscard]] OwnFolderOpen Open(const std::string& base, const std::vector<std::string>& parts,
                                     bool create, const ProtectedFolders& guard);
    bool IsOpen() const;
    void Close();

    // Visits the names of its entries that match `pattern` (as SearchDirectory, with
    // names only). False when it is not open or cannot be read.
    bool List(const char* pattern, DirectoryVisitor visit, void* context) const;
    // Opens its regular file `name` for reading; never through a link.
    bool OpenFile(const std::string& name, ReadOnlyFile& file) const;
    // Writes `bytes` as its file `name`, as ReplaceFileContents does: through a temporary
    // file in it that replaces the file only once written whole, and only after the
    // guard, asked once more, finds the folder outside its folders.
    [[nodiscard]] bool ReplaceContents(const std::string& name, std::string_view bytes) const;
    // Removes its file `name` when `mayGo` says so of it: the file looked at is the file
    // that goes. kKept for a file that may not go, and for a link or any other entry
    // that is no regular file; kRemoved also when there was none.
    OwnFileRemoval RemoveFile(const std::string& name, RemovalTest mayGo) const;
    // Closes the folder and removes it when it is empty; false when it stays.
    bool RemoveIfEmpty();

private:
    const ProtectedFolders* m_pGuard = nullptr;
    std::string m_strPath; // as the parts name it, with a final separator, for the guard
    std::string m_strName; // the last part, the entry of m_parent
#ifdef _WIN32
    void* m_hFolder = nullptr;
    void* m_hParent = nullptr;
#else
    int m_folder = -1;
    int m_parent = -1;
#endif
};

} // namespace platform
