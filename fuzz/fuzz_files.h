// A scratch directory for fuzz targets that read their input from files: made once
// per process, below the temporary directory, reused by every run, removed with its
// files when the process exits normally.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fuzzfiles {

inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/foldtally-fuzz-XXXXXX";
        if (!mkdtemp(&pattern[0])) {
            std::abort();
        }
        return pattern + "/";
    }();
    static const bool cleanupRegistered = [] {
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        });
        return true;
    }();
    (void)cleanupRegistered;
    return dir;
}

inline void Write(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0) {
        std::abort();
    }
}

} // namespace fuzzfiles
