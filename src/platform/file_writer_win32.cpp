// ReplaceFileContents on Windows: CREATE_NEW for the temporary name, FlushFileBuffers,
// then MoveFileExA, which replaces the target in one step.
#include "platform/file_writer.h"

#include <windows.h>

#include <algorithm>

namespace platform {

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    for (int n = 0; n < 100; ++n) {
        const std::string temp = path + "." + std::to_string(n) + ".tmp";
        HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
                continue;
            }
            return false;
        }
        bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
        ok = ::CloseHandle(file) && ok;
        ok = ok && ::MoveFileExA(temp.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) {
            ::DeleteFileA(temp.c_str());
        }
        return ok;
    }
    return false;
}

} // namespace platform
