// The reader of "PMAIL.USR": a byte-wise state machine, so a line of a gigabyte costs
// nothing more than its first bytes and a piece boundary inside a CR LF changes nothing.
// The file is read as "hierarch.pm" is, through the bounded reader of the platform: a
// regular file of at most kMaxUserListBytes.
#include "mailbox/user_list.h"

#include "platform/files.h"

#include <algorithm>

const char kUserListName[] = "PMAIL.USR";

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace

UserLine UserList::Line(size_t index) const {
    const Compact& c = m_lines[index];
    UserLine line;
    line.lineNumber = c.lineNumber;
    line.flag = c.flag;
    line.userName.assign(m_strTexts, c.start, c.userNameLength);
    line.personalName.assign(m_strTexts, c.start + c.userNameLength, c.personalNameLength);
    line.malformed = (c.marks & kMalformed) != 0;
    line.userNameCut = (c.marks & kUserNameCut) != 0;
    return line;
}

void UserList::Add(const UserLine& line) {
    // The parser cuts each field at kMaxUserLineField and keeps at most kMaxUserLines
    // lines, so the lengths fit 16 bits and every offset 32.
    const size_t user = std::min(line.userName.size(), kMaxUserLineField);
    const size_t personal = std::min(line.personalName.size(), kMaxUserLineField);
    Compact c;
    c.start = static_cast<uint32_t>(m_strTexts.size());
    c.userNameLength = static_cast<uint16_t>(user);
    c.personalNameLength = static_cast<uint16_t>(personal);
    c.lineNumber = line.lineNumber;
    c.flag = line.flag;
    c.marks = static_cast<uint8_t>((line.malformed ? kMalformed : 0) |
                                   (line.userNameCut ? kUserNameCut : 0));
    m_strTexts.append(line.userName, 0, user).append(line.personalName, 0, personal);
    m_lines.push_back(c);
}

void UserList::Clear() {
    // Swapped out, not cleared: a list refused for its length gives its memory back.
    std::string().swap(m_strTexts);
    std::vector<Compact>().swap(m_lines);
}

void UserListParser::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        Byte(c);
    }
}

void UserListParser::Byte(char c) {
    if (m_bAtFileStart) {
        if (m_nBomBytes < 3 && c == kBom[m_nBomBytes]) {
            ++m_nBomBytes;
            if (m_nBomBytes == 3) {
                m_bAtFileStart = false;
            }
            return;
        }
        m_bAtFileStart = false;
        for (size_t i = 0; i < m_nBomBytes; ++i) { // a start like a mark's, but none
            Append(kBom[i]);
        }
    }
    if (m_bPendingCr) {
        m_bPendingCr = false;
        if (c == '\n') {
            EndLine();
            return;
        }
        Append('\r'); // a lone CR stays part of the line, as the line reader keeps it
    }
    if (c == '\r') {
        m_bPendingCr = true;
    } else if (c == '\n') {
        EndLine();
    } else {
        Append(c);
    }
}

void UserListParser::Append(char c) {
    m_bLineHasBytes = true;
    if (c == ';' && m_nField < 2) {
        ++m_nField;
        return;
    }
    std::string& field = m_fields[m_nField];
    if (field.size() < kMaxUserLineField) {
        field += c;
    } else {
        m_bCut[m_nField] = true;
    }
}

void UserListParser::EndLine() {
    const uint32_t number = m_nLine++;
    const bool hadBytes = m_bLineHasBytes;
    const int fields = m_nField + 1;
    std::string flag = std::move(m_fields[0]);
    std::string user = std::move(m_fields[1]);
    std::string personal = std::move(m_fields[2]);
    const bool userCut = m_bCut[1];
    const bool flagCut = m_bCut[0];
    for (int i = 0; i < 3; ++i) {
        m_fields[i].clear();
        m_bCut[i] = false;
    }
    m_nField = 0;
    m_bLineHasBytes = false;
    if (!hadBytes) {
        return;
    }
    // A comment starts with ';': its first field is empty and a second one began.
    if (flag.empty() && fields > 1) {
        return;
    }
    const std::string trimmedFlag = Trimmed(flag);
    if (fields == 1 && trimmedFlag.empty()) {
        return; // blanks only
    }
    if (m_users.Count() == kMaxUserLines) {
        m_bTooMany = true;
        return;
    }
    UserLine line;
    line.lineNumber = number;
    if (fields < 2 || trimmedFlag.size() != 1 || !IsLetter(trimmedFlag[0]) || flagCut) {
        line.malformed = true;
        line.userName = flag.substr(0, 64); // enough to find the line in an editor
        m_users.Add(line);
        return;
    }
    line.flag = trimmedFlag[0];
    line.userName = Trimmed(user);
    line.personalName = Trimmed(personal);
    line.userNameCut = userCut;
    m_users.Add(line);
}

void UserListParser::Finish() {
    if (m_bPendingCr) {
        m_bPendingCr = false;
        Append('\r');
    }
    if (m_bAtFileStart && m_nBomBytes > 0) { // the file is only a mark's first bytes
        m_bAtFileStart = false;
        for (size_t i = 0; i < m_nBomBytes; ++i) {
            Append(kBom[i]);
        }
    }
    if (m_bLineHasBytes) {
        EndLine();
    }
}

UserList ParseUserList(std::string_view text) {
    UserListParser parser;
    parser.Feed(text);
    parser.Finish();
    return std::move(parser.Users());
}

UserListStatus ReadUserList(const std::string& path, UserList& users, const ScanControl* control) {
    users.Clear();
    platform::BoundedFileReader file;
    if (!file.Open(path, kMaxUserListBytes)) {
        return UserListStatus::kUnreadable;
    }
    UserListParser parser;
    static constexpr size_t kPiece = 64 * 1024;
    std::string buffer(kPiece, '\0');
    while (!parser.TooMany()) {
        if (control && control->IsCancelled()) {
            return UserListStatus::kCancelled;
        }
        const size_t got = file.Read(&buffer[0], kPiece);
        if (got == 0) {
            break;
        }
        parser.Feed(std::string_view(buffer.data(), got));
    }
    parser.Finish();
    // Half a list would show the users it lists as they are and leave the rest out
    // without a word: none is shown.
    if (file.TooLong() || parser.TooMany()) {
        return UserListStatus::kTooLong;
    }
    users = std::move(parser.Users());
    return UserListStatus::kRead;
}
