// The earlier report for --compare, read as a stream of nlohmann-json's events: only
// the rows are kept, compactly, and the first row that is not one ends the reading, so
// a hostile file of 64 MiB costs no more than the rows it holds. Whatever the file
// holds, the outcome is a report or an error text, never an exception and never half a
// result.
#include "report/earlier_report.h"

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
constexpr int kMaxDepth = 16;

const char kNotAnObject[] = "ist kein Bericht von foldtally-report (kein JSON-Objekt)";
const char kNoRows[] =
    "ist kein Bericht von foldtally-report (\"rows\" fehlt oder ist keine Liste)";
const char kTooDeep[] = "ist kein Bericht von foldtally-report (zu tief verschachtelt)";

std::string BadRowText(uint64_t row) {
    return "hat in Zeile " + std::to_string(row) +
           " von \"rows\" keinen g\xFCltigen Eintrag (\"fileName\" als Text, \"size\" als Zahl "
           "ab 0)";
}

// What one member of a row held last: a later twin of a key replaces an earlier one, as
// the library's own document does.
enum class Held : uint8_t { kNothing, kText, kNumber, kFlag, kOther };

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

// The events of the document, depth by depth: 1 the report object, 2 the list "rows"
// (when the report's last member of that name is a list), 3 a row and its members;
// deeper values are passed over.
class RowReader : public nlohmann::json_sax<json> {
public:
    explicit RowReader(EarlierReport& earlier) : m_earlier(earlier) {}

    bool null() override { return Scalar(Held::kOther); }
    bool boolean(bool value) override {
        if (AtMember(Member::kRemoved)) {
            m_fields.removedValue = value;
        }
        return Scalar(Held::kFlag);
    }
    bool number_integer(number_integer_t) override { return Scalar(Held::kOther); }
    bool number_unsigned(number_unsigned_t value) override {
        if (AtMember(Member::kSize)) {
            m_fields.sizeValue = value;
        } else if (AtTop(Top::kHistoryFormat)) {
            m_nHistoryFormat = value;
        }
        return Scalar(Held::kNumber);
    }
    bool number_float(number_float_t, const string_t&) override { return Scalar(Held::kOther); }
    bool string(string_t& value) override {
        if (std::string* text = TextMember()) {
            text->swap(value);
        } else if (AtTop(Top::kMailbox)) {
            m_strMailbox.swap(value);
        }
        return Scalar(Held::kText);
    }
    bool binary(binary_t&) override { return Scalar(Held::kOther); }

    bool start_object(std::size_t) override { return Open(true); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& name) override {
        if (m_nDepth == 1 && m_bObject) {
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
        } else if (m_nDepth == 3 && m_bInRows) {
            m_member = MemberOf(name);
        }
        return true;
    }

    // The library's text is English; where it stopped is said in our words.
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        m_strError = "ist kein JSON (Fehler bei Byte " + std::to_string(position) + ")";
        return false;
    }

    // After a whole document: the error of its shape, or none.
    const char* ShapeError() const {
        if (!m_bObject) {
            return kNotAnObject;
        }
        return m_bRowsList ? nullptr : kNoRows;
    }
    const std::string& Error() const { return m_strError; }
    // The report's own members "mailbox" (UTF-8) and "historyFormat", as last given.
    const std::string& Mailbox() const { return m_strMailbox; }
    uint64_t HistoryFormat() const { return m_nHistoryFormat; }

