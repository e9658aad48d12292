// The settings-to-scan mapping and the status line.
#include "view/scan_view.h"

#include "diag/trace.h"
#include "sizes/size_text.h"

#include <algorithm>

namespace view {

ScanRequest MakeScanRequest(const ProgramSettings& settings, const std::string& clientMailbox,
                            const std::string& clientNewmail, const std::string& newMailLabel) {
    ScanRequest request;
    request.mailboxDir = settings.m_bMailboxPathManual ? settings.m_strMailboxPath : clientMailbox;
    request.newmailDir = settings.m_bMailboxPathManual ? settings.m_strNewmailPath : clientNewmail;
    request.resolvePaths = settings.m_bShowFolderPath;
    request.includeNewMail = settings.m_bShowNewMailFolder;
    request.newMailLabel = newMailLabel;
    return request;
}

std::string StatusLine(const std::string& format, int32_t fileCount, uint64_t totalSize) {
    return FormatText(format.c_str(), static_cast<int>(fileCount),
                      FormatSize(totalSize, SizeStyle::Compact).c_str(),
                      FormatSize(totalSize, SizeStyle::Exact).c_str());
}

std::string FilteredStatusLine(const std::string& format, int32_t shownFiles, uint64_t shownSize,
                               int32_t fileCount, uint64_t totalSize) {
    const auto count = [](int32_t files) {
        return FormatSize(static_cast<uint64_t>(std::max(files, 0)), SizeStyle::Exact);
    };
    return FormatText(format.c_str(), count(shownFiles).c_str(), count(fileCount).c_str(),
                      FormatSize(shownSize, SizeStyle::Compact).c_str(),
                      FormatSize(totalSize, SizeStyle::Compact).c_str(),
                      FormatSize(shownSize, SizeStyle::Exact).c_str(),
                      FormatSize(totalSize, SizeStyle::Exact).c_str());
}

std::string ProgressLine(const std::string& format, uint32_t filesRead, uint32_t filesTotal) {
    return FormatText(format.c_str(), FormatSize(filesRead, SizeStyle::Exact).c_str(),
                      FormatSize(filesTotal, SizeStyle::Exact).c_str());
}

std::string ScanTimeText(const std::string& format, int hour, int minute, int second) {
    return FormatText(format.c_str(), hour, minute, second);
}

} // namespace view
