// A generated installation in multi-user mode: a root with "PMAIL.USR" and a folder
// per user holding a generated mailbox and its new mail, with what makes such a root
// hard to read: comments and blank lines, CR LF, folders in another letter case than
// their lines, a listed user without a folder, a folder no line names, and lines whose
// names would leave the root.
#pragma once

#include "mailgen.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mailgen {

struct InstallationOptions {
    uint32_t seed = 1;
    int users = 5;            // users with a folder and a mailbox
    Options mailbox;          // each user's mailbox; its seed is varied per user
    bool oddCase = true;      // every second folder in another letter case than its line
    int missingFolders = 1;   // listed users without a folder
    int strayFolders = 1;     // folders with a mailbox that no line names
    bool hostileLines = true; // lines naming "..\..", a device, a drive, "a/b"
    int noHierarchy = 0;      // of the users, the last ones without "hierarch.pm"
};

// One row as a correct overview must report it, in the overview's order: the lines
// of the list first, then the stray folders by name.
struct ExpectedUser {
    enum class Kind { kRead, kMissing, kStray, kUnsafe };
    Kind kind = Kind::kRead;
    char flag = 0;
    std::string userName; // as the line says, or the stray folder's name
    std::string personalName;
    std::string folderName; // as written on disk; empty when none
    bool hierarchy = true;
    int folderFiles = 0;
    uint64_t newMailSize = 0;
    uint64_t totalSize = 0; // folder files and new mail
    uint64_t largestSize = 0;
};

struct InstallationExpectation {
    std::vector<ExpectedUser> users;
    int folderFiles = 0;
    uint64_t totalSize = 0;
};

// Writes the installation into `root`, which is created when missing and must
// otherwise be empty. False with `error` on any failure.
bool GenerateInstallation(const std::string& root, const InstallationOptions& options,
                          InstallationExpectation& expected, std::string& error);

} // namespace mailgen
