// Reading the fixed-size headers of .PMM folders and .PMG companions. The headers
// have no magic number: a file is valid when it delivers the header's length. Only the
// header is read; the size comes from the file's length, never from reading it.
#include "mailbox/folder_headers.h"

#include "diag/path_parts.h"
#include "diag/trace.h"
#include "platform/files.h"

#include <algorithm>

namespace {

constexpr size_t kPmmHeaderSize = 128;
constexpr size_t kPmmNameEnd = 63; // forced to zero: names have at most 63 bytes
constexpr size_t kPmmIdOffset = 86;
constexpr size_t kPmmIdEnd = 127;

constexpr size_t kPmgHeaderSize = 90;
constexpr size_t kPmgNameEnd = 57;
constexpr size_t kPmgIdOffset = 58;
constexpr size_t kPmgIdEnd = 89;

// The bytes at `offset` up to the first zero; the caller has put a zero at the end of
// the field, so the text never runs past it.
std::string TextAt(const unsigned char* buffer, size_t offset) {
    return std::string(reinterpret_cast<const char*>(buffer + offset));
}

// The .PMG beside an .MBX: the same path with the extension replaced, made absolute by
// PathParts' rule. The extension is what follows the last point of the name (none when
// the name has no point), as PathParts splits it.
std::string CompanionPath(const std::string& folderPath) {
    size_t nameStart = folderPath.size() >= 2 && folderPath[1] == ':' ? 2 : 0;
    const size_t separator = folderPath.find_last_of("\\/");
    if (separator != std::string::npos && separator + 1 > nameStart) {
        nameStart = separator + 1;
    }
    const size_t dot = folderPath.rfind('.');
    const size_t stem = dot != std::string::npos && dot >= nameStart ? dot : folderPath.size();
    return PathParts::FullPathOf(folderPath.substr(0, stem) + ".PMG");
}

} // namespace

void FolderFileRecord::Clear() {
    FolderRecord::Clear();
    filePath.clear();
    folderId.clear();
}

bool FolderFileRecord::IsEmpty() const {
    return FolderRecord::IsEmpty() && filePath.empty() && folderId.empty();
}

// The record keeps the absolute path, and the name in the letter case in which the
// directory search delivered it. The parts of a path join to that path again, so its
// full path is that of the path as it stands, and base name and extension together are
// what follows the last separator (or the drive): taken without splitting, since every
// file of a scan comes through here.
void FolderFileRecord::SetPath(const std::string& path) {
    Clear();
    size_t nameStart = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos && separator + 1 > nameStart) {
        nameStart = separator + 1;
    }
    filePath = PathParts::FullPathOf(path);
    fileName.assign(path, nameStart, std::string::npos);
}

bool pmm::Analyze() {
    size = 0;
    lastWrite = 0;
    folderId.clear();
    platform::ReadOnlyFile file;
    if (!file.Open(filePath)) {
        Trace("[pmm.Analyze] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n",
              filePath.c_str());
        folderName = FailureText(FolderFailure::kPmmOpen);
        return false;
    }
    // Known once it opened, as Windows' listing knows it of any file.
    lastWrite = file.OpenedLastWrite();
    unsigned char header[kPmmHeaderSize] = {};
    if (file.ReadFromStart(header, sizeof header) < sizeof header) {
        Trace("[pmm.Analyze] WARNUNG: Datei \"%s\" ist keine gültige PMM-Datei\n",
              filePath.c_str());
        folderName = FailureText(FolderFailure::kPmmHeader);
        return false;
    }
    size = file.Length();
    header[kPmmNameEnd] = 0;
    header[kPmmIdEnd] = 0;
    folderName = TextAt(header, 0);
    folderId = TextAt(header, kPmmIdOffset);
    return true;
}

bool mbx::Analyze() {
    size = 0;
    lastWrite = 0;
    folderId.clear();
    {
        // The folder itself is only measured, and closed before its companion opens.
        platform::ReadOnlyFile folder;
        if (!folder.Open(filePath)) {
            Trace("[mbx.Analyze] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n",
                  filePath.c_str());
            folderName = FailureText(FolderFailure::kMbxOpen);
            return false;
        }
        size = folder.Length();
        lastWrite = folder.OpenedLastWrite();
    }
    const std::string companionPath = CompanionPath(filePath);
    platform::ReadOnlyFile companion;
    if (!companion.Open(companionPath)) {
        Trace("[mbx.Analyze] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n",
              companionPath.c_str());
        folderName = FailureText(FolderFailure::kPmgOpen);
        return false;
    }
    // The client writes a new message into the .MBX and its index into the .PMG: the
    // later of the two is the folder's last change.
    lastWrite = std::max(lastWrite, companion.OpenedLastWrite());
    unsigned char header[kPmgHeaderSize] = {};
    if (companion.ReadFromStart(header, sizeof header) < sizeof header) {
        Trace("[mbx.Analyze] WARNUNG: Datei \"%s\" ist keine gültige PMG-Datei\n",
              companionPath.c_str());
        folderName = FailureText(FolderFailure::kPmgHeader);
        return false;
    }
    header[kPmgNameEnd] = 0;
    header[kPmgIdEnd] = 0;
    folderName = TextAt(header, 0);
    folderId = TextAt(header, kPmgIdOffset);
    return true;
}
