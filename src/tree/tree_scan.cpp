// A scan for the tree: the catalogue's own scan, keeping the table and identifiers.
#include "tree/tree_scan.h"

namespace tree {

bool TreeScan::Run(const TreeScanSettings& settings, const ScanThreading& threading) {
    const bool read = catalogue.Scan(settings, &details, threading);
    tree.Build(catalogue, details, MailboxNodeName(settings.mailboxDir));
    // The entries of the rows are needed only while building; the table stays for the
    // names.
    std::vector<int32_t>().swap(details.entryIndex);
    return read;
}

std::string MailboxNodeName(const std::string& mailboxDir) {
    std::string name = mailboxDir;
    while (name.size() > 1 && (name.back() == '\\' || name.back() == '/')) {
        name.pop_back();
    }
    return name;
}

} // namespace tree
