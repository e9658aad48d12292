// What one scan of a mailbox is asked to do. Made from the program's settings in one
// place (view::MakeScanRequest), so the main window and the tree window scan alike.
#pragma once

#include <string>

struct ScanRequest {
    std::string mailboxDir;   // ends with a separator; empty: no folder files
    std::string newmailDir;   // ends with a separator
    bool resolvePaths = true; // place each folder by "hierarch.pm"
    bool includeNewMail = true;
    std::string newMailLabel; // the new-mail row's name, "<Posteingang>"
};
