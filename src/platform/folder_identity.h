// Which folders are the same folder, decided by what the file system says they are
// rather than by how their paths are spelled. A mailbox can be reached through a link
// or junction, its 8.3 short name, trailing dots, another drive letter, the "\\?\" and
// "\\.\" prefixes, a SUBST or mapped drive: no comparison of path text catches them
// all, but every spelling opens the same folder, and an open folder tells its volume
// and file number (POSIX: device and inode) and, on Windows, its final path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// What an open folder is. Two identities name the same folder when volume and index
// agree (both known), or when both final paths are known and equal.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool hasIndex = false;
    std::string finalPath; // every link resolved, letters folded; empty where unknown
};

bool SameFolder(const FolderIdentity& a, const FolderIdentity& b);

enum class PathSyntax { kWindows, kPosix };
#ifdef _WIN32
constexpr PathSyntax kNativePathSyntax = PathSyntax::kWindows;
#else
constexpr PathSyntax kNativePathSyntax = PathSyntax::kPosix;
#endif

// `folder` (a full path) and each folder above it by name, nearest first, up to its
// root: "C:\a\b" gives "C:\a\b", "C:\a", "C:\". Roots are "C:\", "\\server\share\",
// "\\?\C:\", "\\?\UNC\server\share\", "\\.\C:\" and, for POSIX, "/". Windows
// takes '/' and '\' alike; runs of separators count once; a path without a root
// gives only itself and the folders above it that it names.
std::vector<std::string> EnclosingFolders(const std::string& folder,
                                          PathSyntax syntax = kNativePathSyntax);

// The folder part of a file's full path: everything before its last separator, or the
// root itself ("C:\x.csv" gives "C:\"). Empty when the path names no folder.
std::string FolderOfFile(const std::string& filePath, PathSyntax syntax = kNativePathSyntax);

// The file system's side, replaced by a table in tests.
class FolderProbe {
public:
    virtual ~FolderProbe() = default;
    // Opens the folder `path` names, following every link; false when it cannot be
    // opened or is no folder.
    virtual bool Identify(const std::string& path, FolderIdentity& identity) = 0;
    // The folder `path` names and every folder above it as the file system chains
    // them (not as the path spells them: after a link, the link's target's parents),
    // nearest first; empty when the folder cannot be opened.
    virtual std::vector<FolderIdentity> Ancestry(const std::string& path) = 0;
};

// The running system's probe.
FolderProbe& SystemFolderProbe();

// The rule by path text alone, used beside the identities and for any protected
// folder that cannot be opened: true when the file `path` lies in one of `folders` or
// below, by name.
using FolderNameRule = bool (*)(const std::string& path, const std::vector<std::string>& folders);

// Folders nothing may be written into, opened when made and again at every question:
// what the file system says of a folder can change meanwhile (under Wine a volume's
// serial number and a folder's final path are known only once its mount manager has
// started), and a folder that could not be opened at first may open later.
class ProtectedFolders {
public:
    // `syntax` is how the paths given to it are spelled (tests spell Windows paths
    // on POSIX systems).
    ProtectedFolders(std::vector<std::string> folders, FolderNameRule byName,
                     FolderProbe& probe = SystemFolderProbe(),
                     PathSyntax syntax = kNativePathSyntax);

    // True when a file written at `filePath` (a full path) would land in one of the
    // folders or below: by name, or because its folder or one above it, by name or as
    // the file system chains them, is one of them.
    [[nodiscard]] bool Contains(const std::string& filePath) const;

    // The writer's second look, on the open temporary file: `chain` is the ancestry of
    // the folder that holds it, `filePath` the file's path as the system gives it
    // (for the rule by name).
    [[nodiscard]] bool ContainsOpenFile(const std::vector<FolderIdentity>& chain,
                                        const std::string& filePath) const;

private:
    // Whether `identity` is one of the protected folders, as first seen or as `now`.
    bool IsProtected(const FolderIdentity& identity, const std::vector<FolderIdentity>& now) const;
    // The identities of the protected folders as the file system gives them now.
    std::vector<FolderIdentity> IdentitiesNow() const;

    std::vector<std::string> m_folders;
    std::vector<FolderIdentity> m_identities; // of the folders that could be opened
    FolderNameRule m_byName;
    FolderProbe& m_probe;
    PathSyntax m_syntax;
};

#ifdef _WIN32
// The ancestry of the folder that holds the open file `file` (a HANDLE), found from its
// final path; `filePath` receives that path in its plain form ("C:\...", "\\server\...").
// False when the system cannot say where the file is.
bool AncestryOfOpenFile(void* file, std::vector<FolderIdentity>& chain, std::string& filePath);
// What the open folder `folder` (a HANDLE) is, its final path included; false when it is
// no folder or the system cannot say.
bool IdentifyOpenFolder(void* folder, FolderIdentity& identity);
#else
// The ancestry of the open directory `directory`, walked through "..".
std::vector<FolderIdentity> AncestryOfDirectory(int directory);
#endif

} // namespace platform
