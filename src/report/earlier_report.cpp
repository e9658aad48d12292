// The earlier report for --compare, read as a stream of nlohmann-json's events: only
// the rows are kept, compactly, and the first row that is not one ends the reading, so
// a hostile file of 64 MiB costs no more than the rows it holds. Whatever the file
// holds, the outcome is a report or an error text, never an exception and never half a
// result.
#include "report/earlier_report.h"

#include "diag/trace.h"
#include "report/json_stream.h"
#include "report/report_text.h"

#include <nlohmann/json.hpp>

#include <exception>
#include <limits>
#include <stdexcept>

namespace report {

std::string_view EarlierReport::FileName(size_t row) const {
    const Row& r = m_rows[row];
    return std::string_view(m_strTexts).substr(r.start, r.fileNameLength);
}

std::string_view EarlierReport::FolderPath(size_t row) const {
    const Row& r = m_rows[row];
    return std::string_view(m_strTexts).substr(r.start + r.fileNameLength, r.folderPathLength);
}

std::string_view EarlierReport::FolderName(size_t row) const {
    const Row& r = m_rows[row];
    return std::string_view(m_strTexts)
        .substr(r.start + r.fileNameLength + r.folderPathLength, r.folderNameLength);
}

void EarlierReport::Clear() {
    // Swapped out, not cleared: a failed reading gives its memory back.
    std::string().swap(m_strTexts);
    std::vector<Row>().swap(m_rows);
    m_nTotalSize = 0;
    m_strMailboxDir.clear();
    m_nHistoryFormat = 0;
}

void EarlierReport::Add(std::string_view fileName, std::string_view folderPath,
                        std::string_view folderName, uint64_t size) {
    // The reader takes at most kMaxEarlierReportBytes, and a text never grows from UTF-8
    // to Windows-1252, so the offsets fit; past them a row could not be found again.
    const size_t length = fileName.size() + folderPath.size() + folderName.size();
    if (length > std::numeric_limits<uint32_t>::max() - m_strTexts.size()) {
        throw std::length_error("earlier report texts");
    }
    m_rows.push_back(
        {size, static_cast<uint32_t>(m_strTexts.size()), static_cast<uint32_t>(fileName.size()),
         static_cast<uint32_t>(folderPath.size()), static_cast<uint32_t>(folderName.size())});
    m_strTexts.append(fileName).append(folderPath).append(folderName);
    m_nTotalSize = AddSizes(m_nTotalSize, size);
}

namespace {

using nlohmann::json;

// Our reports nest three deep (object, rows, row). Deeper text is refused: the event
// reader has no stack to overflow, but the rule is older than it.
constexpr int kMaxReportDepth = 16;

std::string BadRowText(uint64_t row) {
    return FormatText(Say(Phrase::kEarlierBadRow), std::to_string(row).c_str());
}

struct RowFields {
    Held fileName = Held::kNothing, folderPath = Held::kNothing, folderName = Held::kNothing;
    Held size = Held::kNothing, removed = Held::kNothing;
    std::string fileNameText, folderPathText, folderNameText;
    uint64_t sizeValue = 0;
    bool removedValue = false;

    void Reset() {
        fileName = folderPath = folderName = size = removed = Held::kNothing;
        removedValue = false;
    }
    bool Valid() const {
        const auto optionalText = [](Held h) { return h == Held::kNothing || h == Held::kText; };
        return fileName == Held::kText && size == Held::kNumber &&
               (removed == Held::kNothing || removed == Held::kFlag) && optionalText(folderPath) &&
               optionalText(folderName);
    }
};

// The document depth by depth: 1 the report object, 2 the list "rows" (when the
// report's last member of that name is a list), 3 a row and its members; deeper values
// are passed over.
class RowReader : public ShapeReader {
public:
    explicit RowReader(EarlierReport& earlier)
        : ShapeReader(kMaxReportDepth, Say(Phrase::kEarlierTooDeep)), m_earlier(earlier) {}

    bool key(string_t& name) override {
        if (Depth() == 1 && m_bObject) {
            m_bRowsKey = name == "rows";
            m_top = name == "mailbox"         ? Top::kMailbox
                    : name == "historyFormat" ? Top::kHistoryFormat
                                              : Top::kOther;
            // A later twin replaces an earlier one, even with a value of another type.
            if (m_top == Top::kMailbox) {
                m_strMailbox.clear();
            } else if (m_top == Top::kHistoryFormat) {
                m_nHistoryFormat = 0;
            }
        } else if (Depth() == 3 && m_bInRows) {
            m_member = MemberOf(name);
        }
        return true;
    }

    // The library's text is English; where it stopped is said in our words.
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        m_strError = FormatText(Say(Phrase::kEarlierNotJson), std::to_string(position).c_str());
        return false;
    }

    const char* ShapeError() const override {
        if (!m_bObject) {
            return Say(Phrase::kEarlierNotAnObject);
        }
        return m_bRowsList ? nullptr : Say(Phrase::kEarlierNoRows);
    }
    void Finish() override { m_earlier.SetOrigin(Cp1252FromUtf8(m_strMailbox), m_nHistoryFormat); }
    void Discard() override { m_earlier.Clear(); }

private:
    enum class Top : uint8_t { kOther, kMailbox, kHistoryFormat };
    enum class Member : uint8_t { kOther, kFileName, kFolderPath, kFolderName, kSize, kRemoved };

