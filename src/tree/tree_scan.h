// One scan kept whole for the tree: the catalogue, what the scan read besides it, and
// the tree built from both. The tree points into the other two, so a scan is held in
// one place and neither copied nor moved.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "tree/folder_tree.h"

#include <string>

namespace tree {

class TreeScan {
public:
    TreeScan() = default;
    TreeScan(const TreeScan&) = delete;
    TreeScan& operator=(const TreeScan&) = delete;

    // Scans and builds the tree, keeping its sort. False when paths were wanted and
    // "hierarch.pm" cannot be read: the tree then has the mailbox's node. The folder
    // files are read as `threading` says (its control counts them).
    bool Run(const ScanRequest& request, const ScanThreading& threading = ScanThreading());

    FolderCatalogue catalogue;
    ScanDetails details;
    FolderTree tree;
};

// The mailbox directory as the name of its top node: without the final separator.
std::string MailboxNodeName(const std::string& mailboxDir);

} // namespace tree
