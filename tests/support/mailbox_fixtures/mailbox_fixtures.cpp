// The test fixtures of the mailbox module, written from the file formats.
#include "mailbox_fixtures.h"

#include "test_support.h"

#ifdef _WIN32
#include <memory>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fixtures {

namespace {
std::string Header(size_t length, const std::string& name, size_t idOffset, const std::string& id) {
    std::string bytes(length, '\0');
    bytes.replace(0, name.size(), name);
    bytes.replace(idOffset, id.size(), id);
    bytes.resize(length);
    return bytes;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}
} // namespace

std::string PmmHeader(const std::string& name, const std::string& id) {
    return Header(128, name, 86, id);
}

std::string PmgHeader(const std::string& name, const std::string& id) {
    return Header(90, name, 58, id);
}

std::string HierarchyLine(int type, const std::string& id, const std::string& parentId,
                          const std::string& name) {
    return std::to_string(type) + ",0," + Quoted(id) + "," + Quoted(parentId) + "," + Quoted(name) +
           "\r\n";
}

bool WriteLargeFile(const std::string& path, const std::string& head, uint64_t size) {
    if (!testsupport::WriteFile(path, head)) {
        return false;
    }
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return ok;
#else
    return truncate(path.c_str(), static_cast<off_t>(size)) == 0;
#endif
}

FolderRecord Record(const std::string& file, const std::string& path, const std::string& name,
                    uint64_t size) {
    FolderRecord r;
    r.fileName = file;
    r.folderPath = path;
    r.folderName = name;
    r.size = size;
    return r;
}

FolderCatalogue CatalogueOf(std::vector<FolderRecord> rows) {
    FolderCatalogue c;
    for (const FolderRecord& r : rows) {
        ++c.fileCount;
        c.totalSize += r.size;
    }
    c.records = std::move(rows);
    return c;
}

SharedScanResult ResultOf(std::vector<FolderRecord> rows) {
    auto result = std::make_shared<ScanResult>();
    result->catalogue = CatalogueOf(std::move(rows));
    return result;
}

} // namespace fixtures
