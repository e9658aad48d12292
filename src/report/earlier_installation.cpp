// The earlier all-users report, read as a stream of nlohmann-json's events: each user is
// checked when its object ends and kept compactly, and the first user that is not one
// ends the reading. Built as a document, 600 KB of empty rows took seconds (the
// library's callback parser looks at the parent list again at every row's end) and
// 63 MiB of numbers 1.4 GiB; as a stream, the first empty row ends it.
#include "report/earlier_installation.h"

#include "report/json_stream.h"
#include "report/report_text.h"
#include "sizes/byte_change.h"

#include <nlohmann/json.hpp>

#include <exception>
#include <limits>
#include <stdexcept>

namespace report {

std::string_view EarlierInstallation::UserName(size_t user) const {
    const User& u = m_users[user];
    return std::string_view(m_strNames).substr(u.nameStart, u.nameLength);
}

EarlierReport EarlierInstallation::Files(size_t user) const {
    const size_t end = user + 1 < m_users.size() ? m_users[user + 1].firstFile : m_files.RowCount();
    EarlierReport files;
    for (size_t i = m_users[user].firstFile; i < end; ++i) {
        files.Add(m_files.FileName(i), "", "", m_files.Size(i));
    }
    return files;
}

void EarlierInstallation::Clear() {
    // Swapped out, not cleared: a failed reading gives its memory back.
    std::string().swap(m_strNames);
    std::vector<User>().swap(m_users);
    m_files.Clear();
    m_nTotalSize = 0;
}

void EarlierInstallation::Add(std::string_view userName, uint64_t size,
                              const EarlierReport& files) {
    // As for EarlierReport: the reading takes at most kMaxEarlierReportBytes, so the
    // offsets fit.
    if (userName.size() > std::numeric_limits<uint32_t>::max() - m_strNames.size() ||
        m_files.RowCount() > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("earlier installation");
    }
    m_users.push_back({size, static_cast<uint32_t>(m_strNames.size()),
                       static_cast<uint32_t>(userName.size()),
                       static_cast<uint32_t>(m_files.RowCount())});
    m_strNames.append(userName);
    for (size_t i = 0; i < files.RowCount(); ++i) {
        m_files.Add(files.FileName(i), "", "", files.Size(i));
    }
    m_nTotalSize = AddSizes(m_nTotalSize, size);
}

namespace {

using nlohmann::json;

// Our reports nest five deep (report, users, user, files, file); a document that nests
// deeper than eight is none.
constexpr int kMaxOverviewDepth = 8;

struct FileFields {
    Held name = Held::kNothing, size = Held::kNothing, removed = Held::kNothing;
    std::string nameText;
    uint64_t sizeValue = 0;
    bool removedValue = false;
};

struct UserFields {
    Held name = Held::kNothing, size = Held::kNothing, removed = Held::kNothing;
    Held files = Held::kNothing;
    std::string nameText;
    uint64_t sizeValue = 0;
    bool removedValue = false;
    bool badFile = false; // a file of the last "files" is not one
    EarlierReport fileList;
};

// The document depth by depth: 1 the report object, 2 the list "users", 3 a user's
// members, 4 the user's list "files", 5 a file's members; deeper values are passed over.
class UserReader : public ShapeReader {
public:
    explicit UserReader(EarlierInstallation& earlier)
        : ShapeReader(kMaxOverviewDepth, Say(Phrase::kOverviewNotJson)), m_earlier(earlier) {}

    bool key(string_t& name) override {
        if (Depth() == 1 && m_bObject) {
            m_top = name == "users" ? Top::kUsers : name == "allUsers" ? Top::kMarker : Top::kOther;
            if (m_top == Top::kMarker) {
                m_bMarker = false; // until a later value says otherwise
            }
        } else if (Depth() == 3 && m_bInUser) {
            m_userMember = MemberOf(name, "userName");
            if (m_userMember == Member::kFiles) {
                m_user.fileList.Clear();
                m_user.badFile = false;
            }
        } else if (Depth() == 5 && m_bInFile) {
            m_fileMember = MemberOf(name, "fileName");
        }
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        m_strError = Say(Phrase::kOverviewNotJson);
        return false;
    }

    const char* ShapeError() const override {
        return m_bObject && m_bMarker && m_bUsersList ? nullptr : Say(Phrase::kOverviewNotOverview);
    }
    void Discard() override { m_earlier.Clear(); }

private:
    enum class Top : uint8_t { kOther, kUsers, kMarker };
    enum class Member : uint8_t { kOther, kName, kSize, kRemoved, kFiles };

    static Member MemberOf(const std::string& name, const char* nameKey) {
        if (name == nameKey) {
            return Member::kName;
        }
        if (name == "size") {
            return Member::kSize;
        }
        if (name == "removed") {
            return Member::kRemoved;
        }
        return name == "files" ? Member::kFiles : Member::kOther;
    }

