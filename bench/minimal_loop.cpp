// The floor for a scan: the system calls a report cannot avoid, and nothing else. Reads
// "hierarch.pm" once, lists the mailbox, reads each .PMM header and length, each .MBX
// length and its .PMG header, and takes the .CNM sizes from the new-mail listing. No
// parsing, no sorting, no output but a checksum line.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool HasExtension(const char* name, const char* upper) {
    const size_t n = std::strlen(name);
    if (n < 4) {
        return false;
    }
    return strcasecmp(name + n - 4, upper) == 0;
}

struct Totals {
    uint64_t bytes = 0;
    uint64_t headerBytes = 0;
    unsigned files = 0;
};

void ReadHeader(const std::string& path, size_t size, bool takeLength, Totals& totals) {
    char buffer[128];
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const ssize_t got = pread(fd, buffer, size, 0);
    totals.headerBytes +=
        got > 0 ? static_cast<uint64_t>(got) + static_cast<unsigned char>(buffer[0]) : 0;
    if (takeLength) {
        struct stat st;
        if (fstat(fd, &st) == 0) {
            totals.bytes += static_cast<uint64_t>(st.st_size);
        }
    }
    close(fd);
}

void Length(const std::string& path, Totals& totals) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat st;
    if (fstat(fd, &st) == 0) {
        totals.bytes += static_cast<uint64_t>(st.st_size);
    }
    close(fd);
}

void ReadWhole(const std::string& path, Totals& totals) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    static char buffer[64 * 1024];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        totals.headerBytes += static_cast<uint64_t>(got);
    }
    close(fd);
}

void ScanOne(const std::string& mailbox, const std::string& newmail, Totals& totals) {
    ReadWhole(mailbox + "hierarch.pm", totals);
    if (DIR* dir = opendir(mailbox.c_str())) {
        while (const dirent* d = readdir(dir)) {
            if (HasExtension(d->d_name, ".PMM")) {
                ReadHeader(mailbox + d->d_name, 128, true, totals);
                ++totals.files;
            } else if (HasExtension(d->d_name, ".MBX")) {
                const std::string path = mailbox + d->d_name;
                Length(path, totals);
                ReadHeader(path.substr(0, path.size() - 4) + ".PMG", 90, false, totals);
                ++totals.files;
            }
        }
        closedir(dir);
    }
    if (DIR* dir = opendir(newmail.c_str())) {
        const int fd = dirfd(dir);
        while (const dirent* d = readdir(dir)) {
            struct stat st;
            if (HasExtension(d->d_name, ".CNM") && fstatat(fd, d->d_name, &st, 0) == 0) {
                totals.bytes += static_cast<uint64_t>(st.st_size);
            }
        }
        closedir(dir);
    }
}

} // namespace

// Several pairs are scanned one after the other: the floor for the overview of an
// installation, whose users' folders are each mailbox and new-mail folder.
int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 != 1) {
        std::fprintf(stderr, "usage: foldtally-bench-loop MAILBOX_DIR NEWMAIL_DIR [...]\n");
        return 2;
    }
    Totals totals;
    for (int i = 1; i + 1 < argc; i += 2) {
        ScanOne(std::string(argv[i]) + "/", std::string(argv[i + 1]) + "/", totals);
    }
    std::printf("%u files, %llu bytes, %llu header bytes\n", totals.files,
                static_cast<unsigned long long>(totals.bytes),
                static_cast<unsigned long long>(totals.headerBytes));
    return 0;
}
