// An earlier all-users JSON report (--all-users with --compare), read back for its users'
// totals and their folder files' names and sizes. It is read as a stream, as the earlier
// report of one mailbox is: its memory follows the users kept, never the document.
#pragma once

#include "report/earlier_report.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// The users of an earlier all-users report, users it marked removed left out; texts in
// Windows-1252. A user is 24 bytes beside its name, the names lie end to end in one
// string and the files of all users in one EarlierReport, so a report costs little
// more than its texts.
class EarlierInstallation {
public:
    size_t UserCount() const { return m_users.size(); }
    std::string_view UserName(size_t user) const;
    uint64_t Size(size_t user) const { return m_users[user].size; }
    // The user's folder files, as the earlier report of one mailbox.
    EarlierReport Files(size_t user) const;
    // The sum of the users' sizes, modulo 2^64.
    uint64_t TotalSize() const { return m_nTotalSize; }

    void Clear();
    // A user and the folder files read with them.
    void Add(std::string_view userName, uint64_t size, const EarlierReport& files);

private:
    struct User {
        uint64_t size;
        uint32_t nameStart; // in m_strNames
        uint32_t nameLength;
        uint32_t firstFile; // in m_files; the next user's first ends them
    };
    std::string m_strNames;
    std::vector<User> m_users;
    EarlierReport m_files;
    uint64_t m_nTotalSize = 0;
};

// Reads an all-users JSON report handed over by `read`: false with `error`
// (Windows-1252) for anything else, a report of one mailbox among them, or more than
// `maxBytes`. The reading stops at the first user that is not one.
bool ParseEarlierInstallation(const ReportBytes& read, EarlierInstallation& earlier,
                              std::string& error, uint64_t maxBytes = kMaxEarlierReportBytes);
bool ParseEarlierInstallation(std::string_view json, EarlierInstallation& earlier,
                              std::string& error);
// The file `path`, as ReadEarlierReport reads a report of one mailbox.
bool ReadEarlierInstallation(const std::string& path, EarlierInstallation& earlier,
                             std::string& error);

} // namespace report
