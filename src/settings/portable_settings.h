// The portable copy: a file "<program>.ini" beside the program (foldtally.ini) makes
// the run keep every setting there, in the INI store's forms, and none in the registry.
// These are the rules that decide from what the platform says about that file and its
// folder; the looking itself is the application's.
#pragma once

namespace settings {

// What the platform says about the INI file beside the program and its folder.
struct SettingsFileFacts {
    bool exists = false;          // a file of that name (a folder of that name is none)
    bool fileReadOnly = false;    // the file carries the read-only attribute
    bool opensForWriting = false; // the platform lets this run open it for writing
    bool folderReadOnly = false;  // the folder carries the read-only attribute
    // Whether that attribute of a folder means the folder cannot be written. Windows
    // sets it on folders for other reasons (a customised folder) and ignores it when
    // writing; Wine shows by it that the folder lacks the Unix write permission, which
    // Wine run as root would write through.
    bool folderAttributeBinds = false;
};

// Where a run keeps its settings.
enum class SettingsHome {
    kRegistry,        // no INI file beside the program: the registry, as ever
    kIniFile,         // the INI file, read and written
    kIniFileInMemory, // the INI file, read; this run's changes stay in memory
};

SettingsHome ChooseSettingsHome(const SettingsFileFacts& facts);

// Whether the file, missing yet, may be created beside the program. The write itself
// may still fail: that is the last word.
bool MayCreateSettingsFile(const SettingsFileFacts& facts);

} // namespace settings
