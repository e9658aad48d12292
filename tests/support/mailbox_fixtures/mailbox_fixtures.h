// Byte-exact pieces of a mailbox for the tests: folder headers, companion headers,
// lines of "hierarch.pm", and large files that take no disk space.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "mailbox/scan_result.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace fixtures {

// The path of a folder the hierarchy does not know, and the new-mail row's label the
// tests pass to a scan.
inline const std::string kUnknown = "<\?\?\?>";
inline const std::string kLabel = "<Posteingang>";

// One catalogue row's four fields, compared and printed as a whole.
struct Row {
    std::string fileName, folderPath, folderName;
    uint64_t size;
    bool operator==(const Row& o) const {
        return fileName == o.fileName && folderPath == o.folderPath && folderName == o.folderName &&
               size == o.size;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << "{" << r.fileName << ", " << r.folderPath << ", " << r.folderName << ", "
               << r.size << "}";
}

// A 128-byte .PMM header: `name` from offset 0, `id` from offset 86, zeros elsewhere.
// Texts are copied as they are, without a terminator of their own, so a test can fill
// a field to its last byte.
std::string PmmHeader(const std::string& name, const std::string& id);

// A 90-byte .PMG header: `name` from offset 0, `id` from offset 58.
std::string PmgHeader(const std::string& name, const std::string& id);

// One line of "hierarch.pm" with quoted texts (quotes and backslashes escaped) and
// the line end the mail client writes.
std::string HierarchyLine(int type, const std::string& id, const std::string& parentId,
                          const std::string& name);

// Writes `head` and extends the file to `size` bytes without writing the rest, so a
// file of several GiB costs no disk space. Returns success.
bool WriteLargeFile(const std::string& path, const std::string& head, uint64_t size);

// A catalogue row as a scan would make it.
FolderRecord Record(const std::string& file, const std::string& path, const std::string& name,
                    uint64_t size);

// A catalogue of `rows` with their count and total, as a scan would leave it.
FolderCatalogue CatalogueOf(std::vector<FolderRecord> rows);

// A scan's result holding the catalogue of `rows`.
SharedScanResult ResultOf(std::vector<FolderRecord> rows);

} // namespace fixtures
