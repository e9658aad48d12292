// The earlier reports' common ground, inside the report library only: a JSON document
// read as a stream of nlohmann-json's events (SAX), never built as a whole, and a file
// handed to such a reader under the bound of kMaxEarlierReportBytes. A reader keeps what
// it needs as the events pass, so its memory follows what it keeps, not the document.
#pragma once

#include "report/earlier_report.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace report {

// The error texts the readers share (Windows-1252, without the file name).
extern const char kReportTooLarge[];
extern const char kReportUnreadable[];
extern const char kReportNoMemory[]; // keeping what was read threw std::bad_alloc

// Runs `events` over the bytes `read` hands over, at most `maxBytes` of them: the result
// of nlohmann-json's sax_parse, and in `tooLarge` whether the input was cut at the bound.
// The library reports bad text to the events' parse_error, never by an exception.
bool ParseJsonEvents(const ReportBytes& read, uint64_t maxBytes,
                     nlohmann::json_sax<nlohmann::json>& events, bool& tooLarge);

// Opens `path` and hands its bytes to `parse`: false with kReportUnreadable or
// kReportTooLarge in `error` when the file cannot be opened or read whole or is larger
// than kMaxEarlierReportBytes, else what `parse` returns (with its error).
bool ParseReportFile(const std::string& path,
                     const std::function<bool(const ReportBytes& read)>& parse, std::string& error);

// As above, from the open `file`, read from its start. `cancel`, when given, is looked at
// between pieces and stops the reading (false, `error` empty) once it is set;
// `bytesRead`, when given, receives how many bytes were read, whatever the outcome.
bool ParseReportFile(platform::ReadOnlyFile& file,
                     const std::function<bool(const ReportBytes& read)>& parse, std::string& error,
                     const std::atomic<bool>* cancel = nullptr, uint64_t* bytesRead = nullptr);

} // namespace report
