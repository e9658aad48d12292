// Reading a JSON document as a stream: nlohmann-json's event parser takes an input
// iterator, so the bytes come from a buffer of 64 KiB refilled from the source, and
// the reading of a file is bounded as every reader of a file another program wrote.
#include "report/json_stream.h"

#include "platform/files.h"
#include "report/report_texts.h"

#include <exception>
#include <iterator>

namespace report {

namespace {

// The report's bytes one at a time, as nlohmann-json's input adapter takes them: an input
// iterator over a buffer that is refilled from the source. Past `maxBytes` the input
// ends, and `TooLarge` says so.
class ByteSource {
public:
    ByteSource(const ReportBytes& read, uint64_t maxBytes) : m_read(read), m_nMaxBytes(maxBytes) {
        Fill();
    }

    bool AtEnd() const { return m_nPos == m_nEnd; }
    char Current() const { return m_buffer[m_nPos]; }
    void Advance() {
        if (++m_nPos == m_nEnd) {
            Fill();
        }
    }
    bool TooLarge() const { return m_bTooLarge; }

private:
    void Fill() {
        m_nPos = 0;
        m_nEnd = 0;
        if (m_nTotal > m_nMaxBytes) {
            return;
        }
        const size_t n = m_read(m_buffer, sizeof m_buffer);
        m_nEnd = n < sizeof m_buffer ? n : sizeof m_buffer;
        m_nTotal += m_nEnd;
        if (m_nTotal > m_nMaxBytes) {
            m_bTooLarge = true;
            m_nEnd = 0;
        }
    }

    const ReportBytes& m_read;
    const uint64_t m_nMaxBytes;
    char m_buffer[64 * 1024];
    size_t m_nPos = 0;
    size_t m_nEnd = 0;
    uint64_t m_nTotal = 0;
    bool m_bTooLarge = false;
};

class ByteIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    ByteIterator() = default;
    explicit ByteIterator(ByteSource* source) : m_source(source) {}

    char operator*() const { return m_source->Current(); }
    ByteIterator& operator++() {
        m_source->Advance();
        return *this;
    }
    bool operator==(const ByteIterator& other) const { return AtEnd() == other.AtEnd(); }
    bool operator!=(const ByteIterator& other) const { return !(*this == other); }

private:
    bool AtEnd() const { return !m_source || m_source->AtEnd(); }

    ByteSource* m_source = nullptr;
};

} // namespace

bool ParseJsonEvents(const ReportBytes& read, uint64_t maxBytes,
                     nlohmann::json_sax<nlohmann::json>& events, bool& tooLarge) {
    ByteSource source(read, maxBytes);
    const bool ok = nlohmann::json::sax_parse(ByteIterator(&source), ByteIterator(), &events);
    tooLarge = source.TooLarge();
    return ok;
}

bool ParseReportFile(const std::string& path,
                     const std::function<bool(const ReportBytes& read)>& parse,
                     std::string& error) {
    platform::ReadOnlyFile file;
    if (!file.Open(path)) {
        error = Say(Phrase::kEarlierUnreadable);
        return false;
    }
    return ParseReportFile(file, parse, error);
}

bool ParseReportFile(platform::ReadOnlyFile& file,
                     const std::function<bool(const ReportBytes& read)>& parse, std::string& error,
                     const std::atomic<bool>* cancel, uint64_t* bytesRead) {
    uint64_t done = 0;
    if (bytesRead) {
        *bytesRead = 0;
    }
    const uint64_t length = file.Length();
    if (length > kMaxEarlierReportBytes) {
        error = Say(Phrase::kEarlierTooLarge);
        return false;
    }
    bool failed = false;
    bool cancelled = false;
    const bool ok = parse([&](char* buffer, size_t capacity) -> size_t {
        cancelled = cancelled || (cancel && cancel->load(std::memory_order_relaxed));
        const uint64_t left = cancelled ? 0 : length - done;
        const size_t n =
            file.ReadAt(done, buffer, left < capacity ? static_cast<size_t>(left) : capacity);
        failed = failed || (n == 0 && left > 0);
        done += n;
        return n;
    });
    if (bytesRead) {
        *bytesRead = done;
    }
    if (failed || cancelled) {
        error = cancelled ? "" : Say(Phrase::kEarlierUnreadable);
        return false;
    }
    return ok;
}

bool ReadShape(const ReportBytes& read, uint64_t maxBytes, ShapeReader& reader,
               std::string& error) {
    reader.Discard();
    error.clear();
    bool ok = false;
    try {
        bool tooLarge = false;
        if (ParseJsonEvents(read, maxBytes, reader, tooLarge)) {
            const char* shape = reader.ShapeError();
            error = shape ? shape : "";
            if (!shape) {
                reader.Finish();
                ok = true;
            }
        } else {
            error = reader.Error();
        }
        if (tooLarge) {
            ok = false;
            error = Say(Phrase::kEarlierTooLarge);
        }
    } catch (const std::exception&) {
        error = Say(Phrase::kEarlierNoMemory);
    }
    if (!ok) {
        reader.Discard();
    }
    return ok;
}

ReportBytes BytesOf(std::string_view text) {
    return [text](char* buffer, size_t capacity) mutable {
        const size_t n = text.copy(buffer, capacity);
        text.remove_prefix(n);
        return n;
    };
}

bool ReadShapeFile(const std::string& path, ShapeReader& reader, std::string& error) {
    const bool ok = ParseReportFile(
        path,
        [&](const ReportBytes& read) {
            return ReadShape(read, kMaxEarlierReportBytes, reader, error);
        },
        error);
    if (!ok) {
        reader.Discard();
    }
    return ok;
}

} // namespace report
