// The program's own folder on Windows: each part opened relative to the one above
// (NtCreateFile with a root directory) as itself, not as what a reparse point leads to,
// and held without FILE_SHARE_DELETE, so that it cannot be renamed or replaced while
// this object works in it. Under Wine a POSIX symbolic link opens as its target without
// a reparse attribute; its final path, which is not the parent's followed by its name,
// gives it away.
#include "platform/own_folder.h"

#include "platform/folder_identity.h"
#include "platform/handle_win32.h"
#include "platform/local_folders.h"
#include "platform/path_separator.h"
#include "text/cp1252_case.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

constexpr NTSTATUS kNameNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035);
constexpr NTSTATUS kPathNotFound = static_cast<NTSTATUS>(0xC000003A);
constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
constexpr ULONG kFolderOptions =
    FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT;
constexpr ULONG kFileOptions =
    FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT;

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                        &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return wide;
}

std::string Narrow(const wchar_t* text, size_t length) {
    std::string narrow(length * 2 + 1, '\0');
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &narrow[0],
                                        static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return narrow;
}

// Opens `name` in the open folder `root`; the handle, or null with `status` set.
HANDLE OpenIn(HANDLE root, const std::string& name, ACCESS_MASK access, ULONG share,
              ULONG disposition, ULONG options, NTSTATUS& status) {
    std::wstring wide = Wide(name);
    if (wide.empty() || wide.size() > 32767) {
        status = kNameNotFound;
        return nullptr;
    }
    UNICODE_STRING unicode;
    unicode.Buffer = &wide[0];
    unicode.Length = unicode.MaximumLength = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicode, OBJ_CASE_INSENSITIVE, root, nullptr);
    IO_STATUS_BLOCK io;
    HANDLE handle = nullptr;
    status = ::NtCreateFile(&handle, access, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
                            share, disposition, options, nullptr, 0);
    return NT_SUCCESS(status) ? handle : nullptr;
}

void CloseIfOpen(void*& handle) {
    if (handle) {
        ::CloseHandle(static_cast<HANDLE>(handle));
        handle = nullptr;
    }
}

// Whether the open `entry` is the entry `name` of the open `folder` itself: no reparse
// point, and where the system says so, no other place than the folder's own.
bool IsPlainEntry(HANDLE folder, HANDLE entry, const std::string& name) {
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (!::GetFileInformationByHandleEx(entry, FileAttributeTagInfo, &tag, sizeof tag) ||
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return false;
    }
    FolderIdentity above;
    char final[MAX_PATH * 2];
    const DWORD n = ::GetFinalPathNameByHandleA(entry, final, sizeof final, 0);
    if (!IdentifyOpenFolder(folder, above) || above.finalPath.empty() || n == 0 ||
        n >= sizeof final) {
        return true; // the system cannot say where it is: the attribute is all there is
    }
    const std::string expected = above.finalPath + (above.finalPath.back() == '\\' ? "" : "\\") +
                                 text::FoldedWindows1252(name);
    return text::FoldedWindows1252(std::string(final, n)) == expected;
}

// Whether the open folder lies in one of the guard's folders, as the system chains them.
bool IsProtected(HANDLE folder, const std::string& path, const ProtectedFolders& guard) {
    std::vector<FolderIdentity> chain(1);
    std::vector<FolderIdentity> above;
    std::string where;
    if (!IdentifyOpenFolder(folder, chain[0])) {
        return guard.Contains(path);
    }
    if (AncestryOfOpenFile(folder, above, where)) {
        chain.insert(chain.end(), above.begin(), above.end());
    }
    return guard.ContainsOpenFile(chain, path);
}

// Opens the regular file `name` of the open `folder` as itself, never through a link;
// null when it is missing (`status` kNameNotFound) or no such file.
HANDLE OpenPlainFile(HANDLE folder, const std::string& name, ACCESS_MASK access, NTSTATUS& status) {
    HANDLE file = folder
                      ? OpenIn(folder, name, access | SYNCHRONIZE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN, kFileOptions, status)
                      : nullptr;
    if (file && (::GetFileType(file) != FILE_TYPE_DISK || !IsPlainEntry(folder, file, name))) {
        ::CloseHandle(file);
        file = nullptr;
        status = 0;
    }
    return file;
}

