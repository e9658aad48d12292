// The marks of the folder limit on screen.
#include "view/limit_mark.h"

#include "text/ascii_case.h"

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
    if (counts.nearLimit == 0 && counts.overLimit == 0) {
        return std::string();
    }
    char text[256];
    const int n =
        std::snprintf(text, sizeof text, format.c_str(), counts.overLimit, counts.nearLimit);
    return n > 0 ? std::string(text, static_cast<size_t>(n) < sizeof text ? n : sizeof text - 1)
                 : std::string();
}

std::vector<const FolderRecord*> LimitWarnings::TakeNew(const std::vector<FolderRecord>& records) {
    std::vector<const FolderRecord*> fresh;
    for (const FolderRecord& record : records) {
        if (LimitOf(record) != FolderLimit::kOver) {
            continue;
        }
        std::string name = record.fileName;
        for (char& c : name) {
            c = text::FoldAscii(c);
        }
        if (m_warned.insert(name).second) {
            fresh.push_back(&record);
        }
    }
    return fresh;
}

} // namespace view
