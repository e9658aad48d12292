// How a size cell on screen marks a folder file near or over the mail client's limit:
// a mark in front of the size that does not rely on colour, and the level the cell's
// colour follows. The status line counts both.
#pragma once

#include "mailbox/folder_limit.h"

#include <map>
#include <string>
#include <vector>

namespace view {

// "!" near the limit, "!!" over it, each followed by a blank; nothing below it.
const char* LimitMark(FolderLimit limit);
// `sizeText` with the mark of `limit` in front.
std::string MarkedSize(const std::string& sizeText, FolderLimit limit);
// The level a cell's colour follows: 0 below, 1 near, 2 over.
constexpr int WarningLevel(FolderLimit limit) {
    return static_cast<int>(limit);
}

// The status line's addition for `counts`, built from `format` (the string table's,
// "%d über der Grenze, %d nahe daran"-like, the over count first): empty when no file
// is near or over, so the line stays as it was for every ordinary mailbox.
std::string LimitStatus(const std::string& format, const LimitCounts& counts);

// The main window's warning of folder files over the limit: at most one box a run,
// naming every such file at once, and never from an automatic refresh, whose findings
// the status line and the marks tell without taking the focus. A file the user asked
// not to be warned of again stays silent, across runs, until a scan sees it back under
// the limit. Files are told apart by their full path, matched without regard to ASCII
// case as the file system does: one mailbox's silenced file does not silence another's
// of the same name.
class LimitWarnings {
public:
    enum class Cause { kUser, kAutomatic };

    // The silenced files as they are stored: full paths, each ended by kSeparator. A
    // stored value is the registry's or the INI file's and may be anything: no more than
    // kMostSilenced paths are taken from it, none longer than kLongestPath.
    static constexpr size_t kMostSilenced = 1024;
    static constexpr size_t kLongestPath = 32767;
    void LoadSilenced(const std::string& stored);
    std::string StoredSilenced() const;
    // Whether anything was ever silenced or loaded: then the value is written even empty.
    bool HasStoredSilence() const { return m_bStored; }

    // Takes a scan of `mailboxDir` (ending with a separator): forgets the silence of the
    // files it sees under the limit, then returns the files the run's box names, in the
    // rows' order: every file over the limit not silenced, or none when the box was
    // shown in this run or the scan was an automatic one. A list returned counts as the
    // box shown.
    std::vector<const FolderRecord*> TakeBox(const std::string& mailboxDir,
                                             const std::vector<FolderRecord>& records, Cause cause);
    // The box's check box was ticked: `rows` of `mailboxDir` are not named again.
    void Silence(const std::string& mailboxDir, const std::vector<const FolderRecord*>& rows);

    // No path holds it on Windows, so it cannot cut one.
    static constexpr char kSeparator = '|';

private:
    // The full paths as shown, by their folded form: a scan looks each row up once.
    std::map<std::string, std::string> m_silenced;
    bool m_bShown = false;
    bool m_bStored = false;
};

// The box's text for `rows` (not empty): warning 504 (`single`: folder, file) for one,
// else warning 507 (`several`: count, list) listing at most kListedFiles lines (`line`:
// folder, file), the last one "und N weitere"-like (`more`: count) when there are more.
constexpr size_t kListedFiles = 8;
std::string LimitWarningText(const std::string& single, const std::string& several,
                             const std::string& line, const std::string& more,
                             const std::vector<const FolderRecord*>& rows);

} // namespace view
