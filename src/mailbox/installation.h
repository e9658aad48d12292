// An installation of the mail client in multi-user mode: below one root each user has a
// folder named after them, which is their mailbox and new-mail folder, and "PMAIL.USR"
// at the root lists them. Here the root is found, the user names are checked before
// any is used as a path, and each line of the list is matched with its folder; the
// folders no line names are kept too, so that stray mailboxes are seen.
#pragma once

#include "mailbox/scan_control.h"
#include "mailbox/user_list.h"
#include "platform/keyed_hash.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Why a user name is never used as a folder name below the root.
enum class UserNameProblem : uint8_t {
    kNone,
    kEmpty,
    kSeparator, // '\', '/' or ':': another folder or another drive
    kDotDot,    // "..": the root's parent
    kDevice,    // CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension
    kControl,   // bytes below 0x20 and DEL
    kReserved,  // '*', '?', '"', '<', '>', '|', or a dot or blank at the end
    kTooLong,   // more than kMaxUserNameBytes
};

// The longest name one folder may have on the file systems the client runs on.
constexpr size_t kMaxUserNameBytes = 255;

// The first problem of `name`, in the order of the enumeration.
UserNameProblem CheckUserName(std::string_view name);

// Why a row of the overview was not read, or what is wrong with it.
enum class UserFault : uint8_t {
    kNone,
    kUnsafeName,    // see UserNameProblem
    kMalformedLine, // not "flag;username;personal name"
    kDuplicate,     // a second line of a user already listed
    kMissingFolder, // no folder of that name below the root
    kUnreadable,    // the folder cannot be listed
    kStray,         // a folder below the root that no line names
    kNoHierarchy,   // "hierarch.pm" cannot be read; the sizes are still there
};

// The row's failure text in angle brackets, in the system's code page and in
// UserLanguage(), as the main list shows one for a folder file it cannot read.
std::string UserFaultText(UserFault fault, UserNameProblem problem = UserNameProblem::kNone);

// The root of the installation that `mailboxDir` (ending with a separator) belongs to:
// its parent, ending with a separator, when that holds "PMAIL.USR" in any letter case;
// empty otherwise.
std::string InstallationRootOf(const std::string& mailboxDir);

// The path of "PMAIL.USR" in `root` (ending with a separator) as the directory has it,
// in any letter case; empty when there is none or the root cannot be read.
std::string UserListPath(const std::string& root);

// The folders below the root by name, made once, so that finding a user's folder is one
// look-up however many folders there are: the one spelt exactly so (a file system that
// tells case apart may hold "anna" and "Anna"), else the first in the listing that
// differs only in case, as Windows would open it.
class FolderIndex {
public:
    explicit FolderIndex(const std::vector<std::string>& names);
    FolderIndex(const FolderIndex&) = delete;
    FolderIndex& operator=(const FolderIndex&) = delete;

    // The position of `name`'s folder in the names, or their count when there is none.
    size_t Find(const std::string& name) const;
    // The names Find has compared with the one asked for: about one a look-up, where a
    // walk over the listing would compare every folder with every user.
    uint64_t Comparisons() const { return m_nComparisons; }

private:
    struct CountingEqual {
        uint64_t* count;
        bool operator()(const std::string& a, const std::string& b) const {
            ++*count;
            return a == b;
        }
    };
    using Index = std::unordered_map<std::string, size_t, platform::KeyedHash, CountingEqual>;

    mutable uint64_t m_nComparisons = 0;
    size_t m_nCount;
    Index m_exact;
    Index m_folded; // by FoldWindows1252 of each byte
};

// One row of the overview before its mailbox is read.
struct PlannedUser {
    enum class Origin : uint8_t { kListed, kStray };
    Origin origin = Origin::kListed;
    UserLine line;         // for a stray folder only userName, its name on disk
    std::string folderDir; // below the root, ending with a separator; empty: not read
    UserFault fault = UserFault::kNone;
    UserNameProblem problem = UserNameProblem::kNone;
};

// The rows of an installation: each line of `users` in the list's order, then each
// folder of `root` that no line names, sorted by name. `root` ends with a separator.
// Only a folder whose name is safe and which is found in the listing of the root gets
// a folderDir; nothing is opened here but the root's listing and, to see that it can
// be read, each user's folder. Once `control` is cancelled (looked at between folders
// and between users) the rows so far come back.
std::vector<PlannedUser> PlanInstallation(const std::string& root, const UserList& users,
                                          const ScanControl* control = nullptr);