    static Member MemberOf(const std::string& name) {
        if (name == "fileName") {
            return Member::kFileName;
        }
        if (name == "folderPath") {
            return Member::kFolderPath;
        }
        if (name == "folderName") {
            return Member::kFolderName;
        }
        if (name == "size") {
            return Member::kSize;
        }
        return name == "removed" ? Member::kRemoved : Member::kOther;
    }

    // A value at the current depth; an object or a list counts as kOther where a member
    // of a row is wanted.
    bool Scalar(Held held) override {
        if (Depth() == 0) {
            m_bObject = false; // a document that is a single value
        } else if (Depth() == 1 && m_bObject) {
            m_bRowsList = m_bRowsList && !m_bRowsKey;
            if (m_top == Top::kMailbox && held == Held::kText) {
                m_strMailbox.swap(Text());
            } else if (m_top == Top::kHistoryFormat && held == Held::kNumber) {
                m_nHistoryFormat = Number();
            }
        } else if (Depth() == 2 && m_bInRows) {
            ++m_nRow;
            return BadRow(); // a row that is not an object
        } else if (Depth() == 3 && m_bInRows) {
            Hold(held);
        }
        return true;
    }

    void Hold(Held held) {
        switch (m_member) {
        case Member::kFileName:
            m_fields.fileName = held;
            Take(held, m_fields.fileNameText);
            break;
        case Member::kFolderPath:
            m_fields.folderPath = held;
            Take(held, m_fields.folderPathText);
            break;
        case Member::kFolderName:
            m_fields.folderName = held;
            Take(held, m_fields.folderNameText);
            break;
        case Member::kSize:
            m_fields.size = held;
            m_fields.sizeValue = held == Held::kNumber ? Number() : m_fields.sizeValue;
            break;
        case Member::kRemoved:
            m_fields.removed = held;
            m_fields.removedValue = held == Held::kFlag && Flag();
            break;
        case Member::kOther:
            break;
        }
    }
    void Take(Held held, std::string& text) {
        if (held == Held::kText) {
            text.swap(Text());
        }
    }

    bool Open(bool object) override {
        if (Depth() == 0) {
            m_bObject = object;
        } else if (Depth() == 1 && m_bObject && m_bRowsKey) {
            m_bRowsList = !object;
            m_bInRows = !object;
            m_nRow = 0;
            m_earlier.Clear(); // a later "rows" replaces an earlier one
        } else if (Depth() == 2 && m_bInRows) {
            ++m_nRow;
            if (!object) {
                return BadRow();
            }
            m_fields.Reset();
            m_member = Member::kOther;
        } else if (Depth() == 3 && m_bInRows) {
            Hold(Held::kOther);
        }
        return true;
    }

    bool Close() override {
        if (Depth() == 1 && m_bInRows) {
            m_bInRows = false;
        } else if (Depth() == 2 && m_bInRows) {
            return EndRow();
        }
        return true;
    }

    bool EndRow() {
        if (!m_fields.Valid()) {
            return BadRow();
        }
        if (!m_fields.removedValue) {
            m_earlier.Add(
                Cp1252FromUtf8(m_fields.fileNameText),
                m_fields.folderPath == Held::kText ? Cp1252FromUtf8(m_fields.folderPathText)
                                                   : std::string(),
                m_fields.folderName == Held::kText ? Cp1252FromUtf8(m_fields.folderNameText)
                                                   : std::string(),
                m_fields.sizeValue);
        }
        return true;
    }

    bool BadRow() {
        m_strError = BadRowText(m_nRow);
        return false;
    }

    EarlierReport& m_earlier;
    RowFields m_fields;
    Member m_member = Member::kOther;
    std::string m_strMailbox;
    uint64_t m_nHistoryFormat = 0;
    Top m_top = Top::kOther;
    uint64_t m_nRow = 0; // 1 for the first row of "rows"
    bool m_bObject = false;
    bool m_bRowsKey = false;
    bool m_bRowsList = false;
    bool m_bInRows = false;
};

} // namespace

bool ParseEarlierReport(const ReportBytes& read, EarlierReport& earlier, std::string& error,
                        uint64_t maxBytes) {
    RowReader reader(earlier);
    return ReadShape(read, maxBytes, reader, error);
}

bool ParseEarlierReport(std::string_view text, EarlierReport& earlier, std::string& error) {
    return ParseEarlierReport(BytesOf(text), earlier, error);
}

bool ReadEarlierReport(const std::string& path, EarlierReport& earlier, std::string& error) {
    RowReader reader(earlier);
    return ReadShapeFile(path, reader, error);
}

bool ReadEarlierReport(platform::ReadOnlyFile& file, EarlierReport& earlier, std::string& error,
                       const std::atomic<bool>* cancel, uint64_t* bytesRead) {
    earlier.Clear();
    const bool ok = ParseReportFile(
        file, [&](const ReportBytes& read) { return ParseEarlierReport(read, earlier, error); },
        error, cancel, bytesRead);
    if (!ok) {
        earlier.Clear();
    }
    return ok;
}

} // namespace report
