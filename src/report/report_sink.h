// Where a report's text goes while it is made. A report of a large mailbox is larger
// than the rows it comes from, so it leaves in pieces as it grows, and its memory stays
// the size of one piece, whatever the size of the output.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace report {

class ReportSink {
public:
    virtual ~ReportSink() = default;
    // Takes the next piece of the text, UTF-8.
    virtual void Write(std::string_view text) = 0;
};

// Keeps everything: for tests and for the forms returned whole.
class StringSink : public ReportSink {
public:
    void Write(std::string_view text) override { m_text.append(text); }
    std::string& Text() { return m_text; }

private:
    std::string m_text;
};

// A piece is handed on once it holds this many bytes: large enough that writing costs
// nothing next to formatting, small enough that memory does not notice it.
constexpr size_t kReportPieceBytes = 64 * 1024;

// Hands `text` to `sink` and empties it once it holds a piece's worth; called after each
// line, so a piece is never much larger than kReportPieceBytes plus one line.
inline void SpillIfFull(std::string& text, ReportSink& sink) {
    if (text.size() >= kReportPieceBytes) {
        sink.Write(text);
        text.clear();
    }
}

// Hands on whatever `text` still holds.
inline void SpillAll(std::string& text, ReportSink& sink) {
    if (!text.empty()) {
        sink.Write(text);
        text.clear();
    }
}

} // namespace report
