// One row of the folder catalogue and the row that sums the new mail. The catalogue
// keeps plain FolderRecord values; the folder-file records (pmm, mbx) derive from it
// and add what only reading a header needs.
#pragma once

#include <cstdint>
#include <string>

class FolderRecord {
public:
    FolderRecord() = default;
    FolderRecord(const FolderRecord&) = default;
    FolderRecord& operator=(const FolderRecord&) = default;
    // Moves too, so a growing catalogue moves its rows instead of copying every text.
    FolderRecord(FolderRecord&&) = default;
    FolderRecord& operator=(FolderRecord&&) = default;
    virtual ~FolderRecord() = default;

    // Empties the three texts and sets the size and the last change to 0.
    virtual void Clear();
    // True when the three texts are empty and the size and the last change are 0.
    virtual bool IsEmpty() const;
    virtual void SetFolderPath(const std::string& path);

    std::string fileName;   // as the directory search delivered it; "*.CNM" for new mail
    std::string folderPath; // "\Parent\" from the hierarchy, "<???>" when unknown, or empty
    std::string folderName; // header name, a failure text in angle brackets, or the label
    uint64_t size = 0;      // bytes; 64 bits so folders of 4 GiB and more keep their size
    // The last change, seconds since 1970-01-01 UTC, 0 when unknown: a folder file's
    // last write (an .MBX's or its .PMG's, whichever is later), the newest new-mail file.
    int64_t lastWrite = 0;
};

// The file name of the new-mail row: a pattern, so no folder file can have it.
constexpr char kNewMailFileName[] = "*.CNM";

// The one row that stands for all new-mail files ("*.CNM") of the new-mail directory.
class NewMailRecord : public FolderRecord {
public:
    // Clears the row and sums the sizes of the new-mail files as the directory listing
    // gives them, without opening any; the row's last change is the newest file's. A directory that
    // cannot be read (missing, not a directory) gives size 0 and the failure text in place of the
    // label, as a folder file that cannot be read does: "0 Bytes" alone would pass for no new mail.
    // An empty directory name (none known) is no failure. False on the failure.
    bool Analyze(const std::string& newmailDir, const std::string& label);
};
