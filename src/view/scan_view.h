// What the windows take from the settings to scan, and the status line under a scan's
// rows: written once for the main list, the tree window and the report.
#pragma once

#include "mailbox/scan_request.h"
#include "settings/program_settings.h"

#include <cstdint>
#include <string>

namespace view {

// The status line's form, as the string table and the report have it.
constexpr char kStatusFormat[] = "%d Dateien, %s (%s Bytes)";

// The scan the settings ask for: the typed directories when they are chosen, else the
// mail client's; folder paths and new mail as switched; `newMailLabel` names the row.
ScanRequest MakeScanRequest(const ProgramSettings& settings, const std::string& clientMailbox,
                            const std::string& clientNewmail, const std::string& newMailLabel);

// "5 Dateien, 2,5 kB (2.512 Bytes)": `format` (kStatusFormat or the string table's) with
// the count, the compact and the exact total.
std::string StatusLine(const std::string& format, int32_t fileCount, uint64_t totalSize);

constexpr char kFilteredStatusFormat[] = "%s von %s Dateien, %s von %s (%s von %s Bytes)";
// "12 von 10.000 Dateien, 1,2 MB von 75,0 GB (...)": the rows a filter shows of all,
// from `format` (kFilteredStatusFormat or the string table's).
std::string FilteredStatusLine(const std::string& format, int32_t shownFiles, uint64_t shownSize,
                               int32_t fileCount, uint64_t totalSize);

// "Lese Ordnerdateien: 4.512 von 10.000" from `format` (the string table's, two "%s")
// while a scan runs: the folder files read and found, with the thousands separators
// the byte counts have.
std::string ProgressLine(const std::string& format, uint32_t filesRead, uint32_t filesTotal);

// A scan shorter than this never shows a progress bar, which would only flash.
constexpr uint64_t kProgressBarDelayMs = 500;

// "Stand: 09:05:07" from `format` (the string table's) and a time of day.
std::string ScanTimeText(const std::string& format, int hour, int minute, int second);

} // namespace view
