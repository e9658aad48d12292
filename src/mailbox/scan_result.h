// One scan of a mailbox, kept whole and never changed after it is made: the rows with
// their count and total, what the scan read for the folder tree, and when it was made.
// A window holds its result through a shared pointer and keeps the one it shows alive,
// so a new scan never has to empty a view first: the main window's result is also the
// tree window's.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "mailbox/scan_request.h"
#include "platform/clock.h"

#include <memory>

struct ScanResult {
    ScanRequest request;          // what was asked for
    FolderCatalogue catalogue;    // the rows, their count and total
    ScanDetails details;          // the table and each row's entry, for the tree
    bool hierarchyRead = true;    // false only when paths were wanted and not read
    platform::TimeOfDay scanTime; // when the scan ended, local time
};

using SharedScanResult = std::shared_ptr<const ScanResult>;

// Scans as `request` says and returns the result; null only when the scan was cancelled
// through `threading.control`.
SharedScanResult RunScan(const ScanRequest& request,
                         const ScanThreading& threading = ScanThreading());
