// Fuzzes the header readers: the input becomes a .PMM, and an .MBX whose companion
// is the input without its first byte. Names, identifiers and sizes must be exactly
// what the header layout says, whatever the bytes.
#include "fuzz_files.h"
#include "mailbox/folder_headers.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The text of a field: bytes up to the first zero, at most `limit` of them.
std::string Field(const std::string& bytes, size_t offset, size_t limit) {
    const char* start = bytes.data() + offset;
    return std::string(start, strnlen(start, limit));
}

void CheckPmm(const std::string& dir, const std::string& input) {
    fuzzfiles::Write(dir + "F.PMM", input);
    pmm record;
    record.SetPath(dir + "F.PMM");
    const bool ok = record.Analyze();
    Check(ok == (input.size() >= 128));
    Check(record.fileName == "F.PMM" && record.folderPath.empty());
    if (ok) {
        Check(record.size == input.size());
        Check(record.folderName == Field(input, 0, 63));
        Check(record.folderId == Field(input, 86, 41));
    } else {
        Check(record.size == 0 && record.folderId.empty() && record.folderName[0] == '<');
    }
}

void CheckMbx(const std::string& dir, const std::string& input) {
    fuzzfiles::Write(dir + "F.MBX", input);
    const bool hasCompanion = !input.empty();
    const std::string companion = hasCompanion ? input.substr(1) : std::string();
    if (hasCompanion) {
        fuzzfiles::Write(dir + "F.PMG", companion);
    } else {
        std::remove((dir + "F.PMG").c_str());
    }
    mbx record;
    record.SetPath(dir + "F.MBX");
    const bool ok = record.Analyze();
    Check(record.size == input.size());
    Check(ok == (hasCompanion && companion.size() >= 90));
    if (ok) {
        Check(record.folderName == Field(companion, 0, 57));
        Check(record.folderId == Field(companion, 58, 31));
    } else {
        Check(record.folderId.empty() && record.folderName[0] == '<');
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string& dir = fuzzfiles::ScratchDir();
    CheckPmm(dir, input);
    CheckMbx(dir, input);
    return 0;
}
