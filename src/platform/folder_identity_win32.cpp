// Folder identities on Windows: the volume serial number and file index of a folder
// opened with backup semantics, and its final path, in which every link, junction,
// short name and drive substitution is resolved.
#include "platform/folder_identity.h"
#include "platform/handle_win32.h"
#include "text/cp1252_case.h"

#include <windows.h>

namespace platform {

namespace {

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle() {
        if (IsOpen()) {
            ::CloseHandle(m_handle);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

HANDLE OpenFolder(const std::string& path) {
    return ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// "\\?\C:\..." or "\\?\UNC\server\..." as the system gives it; empty when it cannot.
std::string FinalPath(HANDLE handle) {
    std::string buffer(MAX_PATH + 1, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n =
            ::GetFinalPathNameByHandleA(handle, &buffer[0], static_cast<DWORD>(buffer.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) {
            return std::string();
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.assign(n + 1, '\0');
    }
    return std::string();
}

// The plain form of a final path, for the rule by name.
std::string PlainPath(const std::string& final) {
    if (final.compare(0, 8, "\\\\?\\UNC\\") == 0) {
        return "\\\\" + final.substr(8);
    }
    if (final.compare(0, 4, "\\\\?\\") == 0) {
        return final.substr(4);
    }
    return final;
}

bool IdentityOfHandle(HANDLE handle, FolderIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    // Some redirectors give no file index at all; zero then says nothing.
    identity.hasIndex = identity.index != 0;
    identity.finalPath = text::FoldedWindows1252(FinalPath(handle));
    return true;
}

class Win32FolderProbe : public FolderProbe {
public:
    bool Identify(const std::string& path, FolderIdentity& identity) override {
        OwnedHandle folder(OpenFolder(path));
        return folder.IsOpen() && IdentityOfHandle(folder.Get(), identity);
    }

    // The folder's final path names its true parents, one after the other.
    std::vector<FolderIdentity> Ancestry(const std::string& path) override {
        std::vector<FolderIdentity> chain(1);
        OwnedHandle folder(OpenFolder(path));
        if (!folder.IsOpen() || !IdentityOfHandle(folder.Get(), chain[0])) {
            return {};
        }
        const std::vector<std::string> above = EnclosingFolders(FinalPath(folder.Get()));
        for (size_t i = 1; i < above.size(); ++i) {
            FolderIdentity identity;
            if (Identify(above[i], identity)) {
                chain.push_back(identity);
            }
        }
        return chain;
    }
};

} // namespace

bool AncestryOfOpenFile(void* file, std::vector<FolderIdentity>& chain, std::string& filePath) {
    const std::string final = FinalPath(static_cast<HANDLE>(file));
    if (final.empty()) {
        return false;
    }
    filePath = PlainPath(final);
    chain = SystemFolderProbe().Ancestry(FolderOfFile(final));
    return true;
}

bool IdentifyOpenFolder(void* folder, FolderIdentity& identity) {
    return IdentityOfHandle(static_cast<HANDLE>(folder), identity);
}

FolderProbe& SystemFolderProbe() {
    static Win32FolderProbe probe;
    return probe;
}

} // namespace platform
