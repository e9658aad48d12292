// Fuzzes the reader of earlier reports: any bytes give a report or an error, never a
// crash; a report that was read compares with a catalogue, and the change of every
// row adds up to the change of the total.
#include "report/earlier_report.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    report::EarlierReport earlier;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!report::ParseEarlierReport(text, earlier, error)) {
        if (error.empty() || !earlier.rows.empty()) {
            std::abort();
        }
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
    for (const report::RowChange& change : compared.changes) {
        sum += static_cast<uint64_t>(change.bytes);
    }
    if (compared.rows.size() != compared.changes.size() ||
        sum != static_cast<uint64_t>(compared.totalChange)) {
        std::abort();
    }
    return 0;
}