// Renames the open `file` to `name` in the open `folder`, replacing a file of that name.
// Through the native call: the documented one takes the new name as a path of its own.
bool RenameInto(HANDLE file, HANDLE folder, const std::string& name) {
    const std::wstring wide = Wide(name);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFORMATION) + wide.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<ULONG>(wide.size() * sizeof(wchar_t));
    std::copy(wide.begin(), wide.end(), rename->FileName);
    IO_STATUS_BLOCK io;
    return NT_SUCCESS(::NtSetInformationFile(file, &io, rename, static_cast<ULONG>(buffer.size()),
                                             FileRenameInformation));
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The user's folder the history lies in, as its name leads, links and all.
HANDLE OpenBase(const std::string& base) {
    HANDLE folder = ::CreateFileA(base.c_str(), kFolderAccess,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return folder == INVALID_HANDLE_VALUE ? nullptr : folder;
}

// Opens the folder `name` of `parent` as itself, held against renaming. When it is
// missing and `create` says so, it is made, but only once `parent` (at `path`, with a
// final separator) is found to lie outside the guard's folders.
OwnFolderOpen OpenPart(HANDLE parent, const std::string& path, const std::string& name, bool create,
                       const ProtectedFolders& guard, HANDLE& folder) {
    NTSTATUS status = 0;
    folder = OpenIn(parent, name, kFolderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN,
                    kFolderOptions, status);
    const bool missing = status == kNameNotFound || status == kPathNotFound;
    if (!folder && missing && create) {
        if (IsProtected(parent, path, guard)) {
            return OwnFolderOpen::kProtected;
        }
        folder = OpenIn(parent, name, kFolderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        FILE_OPEN_IF, kFolderOptions, status);
    }
    if (!folder) {
        return status == kNameNotFound || status == kPathNotFound ? OwnFolderOpen::kMissing
                                                                  : OwnFolderOpen::kFailed;
    }
    if (!IsPlainEntry(parent, folder, name)) {
        ::CloseHandle(folder);
        folder = nullptr;
        return OwnFolderOpen::kLink;
    }
    return OwnFolderOpen::kOpened;
}

} // namespace

OwnFolderOpen OwnFolder::Open(const std::string& base, const std::vector<std::string>& parts,
                              bool create, const ProtectedFolders& guard) {
    Close();
    m_pGuard = &guard;
    m_strPath = WithFolders(base, parts);
    if (parts.empty()) {
        return OwnFolderOpen::kFailed;
    }
    HANDLE current = OpenBase(base);
    // By name and by the folders that are there already, before any is made.
    if (!current && create && IsMissing(::GetLastError())) {
        if (guard.Contains(m_strPath)) {
            return OwnFolderOpen::kProtected;
        }
        current = MakeFolders(base) ? OpenBase(base) : nullptr;
    }
    if (!current) {
        return IsMissing(::GetLastError()) ? OwnFolderOpen::kMissing : OwnFolderOpen::kFailed;
    }
    std::string path = WithFinalSeparator(base);
    for (const std::string& part : parts) {
        HANDLE next = nullptr;
        const OwnFolderOpen opened = OpenPart(current, path, part, create, guard, next);
        if (opened != OwnFolderOpen::kOpened) {
            ::CloseHandle(current);
            Close();
            return opened;
        }
        path += part + "\\";
        CloseIfOpen(m_hParent);
        m_hParent = current;
        current = next;
    }
    m_hFolder = current;
    m_strName = parts.back();
    // Whatever the names say: the folder and those above it as the file system chains them.
    if (IsProtected(current, m_strPath, guard)) {
        Close();
        return OwnFolderOpen::kProtected;
    }
    return OwnFolderOpen::kOpened;
}

bool OwnFolder::IsOpen() const {
    return m_hFolder != nullptr;
}

void OwnFolder::Close() {
    CloseIfOpen(m_hFolder);
    CloseIfOpen(m_hParent);
}