private:
    enum class Top : uint8_t { kOther, kMailbox, kHistoryFormat };
    bool AtTop(Top member) const { return m_nDepth == 1 && m_bObject && m_top == member; }

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

    // True while the value of a row's member `member` arrives.
    bool AtMember(Member member) const { return m_nDepth == 3 && m_bInRows && m_member == member; }

    std::string* TextMember() {
        if (m_nDepth != 3 || !m_bInRows) {
            return nullptr;
        }
        switch (m_member) {
        case Member::kFileName:
            return &m_fields.fileNameText;
        case Member::kFolderPath:
            return &m_fields.folderPathText;
        case Member::kFolderName:
            return &m_fields.folderNameText;
        default:
            return nullptr;
        }
    }

    // A value at the current depth; an object or a list counts as kOther where a member
    // of a row is wanted.
    bool Scalar(Held held) {
        if (m_nDepth == 0) {
            m_bObject = false; // a document that is a single value
        } else if (m_nDepth == 1 && m_bObject && m_bRowsKey) {
            m_bRowsList = false;
        } else if (m_nDepth == 2 && m_bInRows) {
            ++m_nRow;
            return BadRow(); // a row that is not an object
        } else if (m_nDepth == 3 && m_bInRows) {
            Hold(held);
        }
        return true;
    }

    void Hold(Held held) {
        switch (m_member) {
        case Member::kFileName:
            m_fields.fileName = held;
            break;
        case Member::kFolderPath:
            m_fields.folderPath = held;
            break;
        case Member::kFolderName:
            m_fields.folderName = held;
            break;
        case Member::kSize:
            m_fields.size = held;
            break;
        case Member::kRemoved:
            m_fields.removed = held;
            break;
        case Member::kOther:
            break;
        }
    }

    bool Open(bool object) {
        if (m_nDepth == 0) {
            m_bObject = object;
        } else if (m_nDepth == 1 && m_bObject && m_bRowsKey) {
            m_bRowsList = !object;
            m_bInRows = !object;
            m_nRow = 0;
            m_earlier.Clear(); // a later "rows" replaces an earlier one
        } else if (m_nDepth == 2 && m_bInRows) {
            ++m_nRow;
            if (!object) {
                return BadRow();
            }
            m_fields.Reset();
            m_member = Member::kOther;
        } else if (m_nDepth == 3 && m_bInRows) {
            Hold(Held::kOther);
        }
        if (++m_nDepth > kMaxDepth) {
            m_strError = kTooDeep;
            return false;
        }
        return true;
    }

    bool Close() {
        --m_nDepth;
        if (m_nDepth == 1 && m_bInRows) {
            m_bInRows = false;
        } else if (m_nDepth == 2 && m_bInRows) {
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
    std::string m_strError;
    std::string m_strMailbox;
    uint64_t m_nHistoryFormat = 0;
    Top m_top = Top::kOther;
    uint64_t m_nRow = 0; // 1 for the first row of "rows"
    int m_nDepth = 0;
    bool m_bObject = false;
    bool m_bRowsKey = false;
    bool m_bRowsList = false;
    bool m_bInRows = false;
};

} // namespace

bool ParseEarlierReport(const ReportBytes& read, EarlierReport& earlier, std::string& error,
                        uint64_t maxBytes) {
    earlier.Clear();
    error.clear();
    bool ok = false;
    try {
        RowReader reader(earlier);
        bool tooLarge = false;
        if (ParseJsonEvents(read, maxBytes, reader, tooLarge)) {
            const char* shape = reader.ShapeError();
            ok = !shape;
            error = shape ? shape : "";
            earlier.SetOrigin(Cp1252FromUtf8(reader.Mailbox()), reader.HistoryFormat());
        } else {
            error = reader.Error();
        }
        if (tooLarge) {
            ok = false;
            error = kReportTooLarge;
        }
    } catch (const std::exception&) {
        // Only keeping rows can throw (std::bad_alloc, std::length_error): the library
        // hands bad text to parse_error instead of throwing.
        error = kReportNoMemory;
    }
    if (!ok) {
        earlier.Clear();
    }
    return ok;
}

bool ParseEarlierReport(std::string_view text, EarlierReport& earlier, std::string& error) {
    return ParseEarlierReport(
        [&text](char* buffer, size_t capacity) {
            const size_t n = text.copy(buffer, capacity);
            text.remove_prefix(n);
            return n;
        },
        earlier, error);
}

bool ReadEarlierReport(const std::string& path, EarlierReport& earlier, std::string& error) {
    earlier.Clear();
    const bool ok = ParseReportFile(
        path, [&](const ReportBytes& read) { return ParseEarlierReport(read, earlier, error); },
        error);
    if (!ok) {
        earlier.Clear();
    }
    return ok;
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
