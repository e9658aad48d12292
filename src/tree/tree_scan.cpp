// A scan for the tree: the catalogue's own scan, keeping the table and identifiers.
#include "tree/tree_scan.h"

#include "platform/path_separator.h"

namespace tree {

bool TreeScan::Run(const ScanRequest& request, const ScanThreading& threading) {
    const bool read = catalogue.Scan(request, &details, threading);
    tree.Build(catalogue, details, MailboxNodeName(request.mailboxDir));
    // The entries of the rows are needed only while building; the table stays for the
    // names.
    std::vector<int32_t>().swap(details.entryIndex);
    return read;
}

std::string MailboxNodeName(const std::string& mailboxDir) {
    std::string name = mailboxDir;
    while (name.size() > 1 && platform::IsPathSeparator(name.back())) {
        name.pop_back();
    }
    return name;
}

} // namespace tree
