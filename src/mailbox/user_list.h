// The list of an installation's users, "PMAIL.USR" at its root: one text line per user,
// "flag;username;personal name", the flag a letter ('U' user, 'A' administrator). Lines
// that start with ';' and blank lines are skipped. The mail server writes the same file,
// and people edit it by hand, so the reader takes any bytes: lines of any length, CR LF
// or LF, Windows-1252, and keeps only a bounded head of each field.
#pragma once

#include "mailbox/scan_control.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One line of the list that is no comment and not blank.
struct UserLine {
    uint32_t lineNumber = 0; // from 1, as an editor counts them
    char flag = 0;           // the letter; 0 for a line that is not well formed
    std::string userName;    // blanks around it removed
    std::string personalName;
    // The flag is not one letter followed by ';': the line's head stands in userName.
    bool malformed = false;
    // The user name was longer than kMaxUserLineField bytes and is cut there: no
    // folder has such a name, so it is never opened.
    bool userNameCut = false;
};

// The bytes kept of each field; more than any file system allows in one name.
constexpr size_t kMaxUserLineField = 1024;

// The file's name at an installation's root.
extern const char kUserListName[];

// Takes the bytes of the list in pieces of any size and keeps the users, so a file of
// any length costs memory only for its users' heads. The outcome does not depend on
// where the pieces end.
class UserListParser {
public:
    void Feed(std::string_view bytes);
    // The last line, when the file does not end with a line end.
    void Finish();
    std::vector<UserLine>& Users() { return m_users; }

private:
    void Byte(char c);
    void EndLine();
    void Append(char c);

    std::vector<UserLine> m_users;
    std::string m_fields[3]; // flag, user name, personal name; at most kMaxUserLineField each
    bool m_bCut[3] = {false, false, false};
    int m_nField = 0;
    bool m_bPendingCr = false;
    bool m_bLineHasBytes = false;
    uint32_t m_nLine = 1;
    bool m_bAtFileStart = true; // a UTF-8 byte order mark there is skipped
    size_t m_nBomBytes = 0;
};

// The users of `text`, the list's whole bytes.
std::vector<UserLine> ParseUserList(std::string_view text);

// Reads the list at `path`; false when it cannot be opened (then `users` is empty), or
// when `control` is cancelled, which it looks at between pieces of the file.
bool ReadUserList(const std::string& path, std::vector<UserLine>& users,
                  const ScanControl* control = nullptr);
