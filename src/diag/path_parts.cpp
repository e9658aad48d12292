// Path splitting and joining written out by hand, so that Linux and Windows split the
// same paths the same way (both separators, drive letters, the last point).
#include "diag/path_parts.h"

#include "platform/files.h"
#include "platform/path_separator.h"

namespace {
// What the platform's full-path buffer of 259 bytes holds, terminator included.
constexpr size_t kMaxFullPath = 258;
} // namespace

PathParts::PathParts(const std::string& path) {
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        m_strDrive = path.substr(0, 2);
        start = 2;
    }
    size_t nameStart = start;
    for (size_t i = start; i < path.size(); ++i) {
        if (platform::IsPathSeparator(path[i])) {
            nameStart = i + 1;
        }
    }
    m_strDirectory = path.substr(start, nameStart - start);
    const std::string name = path.substr(nameStart);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        m_strBaseName = name;
    } else {
        m_strBaseName = name.substr(0, dot);
        m_strExtension = name.substr(dot);
    }
}

std::string PathParts::Join() const {
    std::string path = m_strDrive;
    path += m_strDirectory;
    if (!m_strDirectory.empty() && !platform::IsPathSeparator(m_strDirectory.back())) {
        path += '\\';
    }
    path += m_strBaseName;
    if (!m_strExtension.empty() && m_strExtension[0] != '.') {
        path += '.';
    }
    path += m_strExtension;
    return path;
}

std::string PathParts::GetFullPath() const {
    return FullPathOf(Join());
}

std::string PathParts::FullPathOf(const std::string& path) {
    std::string full = platform::FullPath(path);
    if (full.empty() || full.size() > kMaxFullPath) {
        return path;
    }
    return full;
}

int SplitString(const std::string& text, char separator, int maxCount,
                std::vector<std::string>& pieces) {
    pieces.clear();
    int count = 0;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        const bool last = end == std::string::npos;
        if (maxCount < 0 || count < maxCount) {
            pieces.push_back(text.substr(start, last ? std::string::npos : end - start));
        }
        ++count;
        if (last) {
            return count;
        }
        start = end + 1;
    }
}
