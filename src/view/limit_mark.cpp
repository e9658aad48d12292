// The marks of the folder limit on screen.
#include "view/limit_mark.h"

#include "diag/trace.h"
#include "text/ascii_case.h"

#include <algorithm>
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

namespace {

std::string Folded(std::string text) {
    for (char& c : text) {
        c = text::FoldAscii(c);
    }
    return text;
}

std::string ShownFolder(const FolderRecord& row) {
    return row.folderPath + row.folderName;
}

} // namespace

void LimitWarnings::LoadSilenced(const std::string& stored) {
    m_silenced.clear();
    size_t start = 0;
    for (size_t end = stored.find(kSeparator);
         end != std::string::npos && m_silenced.size() < kMostSilenced;
         start = end + 1, end = stored.find(kSeparator, start)) {
        if (end > start && end - start <= kLongestPath) {
            std::string path = stored.substr(start, end - start);
            m_silenced.emplace(Folded(path), std::move(path));
        }
    }
    m_bStored = m_bStored || !m_silenced.empty();
}

std::string LimitWarnings::StoredSilenced() const {
    std::string stored;
    for (const auto& silenced : m_silenced) {
        stored += silenced.second + kSeparator;
    }
    return stored;
}

std::vector<const FolderRecord*> LimitWarnings::TakeBox(const std::string& mailboxDir,
                                                        const std::vector<FolderRecord>& records,
                                                        Cause cause) {
    std::vector<const FolderRecord*> over;
    for (const FolderRecord& record : records) {
        const bool isOver = LimitOf(record) == FolderLimit::kOver;
        if (!isOver && m_silenced.empty()) {
            continue; // nearly every row of every scan
        }
        const std::string folded = Folded(mailboxDir + record.fileName);
        if (isOver) {
            if (m_silenced.count(folded) == 0) {
                over.push_back(&record);
            }
            continue;
        }
        m_silenced.erase(folded);
    }
    if (m_bShown || cause == Cause::kAutomatic) {
        over.clear();
    }
    m_bShown = m_bShown || !over.empty();
    return over;
}

void LimitWarnings::Silence(const std::string& mailboxDir,
                            const std::vector<const FolderRecord*>& rows) {
    for (const FolderRecord* row : rows) {
        const std::string path = mailboxDir + row->fileName;
        m_silenced.emplace(Folded(path), path);
    }
    m_bStored = true;
}

std::string LimitWarningText(const std::string& single, const std::string& several,
                             const std::string& line, const std::string& more,
                             const std::vector<const FolderRecord*>& rows) {
    if (rows.empty()) {
        return std::string();
    }
    if (rows.size() == 1) {
        return FormatText(single.c_str(), ShownFolder(*rows[0]).c_str(), rows[0]->fileName.c_str());
    }
    // A last line of "one more" would take the place of the one it stands for.
    const size_t listed = rows.size() > kListedFiles ? kListedFiles - 1 : rows.size();
    std::string list;
    for (size_t i = 0; i < listed; ++i) {
        list += FormatText(line.c_str(), ShownFolder(*rows[i]).c_str(), rows[i]->fileName.c_str()) +
                "\n";
    }
    if (listed < rows.size()) {
        list += FormatText(more.c_str(), static_cast<int>(rows.size() - listed)) + "\n";
    }
    list.pop_back();
    return FormatText(several.c_str(), static_cast<int>(rows.size()), list.c_str());
}

} // namespace view
