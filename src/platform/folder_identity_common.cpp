// The portable half of the folder identities: path roots and the folders above a path,
// and the decision whether a file would land in a protected folder.
#include "platform/folder_identity.h"

#include <utility>

namespace platform {

namespace {

bool IsSeparator(char c, PathSyntax syntax) {
    return c == '/' || (syntax == PathSyntax::kWindows && c == '\\');
}

// Position after the next separator at or behind `from`, or the end.
size_t AfterComponent(const std::string& path, size_t from, PathSyntax syntax) {
    while (from < path.size() && !IsSeparator(path[from], syntax)) {
        ++from;
    }
    return from < path.size() ? from + 1 : from;
}

bool HasDrive(const std::string& path, size_t at) {
    return path.size() >= at + 2 && path[at + 1] == ':' &&
           ((path[at] >= 'A' && path[at] <= 'Z') || (path[at] >= 'a' && path[at] <= 'z'));
}

bool StartsWithNoCase(const std::string& path, size_t at, const char* word) {
    for (size_t i = 0; word[i] != '\0'; ++i) {
        const char c = at + i < path.size() ? path[at + i] : '\0';
        if ((c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != word[i]) {
            return false;
        }
    }
    return true;
}

// Length of the root of `path` with its separator ("C:\", "\\server\share\",
// "\\?\C:\", "\\?\UNC\server\share\", "/"); 0 for a path without one.
size_t RootLength(const std::string& path, PathSyntax syntax) {
    if (syntax == PathSyntax::kPosix) {
        return !path.empty() && path[0] == '/' ? 1 : 0;
    }
    if (HasDrive(path, 0)) {
        return path.size() > 2 && IsSeparator(path[2], syntax) ? 3 : 0;
    }
    if (path.size() < 2 || !IsSeparator(path[0], syntax) || !IsSeparator(path[1], syntax)) {
        return 0;
    }
    size_t at = 2;
    if (path.size() > 3 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3], syntax)) {
        at = 4;
        if (HasDrive(path, at)) {
            return path.size() > at + 2 && IsSeparator(path[at + 2], syntax) ? at + 3 : 0;
        }
        if (!StartsWithNoCase(path, at, "UNC") || path.size() <= at + 3 ||
            !IsSeparator(path[at + 3], syntax)) {
            // A volume name ("\\?\Volume{...}\") is its own root.
            return AfterComponent(path, at, syntax);
        }
        at += 4;
    }
    // Server and share.
    return AfterComponent(path, AfterComponent(path, at, syntax), syntax);
}

} // namespace

bool SameFolder(const FolderIdentity& a, const FolderIdentity& b) {
    if (a.hasIndex && b.hasIndex && a.volume == b.volume && a.index == b.index) {
        return true;
    }
    return !a.finalPath.empty() && a.finalPath == b.finalPath;
}

std::vector<std::string> EnclosingFolders(const std::string& folder, PathSyntax syntax) {
    const size_t rootLength = RootLength(folder, syntax);
    std::string path = folder.substr(0, rootLength);
    std::vector<std::string> parts;
    size_t at = rootLength;
    while (at < folder.size()) {
        const size_t end = AfterComponent(folder, at, syntax);
        const size_t length = end - at - (IsSeparator(folder[end - 1], syntax) ? 1 : 0);
        if (length > 0) {
            parts.push_back(folder.substr(at, length));
        }
        at = end;
    }
    const char separator = syntax == PathSyntax::kWindows ? '\\' : '/';
    std::vector<std::string> folders;
    if (!path.empty()) {
        folders.push_back(path);
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 || (!path.empty() && !IsSeparator(path.back(), syntax))) {
            path += separator;
        }
        path += parts[i];
        folders.push_back(path);
    }
    return std::vector<std::string>(folders.rbegin(), folders.rend());
}

std::string FolderOfFile(const std::string& filePath, PathSyntax syntax) {
    const size_t rootLength = RootLength(filePath, syntax);
    size_t end = filePath.size();
    while (end > rootLength && !IsSeparator(filePath[end - 1], syntax)) {
        --end;
    }
    // Then past the separators before the name, but never into the root.
    while (end > rootLength && IsSeparator(filePath[end - 1], syntax)) {
        --end;
    }
    return filePath.substr(0, end);
}

ProtectedFolders::ProtectedFolders(std::vector<std::string> folders, FolderNameRule byName,
                                   FolderProbe& probe, PathSyntax syntax)
    : m_folders(std::move(folders)), m_byName(byName), m_probe(probe), m_syntax(syntax) {
    m_identities = IdentitiesNow();
}

std::vector<FolderIdentity> ProtectedFolders::IdentitiesNow() const {
    std::vector<FolderIdentity> identities;
    for (const std::string& folder : m_folders) {
        const std::vector<std::string> names = EnclosingFolders(folder, m_syntax);
        FolderIdentity identity;
        if (!folder.empty() && !names.empty() && m_probe.Identify(names.front(), identity)) {
            identities.push_back(identity);
        }
    }
    return identities;
}

bool ProtectedFolders::IsProtected(const FolderIdentity& identity,
                                   const std::vector<FolderIdentity>& now) const {
    for (const std::vector<FolderIdentity>* known : {&m_identities, &now}) {
        for (const FolderIdentity& folder : *known) {
            if (SameFolder(identity, folder)) {
                return true;
            }
        }
    }
    return false;
}

bool ProtectedFolders::ContainsOpenFile(const std::vector<FolderIdentity>& chain,
                                        const std::string& filePath) const {
    if (m_byName && m_byName(filePath, m_folders)) {
        return true;
    }
    const std::vector<FolderIdentity> now = IdentitiesNow();
    for (const FolderIdentity& identity : chain) {
        if (IsProtected(identity, now)) {
            return true;
        }
    }
    return false;
}

bool ProtectedFolders::Contains(const std::string& filePath) const {
    const std::string folder = FolderOfFile(filePath, m_syntax);
    // As the file system chains the folders, and as the path names them: each name
    // above the file that opens as a protected folder holds the file too.
    std::vector<FolderIdentity> chain =
        folder.empty() ? std::vector<FolderIdentity>() : m_probe.Ancestry(folder);
    for (const std::string& name : EnclosingFolders(folder, m_syntax)) {
        FolderIdentity identity;
        if (m_probe.Identify(name, identity)) {
            chain.push_back(identity);
        }
    }
    return ContainsOpenFile(chain, filePath);
}

} // namespace platform
