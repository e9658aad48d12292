// The scan of every mailbox of an installation: the users' folders are read side by
// side, each as the main window reads one mailbox without folder paths (folder files,
// the new mail in the same folder, whether "hierarch.pm" can be read), and each user's row is
// complete as soon as their folder is read, so a window can show the first users before the last
// are read.
#pragma once

#include "mailbox/folder_limit.h"
#include "mailbox/installation.h"
#include "mailbox/scan_control.h"
#include "mailbox/scan_result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One row of the overview: a user of "PMAIL.USR" or a stray folder, and what their
// mailbox holds.
struct UserMailbox {
    PlannedUser user;
    UserFault fault = UserFault::kNone; // the plan's, or kNoHierarchy once read
    SharedScanResult scan;              // null when the folder was not read
    int32_t folderFiles = 0;            // the .PMM and .MBX files
    uint64_t totalSize = 0;             // the folder files and the new mail
    uint64_t newMailSize = 0;           // the ".CNM" files in the same folder
    int64_t newMailLastWrite = 0;       // the newest of them, 0 when none
    std::string largestFile;            // the largest folder file's name; empty when none
    std::string largestFolder;          // its folder's path and name: "\Archiv\2019"
    uint64_t largestSize = 0;
    LimitCounts limits; // folder files near and over the client's limit

    // The name shown in the user column.
    const std::string& UserName() const { return user.line.userName; }
    // The failure text in angle brackets, empty when none.
    std::string FailureText() const { return UserFaultText(fault, user.problem); }
};

// The overview of one installation.
struct AllUsersResult {
    std::string root; // ends with a separator
    std::vector<UserMailbox> rows;
    int32_t folderFiles = 0; // all users' folder files
    uint64_t totalSize = 0;  // all users' totals
    // "PMAIL.USR" was refused for passing kMaxUserListBytes or kMaxUserLines.
    bool userListTooLong = false;
};
using SharedAllUsersResult = std::shared_ptr<const AllUsersResult>;

// How the users are spread over threads, and who hears of each finished row.
struct AllUsersThreading {
    static constexpr int kAutomatic = -1;
    // Mailboxes read at once: on a file server, where every open waits for a round
    // trip, the second bound; on a local disk one a processor up to the first.
    static constexpr int kMaxMailboxesAtOnce = 8;
    static constexpr int kMaxMailboxesOnShare = 16;
    int mailboxesAtOnce = kAutomatic;
    // The helper threads of each mailbox's scan, as ScanThreading::helpers says. None:
    // the mailboxes read side by side are the overview's threads, and a mailbox of a
    // few hundred files gains less from helpers than their start costs.
    int helpersPerMailbox = 0;
    // Not null: counts the folder files of all users and stops every thread once it is
    // cancelled; mailboxesTotal and mailboxesRead count the users' folders.
    ScanControl* control = nullptr;
    // Called on the thread that read it, once row `index` is complete; a row is never
    // changed afterwards. Several threads may call at once.
    void (*rowDone)(size_t index, void* context) = nullptr;
    void* rowDoneContext = nullptr;
};

// The scan of a user's mailbox: the user's folder is both the mailbox and the new mail.
ScanRequest UserScanRequest(const PlannedUser& user, bool resolvePaths,
                            const std::string& newMailLabel);

// Fills the figures of `row` from its mailbox's scan; a mailbox whose "hierarch.pm"
// cannot be read gets that fault unless it has one already.
void SummariseMailbox(UserMailbox& row, SharedScanResult scan, bool hierarchyReadable);

// Reads "PMAIL.USR" of `root` (ending with a separator), plans the rows and reads every
// mailbox. False when the root holds no "PMAIL.USR", or it cannot be read, or it is
// refused for its length (userListTooLong): then `result` holds the root and no row. A
// cancelled scan returns true with the rows read so far complete and the others without
// figures; the caller tells it by the control's mark. Nothing below the root is ever
// written.
bool ScanAllUsers(const std::string& root, AllUsersResult& result,
                  const AllUsersThreading& threading = AllUsersThreading());

// Reads "PMAIL.USR" of `root` and plans the rows without reading a mailbox; false as
// ScanAllUsers says. Only the root's listing and the list are read. Once `control` is
// cancelled the plan stops at its next piece of the list, folder or user, whatever it
// returns; the caller tells a cancelled plan by the control's mark.
bool PlanAllUsers(const std::string& root, AllUsersResult& result,
                  const ScanControl* control = nullptr);

// The same for rows already planned (tests, and a window that shows the plan first).
void ScanPlannedUsers(AllUsersResult& result, const AllUsersThreading& threading);
