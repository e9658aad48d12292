// The list of an installation's users, "PMAIL.USR" at its root: one text line per user,
// "flag;username;personal name", the flag a letter ('U' user, 'A' administrator). Lines
// that start with ';' and blank lines are skipped. The mail server writes the same file,
// and people edit it by hand, so the reader takes any bytes: lines of any length, CR LF
// or LF, Windows-1252, and keeps only a bounded head of each field. A real installation
// has at most a few thousand users, so a list is read only up to bounds far above that;
// a longer one, or a device that never ends, is no user list and is refused whole.
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

// The bounds of a list: 4 MiB hold 65 536 lines of 64 bytes, more than ten times the
// users of any installation, and 65 536 lines kept (users and lines that are no user
// line) cost 1 MiB beside their text. The bytes bound the lines too: one per byte.
constexpr uint64_t kMaxUserListBytes = 4u << 20;
constexpr size_t kMaxUserLines = 65536;

// The lines kept of a list, compactly: 16 bytes each and their texts end to end in one
// string, so a list costs little more than its text whatever its lines look like.
class UserList {
public:
    size_t Count() const { return m_lines.size(); }
    bool Empty() const { return m_lines.empty(); }
    UserLine Line(size_t index) const;

    void Add(const UserLine& line);
    void Clear();

private:
    struct Compact {
        uint32_t start; // of the user name in m_strTexts; the personal name follows it
        uint16_t userNameLength;
        uint16_t personalNameLength;
        uint32_t lineNumber;
        char flag;
        uint8_t marks; // kMalformed, kUserNameCut
    };
    static constexpr uint8_t kMalformed = 1;
    static constexpr uint8_t kUserNameCut = 2;

    std::string m_strTexts;
    std::vector<Compact> m_lines;
};

// The file's name at an installation's root.
extern const char kUserListName[];

// Takes the bytes of the list in pieces of any size and keeps the users, so a file of
// any length costs memory only for its users' heads, and at most kMaxUserLines of
// them. The outcome does not depend on where the pieces end.
class UserListParser {
public:
    void Feed(std::string_view bytes);
    // The last line, when the file does not end with a line end.
    void Finish();
    UserList& Users() { return m_users; }
    // More than kMaxUserLines lines were to be kept: only the first are.
    bool TooMany() const { return m_bTooMany; }

private:
    void Byte(char c);
    void EndLine();
    void Append(char c);

    UserList m_users;
    bool m_bTooMany = false;
    std::string m_fields[3]; // flag, user name, personal name; at most kMaxUserLineField each
    bool m_bCut[3] = {false, false, false};
    int m_nField = 0;
    bool m_bPendingCr = false;
    bool m_bLineHasBytes = false;
    uint32_t m_nLine = 1;
    bool m_bAtFileStart = true; // a UTF-8 byte order mark there is skipped
    size_t m_nBomBytes = 0;
};

// The users of `text`, the list's whole bytes; at most kMaxUserLines.
UserList ParseUserList(std::string_view text);

enum class UserListStatus : uint8_t {
    kRead,
    kUnreadable, // missing, no regular file (a device, a pipe), or a read failed
    kTooLong,    // more than kMaxUserListBytes, or more than kMaxUserLines lines kept
    kCancelled,  // `control` was cancelled before the list was read whole
};

// Reads the list at `path`; `users` is empty unless it was read. `control`, when
// given, is looked at between pieces of the file.
[[nodiscard]] UserListStatus ReadUserList(const std::string& path, UserList& users,
                                          const ScanControl* control = nullptr);
