// foldtally-mailgen: writes a generated mailbox for demos, benchmarks and manual tests.
#include "mailgen.h"
#include "mailgen_installation.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: foldtally-mailgen --mailbox DIR [--newmail DIR] [--seed N] [--folders N]\n"
    "         [--mbx-percent N] [--trays N] [--roots N] [--depth N] [--newmail-files N]\n"
    "         [--broken N] [--orphans N] [--huge N] [--max-message-bytes N] [--hash-flood N]\n"
    "         [--plain-names] [--awkward-names] [--case-variants] [--no-hierarchy] [--quiet]\n"
    "       foldtally-mailgen --installation ROOT [--users N] [--missing N] [--stray N]\n"
    "         [--no-hostile] [the mailbox options above, for every user's mailbox]\n"
    "       foldtally-mailgen --help\n"
    "Writes the same files for the same options. Both directories must be missing or\n"
    "empty. --installation writes PMAIL.USR and a folder with a mailbox per user.\n";

// Decimal digits only, at most `limit`; no sign, no overflow.
bool ParseCount(const char* text, uint32_t limit, uint32_t& value) {
    if (!text || !*text) {
        return false;
    }
    uint64_t v = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        v = v * 10 + static_cast<uint64_t>(*p - '0');
        if (v > limit) {
            return false;
        }
    }
    value = static_cast<uint32_t>(v);
    return true;
}

struct NumberOption {
    const char* name;
    uint32_t limit;
    void (*apply)(mailgen::Options&, uint32_t);
};

const NumberOption kNumberOptions[] = {
    {"--seed", 0xFFFFFFFFu, [](mailgen::Options& o, uint32_t v) { o.seed = v; }},
    {"--folders", 10000000, [](mailgen::Options& o, uint32_t v) { o.folders = int(v); }},
    {"--mbx-percent", 100, [](mailgen::Options& o, uint32_t v) { o.mbxPercent = int(v); }},
    {"--trays", 10000000, [](mailgen::Options& o, uint32_t v) { o.trays = int(v); }},
    {"--roots", 1000, [](mailgen::Options& o, uint32_t v) { o.roots = int(v); }},
    {"--depth", 1000, [](mailgen::Options& o, uint32_t v) { o.maxDepth = int(v); }},
    {"--newmail-files", 1000000, [](mailgen::Options& o, uint32_t v) { o.newMailFiles = int(v); }},
    {"--broken", 1000000, [](mailgen::Options& o, uint32_t v) { o.brokenFolders = int(v); }},
    {"--orphans", 1000000, [](mailgen::Options& o, uint32_t v) { o.orphans = int(v); }},
    {"--huge", 100, [](mailgen::Options& o, uint32_t v) { o.hugeFolders = int(v); }},
    {"--hash-flood", 20, [](mailgen::Options& o, uint32_t v) { o.hashFlood = int(v); }},
    {"--users", 100000, [](mailgen::Options&, uint32_t) {}},
    {"--missing", 1000, [](mailgen::Options&, uint32_t) {}},
    {"--stray", 1000, [](mailgen::Options&, uint32_t) {}},
    {"--max-message-bytes", 1u << 30,
     [](mailgen::Options& o, uint32_t v) { o.maxMessageBytes = v; }},
};

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    mailgen::Options options;
    std::string mailbox;
    std::string newmail;
    bool quiet = false;
    std::string installation;
    mailgen::InstallationOptions install;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            // Asked for, so it is the output and no failure.
            return std::fputs(kUsage, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (!std::strcmp(arg, "--mailbox") && next) {
            mailbox = argv[++i];
        } else if (!std::strcmp(arg, "--newmail") && next) {
            newmail = argv[++i];
        } else if (!std::strcmp(arg, "--plain-names")) {
            options.germanNames = false;
        } else if (!std::strcmp(arg, "--awkward-names")) {
            options.awkwardNames = true;
        } else if (!std::strcmp(arg, "--case-variants")) {
            options.caseVariants = true;
        } else if (!std::strcmp(arg, "--no-hierarchy")) {
            options.writeHierarchy = false;
        } else if (!std::strcmp(arg, "--installation") && next) {
            installation = argv[++i];
        } else if (!std::strcmp(arg, "--no-hostile")) {
            install.hostileLines = false;
        } else if (!std::strcmp(arg, "--quiet")) {
            quiet = true;
        } else {
            const NumberOption* found = nullptr;
            for (const NumberOption& option : kNumberOptions) {
                if (!std::strcmp(arg, option.name)) {
                    found = &option;
                }
            }
            uint32_t value = 0;
            if (!found || !ParseCount(next, found->limit, value)) {
                std::fprintf(stderr, "foldtally-mailgen: bad option or value: %s\n", arg);
                return Usage();
            }
            found->apply(options, value);
            if (!std::strcmp(arg, "--users")) {
                install.users = int(value);
            } else if (!std::strcmp(arg, "--missing")) {
                install.missingFolders = int(value);
            } else if (!std::strcmp(arg, "--stray")) {
                install.strayFolders = int(value);
            }
            ++i;
        }
    }
    if (!installation.empty()) {
        install.mailbox = options;
        install.seed = options.seed;
        mailgen::InstallationExpectation users;
        std::string error;
        if (!mailgen::GenerateInstallation(installation, install, users, error)) {
            std::fprintf(stderr, "foldtally-mailgen: %s\n", error.c_str());
            return 1;
        }
        if (!quiet) {
            std::printf("%zu rows, %d folder files, %llu bytes in all\n", users.users.size(),
                        users.folderFiles, static_cast<unsigned long long>(users.totalSize));
        }
        return 0;
    }
    if (mailbox.empty()) {
        return Usage();
    }
    mailgen::Expectation expected;
    std::string error;
    if (!mailgen::Generate(mailbox, newmail, options, expected, error)) {
        std::fprintf(stderr, "foldtally-mailgen: %s\n", error.c_str());
        return 1;
    }
    if (!quiet) {
        uint64_t total = expected.newMailSize;
        for (const mailgen::ExpectedRow& row : expected.folders) {
            total += row.size;
        }
        std::printf("%zu folder files, %d tree entries up to level %d, %d new-mail files, "
                    "%llu bytes in all\n",
                    expected.folders.size(), expected.hierarchyEntries, expected.deepestLevel,
                    expected.newMailFiles, static_cast<unsigned long long>(total));
    }
    return 0;
}
