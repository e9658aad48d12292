// The earlier reports' common ground, inside the report library only: a JSON document
// read as a stream of nlohmann-json's events (SAX), never built as a whole, and a file
// handed to such a reader under the bound of kMaxEarlierReportBytes. A reader keeps what
// it needs as the events pass, so its memory follows what it keeps, not the document;
// each reader is only its document's shape (ShapeReader).
#pragma once

#include "report/earlier_report.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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

// What a member held last: a later twin of a key replaces an earlier one, as the
// library's own document does.
enum class Held : uint8_t { kNothing, kText, kNumber, kNull, kFlag, kList, kOther };

// The events of a document as a reader of its shape takes them, depth by depth: each
// value as what it holds (its text, number or flag until the next value), each object
// or list as it opens and closes. A document nested deeper than `maxDepth` ends the
// reading with `tooDeep`.
class ShapeReader : public nlohmann::json_sax<nlohmann::json> {
public:
    bool null() override { return Scalar(Held::kNull); }
    bool boolean(bool value) override {
        m_bFlag = value;
        return Scalar(Held::kFlag);
    }
    bool number_integer(number_integer_t) override { return Scalar(Held::kOther); }
    bool number_unsigned(number_unsigned_t value) override {
        m_nNumber = value;
        return Scalar(Held::kNumber);
    }
    bool number_float(number_float_t, const string_t&) override { return Scalar(Held::kOther); }
    bool string(string_t& value) override {
        m_strText.swap(value);
        return Scalar(Held::kText);
    }
    bool binary(binary_t&) override { return Scalar(Held::kOther); }
    bool start_object(std::size_t) override { return Enter(true); }
    bool start_array(std::size_t) override { return Enter(false); }
    bool end_object() override { return Leave(); }
    bool end_array() override { return Leave(); }

    // After a whole document: the error of its shape, or null.
    virtual const char* ShapeError() const = 0;
    // After a whole document of its shape: what is kept of the document's own members.
    virtual void Finish() {}
    // Drops what was kept: before a reading and after a failed one.
    virtual void Discard() = 0;
    const std::string& Error() const { return m_strError; }

protected:
    ShapeReader(int maxDepth, const char* tooDeep) : m_nMaxDepth(maxDepth), m_pTooDeep(tooDeep) {}

    // A value at Depth(), an object or list opening at Depth(), one closing back to it.
    virtual bool Scalar(Held held) = 0;
    virtual bool Open(bool object) = 0;
    virtual bool Close() = 0;

    int Depth() const { return m_nDepth; }
    bool Flag() const { return m_bFlag; }
    uint64_t Number() const { return m_nNumber; }
    // The last text, to be taken by swapping.
    std::string& Text() { return m_strText; }

    std::string m_strError;

private:
    bool Enter(bool object) {
        if (!Open(object)) {
            return false;
        }
        if (++m_nDepth > m_nMaxDepth) {
            m_strError = m_pTooDeep;
            return false;
        }
        return true;
    }
    bool Leave() {
        --m_nDepth;
        return Close();
    }

    const int m_nMaxDepth;
    const char* const m_pTooDeep;
    int m_nDepth = 0;
    bool m_bFlag = false;
    uint64_t m_nNumber = 0;
    std::string m_strText;
};

// Runs `reader` over the bytes `read` hands over, at most `maxBytes` of them: true when
// they are a whole document of the reader's shape; else false with `error` (the reader's
// own, kReportTooLarge or kReportNoMemory) and the reader discarded. Only keeping what
// is read can throw: the library hands bad text to parse_error instead.
bool ReadShape(const ReportBytes& read, uint64_t maxBytes, ShapeReader& reader, std::string& error);

// The bytes of `text`, for a document held in memory.
ReportBytes BytesOf(std::string_view text);

// Opens `path` and reads it with `reader` as ParseReportFile does; the reader is
// discarded when the file cannot be read.
bool ReadShapeFile(const std::string& path, ShapeReader& reader, std::string& error);

} // namespace report
