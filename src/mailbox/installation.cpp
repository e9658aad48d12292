// Finding the root and the users' folders. A name from "PMAIL.USR" is text someone
// typed, or someone wrote on purpose: it is joined to the root only after the rules
// below say it names one folder directly below it, and the folder it names must
// also show up in the root's own listing, so nothing outside the root is ever reached.
#include "mailbox/installation.h"

#include "platform/files.h"
#include "platform/path_separator.h"
#include "text/ascii_case.h"
#include "text/cp1252_case.h"

#include <algorithm>

namespace {

// Windows opens a device for these names whatever the folder and whatever follows the
// first dot: "con.txt" is the console, too.
bool IsDeviceName(std::string_view name) {
    const size_t dot = name.find('.');
    std::string_view stem = name.substr(0, dot);
    while (!stem.empty() && stem.back() == ' ') { // "CON .txt" is the console as well
        stem.remove_suffix(1);
    }
    static const char* const kPlain[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* device : kPlain) {
        if (text::EqualIgnoringAsciiCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
        return text::EqualIgnoringAsciiCase(stem.substr(0, 3), "com") ||
               text::EqualIgnoringAsciiCase(stem.substr(0, 3), "lpt");
    }
    return false;
}

bool Cancelled(const ScanControl* control) {
    return control && control->IsCancelled();
}

struct RootListing {
    std::vector<std::string> names; // in the listing's order
    const ScanControl* control = nullptr;
};

bool CollectFolder(const platform::DirectoryEntry& entry, void* context) {
    RootListing& listing = *static_cast<RootListing*>(context);
    if (entry.isDirectory) {
        listing.names.push_back(entry.name);
    }
    return !Cancelled(listing.control);
}

} // namespace

FolderIndex::FolderIndex(const std::vector<std::string>& names)
    : m_nCount(names.size()),
      m_exact(names.size(), platform::KeyedHash(), CountingEqual{&m_nComparisons}),
      m_folded(names.size(), platform::KeyedHash(), CountingEqual{&m_nComparisons}) {
    for (size_t i = 0; i < names.size(); ++i) {
        m_exact.emplace(names[i], i); // the first of twins stays
        m_folded.emplace(text::FoldedWindows1252(names[i]), i);
    }
    m_nComparisons = 0; // building compares names too; only the look-ups count
}

size_t FolderIndex::Find(const std::string& name) const {
    const auto exact = m_exact.find(name);
    if (exact != m_exact.end()) {
        return exact->second;
    }
    const auto folded = m_folded.find(text::FoldedWindows1252(name));
    return folded == m_folded.end() ? m_nCount : folded->second;
}

UserNameProblem CheckUserName(std::string_view name) {
    if (name.empty()) {
        return UserNameProblem::kEmpty;
    }
    if (name.find_first_of("\\/:") != std::string_view::npos) {
        return UserNameProblem::kSeparator;
    }
    if (name.find("..") != std::string_view::npos) {
        return UserNameProblem::kDotDot;
    }
    if (IsDeviceName(name)) {
        return UserNameProblem::kDevice;
    }
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return UserNameProblem::kControl;
        }
    }
    if (name.find_first_of("*?\"<>|") != std::string_view::npos || name.back() == '.' ||
        name.back() == ' ' || name == ".") {
        return UserNameProblem::kReserved;
    }
    if (name.size() > kMaxUserNameBytes) {
        return UserNameProblem::kTooLong;
    }
    return UserNameProblem::kNone;
}

std::string UserListPath(const std::string& root) {
    struct Found {
        std::string name;
    } found;
    const bool listed = platform::SearchDirectoryNames(
        root, kUserListName,
        [](const platform::DirectoryEntry& entry, void* context) {
            auto& f = *static_cast<Found*>(context);
            // An exact spelling wins where two differ only in case.
            if (f.name.empty() || entry.name == kUserListName) {
                f.name = entry.name;
            }
            return true;
        },
        &found);
    return listed && !found.name.empty() ? root + found.name : std::string();
}

std::string InstallationRootOf(const std::string& mailboxDir) {
    std::string dir = mailboxDir;
    while (!dir.empty() && platform::IsPathSeparator(dir.back())) {
        dir.pop_back();
    }
    const size_t cut = dir.find_last_of("/\\");
    if (cut == std::string::npos) {
        return std::string();
    }
    const std::string parent = dir.substr(0, cut + 1);
    return UserListPath(parent).empty() ? std::string() : parent;
}

std::vector<PlannedUser> PlanInstallation(const std::string& root, const UserList& users,
                                          const ScanControl* control) {
    RootListing listing;
    listing.control = control;
    static_cast<void>(platform::SearchDirectory(root, "*", &CollectFolder, &listing));
    const std::vector<std::string>& folders = listing.names;
    const FolderIndex index(folders);
    std::vector<bool> named(folders.size(), false);
    platform::KeyedSet seen; // folded user names listed so far
    std::vector<PlannedUser> rows;
    rows.reserve(users.Count());
    for (size_t i = 0; i < users.Count(); ++i) {
        if (Cancelled(control)) {
            return rows;
        }
        PlannedUser row;
        row.line = users.Line(i);
        const UserLine& line = row.line;
        if (line.malformed) {
            row.fault = UserFault::kMalformedLine;
        } else if ((row.problem = line.userNameCut
                                      ? UserNameProblem::kTooLong
                                      : CheckUserName(line.userName)) != UserNameProblem::kNone) {
            row.fault = UserFault::kUnsafeName;
        } else if (!seen.insert(text::FoldedWindows1252(line.userName)).second) {
            row.fault = UserFault::kDuplicate;
        } else {
            const size_t found = index.Find(line.userName);
            if (found == folders.size()) {
                row.fault = UserFault::kMissingFolder;
            } else {
                named[found] = true;
                row.folderDir = root + folders[found] + platform::kPathSeparator;
                if (!platform::IsReadableDirectory(row.folderDir)) {
                    row.fault = UserFault::kUnreadable;
                    row.folderDir.clear();
                }
            }
        }
        rows.push_back(std::move(row));
    }
    if (Cancelled(control)) {
        return rows;
    }
    std::vector<size_t> stray;
    std::vector<std::string> folded(folders.size());
    for (size_t i = 0; i < folders.size(); ++i) {
        if (!named[i]) {
            stray.push_back(i);
            folded[i] = text::FoldedWindows1252(folders[i]);
        }
    }
    std::sort(stray.begin(), stray.end(),
              [&folded](size_t a, size_t b) { return folded[a] < folded[b]; });
    for (const size_t i : stray) {
        PlannedUser row;
        row.origin = PlannedUser::Origin::kStray;
        row.line.userName = folders[i];
        row.fault = UserFault::kStray;
        // A stray folder is still read: it is a mailbox no user can reach, and its size
        // is what the person looking after the installation wants to know.
        if (CheckUserName(folders[i]) == UserNameProblem::kNone) {
            row.folderDir = root + folders[i] + platform::kPathSeparator;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
