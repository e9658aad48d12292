// The rules of the portable copy.
#include "settings/portable_settings.h"

namespace settings {

namespace {

bool FolderWritable(const SettingsFileFacts& facts) {
    return !(facts.folderReadOnly && facts.folderAttributeBinds);
}

} // namespace

SettingsHome ChooseSettingsHome(const SettingsFileFacts& facts) {
    if (!facts.exists) {
        return SettingsHome::kRegistry;
    }
    // The file is written in place, so its own folder does not matter once it is there.
    // Wine run as root opens a file without the write permission for writing, but shows
    // the missing permission as the read-only attribute: that counts as well.
    const bool writable = facts.opensForWriting && !facts.fileReadOnly;
    return writable ? SettingsHome::kIniFile : SettingsHome::kIniFileInMemory;
}

bool MayCreateSettingsFile(const SettingsFileFacts& facts) {
    return !facts.exists && FolderWritable(facts);
}

} // namespace settings