    // The value of a user's or a file's member `member`.
    template <class Fields> void Hold(Member member, Held held, Fields& fields) {
        switch (member) {
        case Member::kName:
            fields.name = held;
            if (held == Held::kText) {
                fields.nameText.swap(Text());
            }
            break;
        case Member::kSize:
            fields.size = held;
            fields.sizeValue = held == Held::kNumber ? Number() : fields.sizeValue;
            break;
        case Member::kRemoved:
            fields.removed = held;
            fields.removedValue = held == Held::kFlag && Flag();
            break;
        default:
            break;
        }
    }

    bool Scalar(Held held) override {
        if (Depth() == 0) {
            m_bObject = false; // a document that is a single value
        } else if (Depth() == 1 && m_top == Top::kUsers) {
            m_bUsersList = false;
        } else if (Depth() == 1 && m_top == Top::kMarker && held == Held::kFlag) {
            m_bMarker = Flag();
        } else if (Depth() == 2 && m_bInUsers) {
            return BadUser();
        } else if (Depth() == 3 && m_bInUser) {
            Hold(m_userMember, held, m_user);
            if (m_userMember == Member::kFiles) {
                m_user.files = held;
            }
        } else if (Depth() == 4 && m_bInFiles) {
            m_user.badFile = true; // a file that is not an object
        } else if (Depth() == 5 && m_bInFile) {
            Hold(m_fileMember, held, m_file);
        }
        return true;
    }

    bool Open(bool object) override {
        if (Depth() == 0) {
            m_bObject = object;
        } else if (Depth() == 1 && m_bObject && m_top == Top::kUsers) {
            m_bUsersList = m_bInUsers = !object;
            m_earlier.Clear(); // a later "users" replaces an earlier one
        } else if (Depth() == 2 && m_bInUsers) {
            if (!object) {
                return BadUser();
            }
            m_user = UserFields();
            m_userMember = Member::kOther;
            m_bInUser = true;
        } else if (Depth() == 3 && m_bInUser) {
            const bool files = m_userMember == Member::kFiles && !object;
            Scalar(files ? Held::kList : Held::kOther);
            m_bInFiles = files;
        } else if (Depth() == 4 && m_bInFiles) {
            m_user.badFile = m_user.badFile || !object;
            m_file = FileFields();
            m_fileMember = Member::kOther;
            m_bInFile = object;
        } else if (Depth() == 5 && m_bInFile) {
            Scalar(Held::kOther);
        }
        return true;
    }

    bool Close() override {
        if (Depth() == 1 && m_bInUsers) {
            m_bInUsers = false;
        } else if (Depth() == 2 && m_bInUser) {
            m_bInUser = false;
            return EndUser();
        } else if (Depth() == 3 && m_bInFiles) {
            m_bInFiles = false;
        } else if (Depth() == 4 && m_bInFile) {
            m_bInFile = false;
            EndFile();
        }
        return true;
    }

    void EndFile() {
        const FileFields& f = m_file;
        if (f.name != Held::kText || f.size == Held::kNothing) {
            m_user.badFile = true;
        } else if (f.removed == Held::kFlag && f.removedValue) {
            // gone already then: neither its size nor its name counts
        } else if (f.size != Held::kNumber) {
            m_user.badFile = true;
        } else {
            m_user.fileList.Add(Cp1252FromUtf8(f.nameText), "", "", f.sizeValue);
        }
    }

    bool EndUser() {
        const UserFields& u = m_user;
        const bool files = u.files == Held::kNothing || (u.files == Held::kList && !u.badFile);
        if (u.name != Held::kText || (u.size != Held::kNumber && u.size != Held::kNull) || !files) {
            return BadUser();
        }
        if (!(u.removed == Held::kFlag && u.removedValue)) {
            m_earlier.Add(Cp1252FromUtf8(u.nameText), u.size == Held::kNull ? 0 : u.sizeValue,
                          u.fileList);
        }
        return true;
    }

    // A report whose marker has come says what is wrong with it; before the marker, a
    // row that is no user says that the document is no overview at all.
    bool BadUser() {
        m_strError = m_bMarker ? Say(Phrase::kOverviewBadUser) : Say(Phrase::kOverviewNotOverview);
        return false;
    }

    EarlierInstallation& m_earlier;
    UserFields m_user;
    FileFields m_file;
    Top m_top = Top::kOther;
    Member m_userMember = Member::kOther;
    Member m_fileMember = Member::kOther;
    bool m_bObject = false;
    bool m_bMarker = false;
    bool m_bUsersList = false;
    bool m_bInUsers = false;
    bool m_bInUser = false;
    bool m_bInFiles = false;
    bool m_bInFile = false;
};

} // namespace

bool ParseEarlierInstallation(const ReportBytes& read, EarlierInstallation& earlier,
                              std::string& error, uint64_t maxBytes) {
    UserReader reader(earlier);
    return ReadShape(read, maxBytes, reader, error);
}

bool ParseEarlierInstallation(std::string_view text, EarlierInstallation& earlier,
                              std::string& error) {
    return ParseEarlierInstallation(BytesOf(text), earlier, error);
}

bool ReadEarlierInstallation(const std::string& path, EarlierInstallation& earlier,
                             std::string& error) {
    UserReader reader(earlier);
    return ReadShapeFile(path, reader, error);
}

} // namespace report
