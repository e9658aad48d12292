// The floor for a scan on Windows: the system calls a scan cannot avoid, and nothing
// else. Shared by the stand-alone loop (compared with foldtally-report.exe) and the main
// window benchmark (compared with the scan inside the process).
#pragma once

#include <cstdint>
#include <string>

struct MinimalScanTotals {
    uint64_t bytes = 0;
    uint64_t headerBytes = 0;
    unsigned files = 0;
};

// Reads "hierarch.pm" once, lists the mailbox once, reads each .PMM header and length,
// each .MBX length and its .PMG header, and takes the .CNM sizes from the new-mail
// listing. Both directories end in a backslash.
MinimalScanTotals MinimalScan(const std::string& mailboxDir, const std::string& newmailDir);
