// The two kinds of folder file and how their headers are read: a .PMM folder carries
// its 128-byte header itself, an .MBX folder keeps its 90-byte header in the .PMG
// companion of the same base name. What cannot be read becomes a failure text in
// angle brackets in place of the folder name, and a trace line.
#pragma once

#include "mailbox/folder_record.h"

#include <string>

// What can keep a folder file (or the new-mail directory) from being read; each has its
// failure text, which stands in folderName in its place.
enum class FolderFailure { kPmmOpen, kPmmHeader, kMbxOpen, kPmgOpen, kPmgHeader, kNewmailDir };
constexpr int kFolderFailureKinds = 6;

// The text of `kind` in the system's code page and in UserLanguage(), as the list shows
// it.
const std::string& FailureText(FolderFailure kind);
// True when `folderName` is one of those texts, in either language: the row stands for
// a file that failed; `kind` gets which.
bool FolderFailureOf(const std::string& folderName, FolderFailure* kind);
bool IsFailureText(const std::string& folderName);

// What both kinds of folder file add to a row: where the file is and its folder's key.
class FolderFileRecord : public FolderRecord {
public:
    void Clear() override;
    bool IsEmpty() const override;

    // Clears the record, then takes the absolute path and the displayed file name.
    void SetPath(const std::string& path);

    std::string filePath; // absolute path of the .PMM or .MBX
    std::string folderId; // key of the folder in "hierarch.pm"
};

class pmm : public FolderFileRecord {
public:
    // Reads the header. True when the name and identifier were read; otherwise the
    // failure text stands in folderName and the size is 0.
    bool Analyze();
};

class mbx : public FolderFileRecord {
public:
    // Takes the .MBX's length as soon as it opens, then reads the .PMG companion's
    // header. True when the name and identifier were read. The last change is the later
    // of the two files' as far as the opens tell it (POSIX); the scan adds what its
    // listing tells (Windows).
    bool Analyze();
};
