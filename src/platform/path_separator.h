// The directory separator: the platform's own for paths we make, and both '\' and '/'
// for paths we are given, which Windows accepts alike and a user types either way.
#pragma once

#include <string>
#include <vector>

namespace platform {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

constexpr bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// `dir` as a directory is held, so that names are appended directly: with a final
// separator; an empty one stays empty (no directory known).
inline std::string WithFinalSeparator(std::string dir) {
    if (!dir.empty() && !IsPathSeparator(dir.back())) {
        dir += kPathSeparator;
    }
    return dir;
}

// The folder `folders` names below `dir`, one level each, held as above.
inline std::string WithFolders(const std::string& dir, const std::vector<std::string>& folders) {
    std::string path = WithFinalSeparator(dir);
    for (const std::string& folder : folders) {
        path += folder;
        path += kPathSeparator;
    }
    return path;
}

} // namespace platform
