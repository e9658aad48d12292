// The mailbox a benchmark reads: generated once into its folder, then reused as it is,
// so that each run times reading and not writing.
#pragma once

#include "mailgen.h"

#include <cstdio>
#include <string>

namespace bench {

// `box` and `news` (each ending with a separator) with `folders` folders of messages of
// at most `messageBytes`, unless a "hierarch.pm" is there already. False, with the
// generator's error on standard error after `program`, when it cannot be written.
inline bool EnsureMailbox(const char* program, const std::string& box, const std::string& news,
                          int folders, int messageBytes) {
    if (FILE* made = std::fopen((box + "hierarch.pm").c_str(), "rb")) {
        std::fclose(made);
        return true;
    }
    mailgen::Options options;
    options.seed = 100;
    options.folders = folders;
    options.maxDepth = 8;
    options.maxMessageBytes = messageBytes;
    mailgen::Expectation expected;
    std::string error;
    if (!mailgen::Generate(box, news, options, expected, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return false;
    }
    return true;
}

} // namespace bench
