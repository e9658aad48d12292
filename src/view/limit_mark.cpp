// The marks of the folder limit on screen.
#include "view/limit_mark.h"

#include <cstdio>

namespace view {

const char* LimitMark(FolderLimit limit) {
    switch (limit) {
    case FolderLimit::kNear:
        return "! ";
    case FolderLimit::kOver:
        return "!! ";
    default:
        return "";
    }
}

std::string MarkedSize(const std::string& sizeText, FolderLimit limit) {
    return LimitMark(limit) + sizeText;
}

std::string LimitStatus(const std::string& format, const LimitCounts& counts) {
    if (counts.near == 0 && counts.over == 0) {
        return std::string();
    }
    char text[256];
    const int n = std::snprintf(text, sizeof text, format.c_str(), counts.over, counts.near);
    return n > 0 ? std::string(text, static_cast<size_t>(n) < sizeof text ? n : sizeof text - 1)
                 : std::string();
}

} // namespace view
