// Fuzzes the readers of earlier reports, of one mailbox and of all users: any bytes give
// a report or an error, never a crash; handed over in pieces of any size they give the
// same outcome as at once; a report that was read compares with a catalogue, and the
// change of every row adds up to the change of the total.
#include "report/earlier_installation.h"
#include "report/earlier_report.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool SameRows(const report::EarlierReport& a, const report::EarlierReport& b) {
    if (a.RowCount() != b.RowCount() || a.TotalSize() != b.TotalSize()) {
        return false;
    }
    for (size_t i = 0; i < a.RowCount(); ++i) {
        if (a.FileName(i) != b.FileName(i) || a.FolderPath(i) != b.FolderPath(i) ||
            a.FolderName(i) != b.FolderName(i) || a.Size(i) != b.Size(i)) {
            return false;
        }
    }
    return true;
}

bool SameUsers(const report::EarlierInstallation& a, const report::EarlierInstallation& b) {
    if (a.UserCount() != b.UserCount() || a.TotalSize() != b.TotalSize()) {
        return false;
    }
    for (size_t i = 0; i < a.UserCount(); ++i) {
        if (a.UserName(i) != b.UserName(i) || a.Size(i) != b.Size(i) ||
            !SameRows(a.Files(i), b.Files(i))) {
            return false;
        }
    }
    return true;
}

// The overview's reader: the same outcome at once and in pieces of `piece` bytes.
void CheckInstallation(std::string_view text, size_t piece) {
    report::EarlierInstallation whole;
    std::string error;
    const bool ok = report::ParseEarlierInstallation(text, whole, error);
    if (ok != error.empty() || (!ok && whole.UserCount() != 0)) {
        std::abort();
    }
    report::EarlierInstallation pieces;
    std::string piecesError;
    const bool piecesOk = report::ParseEarlierInstallation(
        [&text, piece](char* buffer, size_t capacity) {
            const size_t n = text.copy(buffer, capacity < piece ? capacity : piece);
            text.remove_prefix(n);
            return n;
        },
        pieces, piecesError);
    if (piecesOk != ok || piecesError != error || !SameUsers(whole, pieces)) {
        std::abort();
    }
}

// The change as a number modulo 2^64.
uint64_t Wrapped(const ByteChange& change) {
    return change.negative ? 0 - change.magnitude : change.magnitude;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the size of the pieces the rest arrives in.
    const size_t piece = 1 + data[0] % 17;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckInstallation(text, piece);
    report::EarlierReport earlier;
    std::string error;
    const bool ok = report::ParseEarlierReport(text, earlier, error);
    if (ok != error.empty() || (!ok && earlier.RowCount() != 0)) {
        std::abort();
    }
    std::string_view rest = text;
    report::EarlierReport pieces;
    std::string piecesError;
    const bool piecesOk = report::ParseEarlierReport(
        [&rest, piece](char* buffer, size_t capacity) {
            const size_t n = rest.copy(buffer, capacity < piece ? capacity : piece);
            rest.remove_prefix(n);
            return n;
        },
        pieces, piecesError);
    if (piecesOk != ok || piecesError != error || !SameRows(earlier, pieces)) {
        std::abort();
    }
    if (!ok) {
        return 0;
    }
    std::vector<FolderRecord> current(2);
    current[0].fileName = "FOL00001.PMM";
    current[0].size = 100;
    current[1].fileName = "*.CNM";
    current[1].size = 7;
    report::ComparedRows compared;
    report::CompareRows(current, 107, earlier, compared);
    uint64_t sum = 0;
    for (const RowChange& change : compared.changes) {
        sum += Wrapped(change.bytes);
        if (change.bytes.negative && change.bytes.magnitude == 0) {
            std::abort();
        }
    }
    // The earlier total stops at 2^64 - 1 instead of wrapping; below that the rows'
    // changes add up to the total's change.
    unsigned __int128 earlierSum = 0;
    for (size_t row = 0; row < earlier.RowCount(); ++row) {
        earlierSum += earlier.Size(row);
    }
    const bool saturated = earlierSum > UINT64_MAX;
    if (earlier.TotalSize() != (saturated ? UINT64_MAX : static_cast<uint64_t>(earlierSum)) ||
        Wrapped(compared.totalChange) != 107 - earlier.TotalSize() ||
        compared.totalChange.negative != (earlier.TotalSize() > 107) ||
        compared.RowCount() != compared.changes.size() ||
        (!saturated && sum != Wrapped(compared.totalChange))) {
        std::abort();
    }
    return 0;
}
