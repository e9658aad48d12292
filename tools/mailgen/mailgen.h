// The mailbox generator: writes a Pegasus Mail mailbox (folder files, companions, the
// folder tree) and a new-mail directory, the same bytes for the same seed on every
// platform, and says which rows a correct scan must find in them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mailgen {

struct Options {
    uint32_t seed = 1;
    int folders = 20;                // folder files with a readable header
    int mbxPercent = 50;             // of those, the share of .MBX folders (the rest .PMM)
    int trays = -1;                  // tree entries without a folder file; -1: folders / 10 + 1
    int roots = 1;                   // entries of type 2, where the path ends
    int maxDepth = 4;                // deepest level below a root (a root's children are level 1)
    int newMailFiles = 3;            // ".CNM" files in the new-mail directory
    int brokenFolders = 0;           // unreadable folder files, cycling through every kind;
                                     // with any, also decoy files and bad hierarchy lines
    int orphans = 0;                 // readable folders whose identifier is not in the tree
    int hugeFolders = 0;             // sparse .MBX folders of 5 GiB and more
    uint32_t maxMessageBytes = 4096; // message bytes after a header: 0..max
    bool germanNames = true;         // names with umlauts (Windows-1252 bytes)
    bool awkwardNames = false;       // names with ';', '"', ',', umlauts and bytes 0x80..0xFF
    bool caseVariants = false;       // extensions, companion, identifiers and "hierarch.pm" in
                                     // mixed letter case
    bool writeHierarchy = true;
    int hashFlood = 0; // 2^n more tree entries below the first root, their identifiers
                       // all of one FNV-1a value (hash_flood.h); at most 20
};

// One row as a correct scan with folder paths must report it.
struct ExpectedRow {
    std::string fileName;
    std::string folderPath; // "\Parent\..." as resolved from the tree, "<???>" when absent
    std::string folderName; // header name or the failure text
    uint64_t size = 0;
};

struct Expectation {
    std::vector<ExpectedRow> folders; // every folder-file row, in no particular order
    int newMailFiles = 0;
    uint64_t newMailSize = 0;
    int hierarchyEntries = 0; // lines of the tree that parse
    int deepestLevel = 0;
};

// Writes the mailbox into `mailboxDir` and, unless `newmailDir` is empty, the new mail
// into `newmailDir`. Each directory is created when missing and must otherwise be empty:
// the generator never writes among files it did not make. False with `error` set on any
// failure.
bool Generate(const std::string& mailboxDir, const std::string& newmailDir, const Options& options,
              Expectation& expected, std::string& error);

} // namespace mailgen
