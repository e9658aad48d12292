// The treemap file. The guard is the window's export's: the folders are compared by
// what the file system says they are, and the file replaces its target only once it is
// written whole, looked at once more just before.
#include "report/report_treemap.h"

#include "diag/trace.h"
#include "mailbox/installation.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "report/report.h"
#include "report/report_texts.h"
#include "view/list_export.h"

#include <ctime>

namespace report {

namespace {

// One side: one to five digits without sign or blank, 1..kMaxTreemapSide.
bool ParseSide(const std::string& text, int& side) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxTreemapSide) {
        return false;
    }
    side = value;
    return true;
}

} // namespace

bool ParseTreemapSize(const std::string& text, int& width, int& height, std::string& error) {
    const size_t x = text.find_first_of("xX");
    int w = 0;
    int h = 0;
    if (x == std::string::npos || !ParseSide(text.substr(0, x), w) ||
        !ParseSide(text.substr(x + 1), h)) {
        error = FormatText(Say(Phrase::kBadPictureSize), text.c_str(), kMaxTreemapSide);
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool TreemapColourOf(const std::string& text, tree::TreemapColour& colour) {
    static const struct {
        const char* name;
        tree::TreemapColour colour;
    } colours[] = {{"limit", tree::TreemapColour::kLimit},
                   {"age", tree::TreemapColour::kAge},
                   {"plain", tree::TreemapColour::kPlain}};
    for (const auto& c : colours) {
        if (text == c.name) {
            colour = c.colour;
            return true;
        }
    }
    return false;
}

tree::TreemapOptions ReportTreemapOptions(const ReportOptions& options) {
    tree::TreemapOptions layout;
    layout.width = options.treemapWidth;
    layout.height = options.treemapHeight;
    layout.nameBand = 15;
    layout.frame = 1;
    return layout;
}

int WriteTreemapFile(const tree::TreeScan& scan, const ReportOptions& options,
                     const std::string& mailboxDir, const std::string& newmailDir,
                     ReportSink& err) {
    const std::string full = platform::FullPath(options.treemapFile);
    std::vector<std::string> folders = {mailboxDir, newmailDir};
    // A mailbox of an installation shares its root with every other user's mailbox.
    for (const std::string& folder : {mailboxDir, newmailDir}) {
        folders.push_back(folder.empty() ? std::string() : InstallationRootOf(folder));
    }
    const platform::ProtectedFolders guard(folders, view::IsInProtectedDirectory);
    if (full.empty() || guard.Contains(full)) {
        WriteErrorLine(err,
                       FormatText(Say(Phrase::kRefusedTreemapFile), options.treemapFile.c_str()),
                       options);
        return kExitFailure;
    }
    const tree::Treemap map = tree::LayoutTreemap(scan.tree, -1, ReportTreemapOptions(options));
    const std::string svg =
        tree::TreemapSvg(scan.tree, map, options.treemapColour, std::time(nullptr));
    switch (platform::ReplaceFileContents(full, svg, guard)) {
    case platform::WriteOutcome::kWritten:
        return kExitOk;
    case platform::WriteOutcome::kRefused:
        WriteErrorLine(err,
                       FormatText(Say(Phrase::kRefusedTreemapFile), options.treemapFile.c_str()),
                       options);
        return kExitFailure;
    case platform::WriteOutcome::kFailed:
        break;
    }
    WriteErrorLine(
        err, FormatText(Say(Phrase::kUnwritableTreemapFile), options.treemapFile.c_str()), options);
    return kExitFailure;
}

} // namespace report
