// The reader of "PMAIL.USR": a byte-wise state machine, so a line of a gigabyte costs
// nothing more than its first bytes and a piece boundary inside a CR LF changes nothing.
#include "mailbox/user_list.h"

#include "platform/files.h"

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
    UserLine line;
    line.lineNumber = number;
    if (fields < 2 || trimmedFlag.size() != 1 || !IsLetter(trimmedFlag[0]) || flagCut) {
        line.malformed = true;
        line.userName = flag.substr(0, 64); // enough to find the line in an editor
        m_users.push_back(std::move(line));
        return;
    }
    line.flag = trimmedFlag[0];
    line.userName = Trimmed(user);
    line.personalName = Trimmed(personal);
    line.userNameCut = userCut;
    m_users.push_back(std::move(line));
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

std::vector<UserLine> ParseUserList(std::string_view text) {
    UserListParser parser;
    parser.Feed(text);
    parser.Finish();
    return std::move(parser.Users());
}

bool ReadUserList(const std::string& path, std::vector<UserLine>& users,
                  const ScanControl* control) {
    users.clear();
    platform::ReadOnlyFile file;
    if (!file.Open(path)) {
        return false;
    }
    UserListParser parser;
    static constexpr size_t kPiece = 64 * 1024;
    std::string buffer(kPiece, '\0');
    uint64_t offset = 0;
    for (;;) {
        if (control && control->IsCancelled()) {
            return false;
        }
        const size_t got = file.ReadAt(offset, &buffer[0], kPiece);
        if (got == 0) {
            break;
        }
        parser.Feed(std::string_view(buffer.data(), got));
        offset += got;
    }
    parser.Finish();
    users = std::move(parser.Users());
    return true;
}