bool OwnFolder::List(const char* pattern, DirectoryVisitor visit, void* context) const {
    if (!m_hFolder) {
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    FILE_INFO_BY_HANDLE_CLASS kind = FileFullDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(static_cast<HANDLE>(m_hFolder), kind, buffer.data(),
                                          static_cast<DWORD>(buffer.size()))) {
        kind = FileFullDirectoryInfo;
        for (size_t at = 0;;) {
            const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer.data() + at);
            DirectoryEntry entry;
            entry.name = Narrow(info->FileName, info->FileNameLength / sizeof(wchar_t));
            entry.isDirectory = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(info->EndOfFile.QuadPart);
            if (IsSearchHit(entry.name.c_str(), pattern) && !visit(entry, context)) {
                return true;
            }
            if (info->NextEntryOffset == 0) {
                break;
            }
            at += info->NextEntryOffset;
        }
    }
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

bool OwnFolder::OpenFile(const std::string& name, ReadOnlyFile& file) const {
    file.Close();
    NTSTATUS status = 0;
    file.m_hFile = OpenPlainFile(static_cast<HANDLE>(m_hFolder), name, GENERIC_READ, status);
    if (!file.m_hFile) {
        file.m_hFile = INVALID_HANDLE_VALUE;
        return false;
    }
    return true;
}

bool OwnFolder::ReplaceContents(const std::string& name, std::string_view bytes) const {
    const HANDLE folder = static_cast<HANDLE>(m_hFolder);
    for (int n = 0; folder && n < 100; ++n) {
        NTSTATUS status = 0;
        HANDLE file = OpenIn(folder, name + "." + std::to_string(n) + ".tmp",
                             GENERIC_WRITE | DELETE | SYNCHRONIZE, 0, FILE_CREATE,
                             FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, status);
        if (!file) {
            if (status == kNameCollision) {
                continue;
            }
            return false;
        }
        // Asked again on the written file: the folders above may have moved meanwhile.
        std::vector<FolderIdentity> chain;
        std::string where;
        bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file) &&
                  !(m_pGuard && (AncestryOfOpenFile(file, chain, where)
                                     ? m_pGuard->ContainsOpenFile(chain, where)
                                     : m_pGuard->Contains(m_strPath + name)));
        ok = ok && RenameInto(file, folder, name);
        if (!ok) {
            DeleteThroughHandle(file);
        }
        ::CloseHandle(file);
        return ok;
    }
    return false;
}

OwnFileRemoval OwnFolder::RemoveFile(const std::string& name, RemovalTest mayGo) const {
    NTSTATUS status = 0;
    ReadOnlyFile file;
    file.m_hFile =
        OpenPlainFile(static_cast<HANDLE>(m_hFolder), name, GENERIC_READ | DELETE, status);
    if (!file.m_hFile) {
        file.m_hFile = INVALID_HANDLE_VALUE;
        return status == kNameNotFound ? OwnFileRemoval::kRemoved : OwnFileRemoval::kKept;
    }
    if (!mayGo(file)) {
        return OwnFileRemoval::kKept;
    }
    return DeleteThroughHandle(static_cast<HANDLE>(file.m_hFile)) ? OwnFileRemoval::kRemoved
                                                                  : OwnFileRemoval::kFailed;
}

bool OwnFolder::RemoveIfEmpty() {
    FolderIdentity held;
    const bool known = m_hFolder && m_hParent && IdentifyOpenFolder(m_hFolder, held);
    CloseIfOpen(m_hFolder);
    bool removed = false;
    NTSTATUS status = 0;
    HANDLE folder =
        known ? OpenIn(static_cast<HANDLE>(m_hParent), m_strName,
                       DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN, kFolderOptions, status)
              : nullptr;
    if (folder) {
        FolderIdentity now;
        removed = IdentifyOpenFolder(folder, now) && SameFolder(now, held) &&
                  IsPlainEntry(static_cast<HANDLE>(m_hParent), folder, m_strName) &&
                  DeleteThroughHandle(folder);
        ::CloseHandle(folder);
    }
    Close();
    return removed;
}

} // namespace platform
