// What one scan of a mailbox is asked to do, made in one place for each kind of caller:
// from the program's settings for the windows (view::MakeScanRequest), from the options
// for the report tool, and for one user of an installation (UserScanRequest).
#pragma once

#include <string>

struct ScanRequest {
    std::string mailboxDir;   // ends with a separator; empty: no folder files
    std::string newmailDir;   // ends with a separator
    bool resolvePaths = true; // place each folder by "hierarch.pm"
    bool includeNewMail = true;
    std::string newMailLabel; // the new-mail row's name, "<Posteingang>"
};
