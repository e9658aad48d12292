// ReplaceFileContents on Windows: CREATE_NEW for the temporary name, FlushFileBuffers,
// then MoveFileExA, which replaces the target in one step. With protected folders, the
// open temporary file is asked where it really lies before it replaces anything.
#include "platform/file_writer.h"

#include "platform/folder_identity.h"
#include "platform/handle_win32.h"

#include <windows.h>

namespace platform {

namespace {

// Whether the open temporary file, wherever the names led it, lies in a protected folder.
bool LiesInProtectedFolder(HANDLE file, const std::string& temp, const ProtectedFolders& guard) {
    std::vector<FolderIdentity> chain;
    std::string where;
    if (!AncestryOfOpenFile(file, chain, where)) {
        // The system cannot say: the names are all there is to go by.
        return guard.Contains(temp);
    }
    return guard.ContainsOpenFile(chain, where);
}

WriteOutcome Replace(const std::string& path, std::string_view bytes,
                     const ProtectedFolders* guard) {
    if (guard && guard->Contains(path)) {
        return WriteOutcome::kRefused;
    }
    for (int n = 0; n < 100; ++n) {
        const std::string temp = path + "." + std::to_string(n) + ".tmp";
        HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
                continue;
            }
            return WriteOutcome::kFailed;
        }
        bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
        const bool refused = ok && guard && LiesInProtectedFolder(file, temp, *guard);
        const bool deleted = (!ok || refused) && DeleteThroughHandle(file);
        ok = ::CloseHandle(file) && ok && !refused;
        ok = ok && ::MoveFileExA(temp.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok && !deleted) {
            ::DeleteFileA(temp.c_str());
        }
        return ok        ? WriteOutcome::kWritten
               : refused ? WriteOutcome::kRefused
                         : WriteOutcome::kFailed;
    }
    return WriteOutcome::kFailed;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    return Replace(path, bytes, nullptr) == WriteOutcome::kWritten;
}

WriteOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                 const ProtectedFolders& guard) {
    return Replace(path, bytes, &guard);
}

} // namespace platform
