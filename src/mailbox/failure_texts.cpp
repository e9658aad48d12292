// The failure texts that stand in the folder-name column, in German and in English: for
// a folder file that cannot be read and for a row of an installation's overview. One
// table per language, in the same order; a translator works through one of them.
#include "mailbox/folder_headers.h"
#include "mailbox/installation.h"
#include "platform/text.h"
#include "text/language.h"

namespace {

// The rows of a table: the folder failures in the order of FolderFailure, then the
// overview's faults.
enum FailureRow {
    kPmmOpen,
    kPmmHeader,
    kMbxOpen,
    kPmgOpen,
    kPmgHeader,
    kNewmailDir,
    kNameEmpty,
    kNameSeparator,
    kNameDotDot,
    kNameDevice,
    kNameControl,
    kNameReserved,
    kNameTooLong,
    kMalformedLine,
    kDuplicate,
    kMissingFolder,
    kUnreadable,
    kStray,
    kNoHierarchy,
    kFailureRows
};

const char* const kGermanFailures[kFailureRows] = {
    "<Datei konnte nicht zum Lesen geöffnet werden.>",
    "<Datei ist keine gültige PMM-Datei.>",
    "<MBX-Datei konnte nicht zum Lesen geöffnet werden.>",
    "<PMG-Datei konnte nicht zum Lesen geöffnet werden.>",
    "<Ordner hat keine gültige PMG-Datei.>",
    "<Posteingang-Verzeichnis konnte nicht gelesen werden.>",
    "<Benutzername fehlt.>",
    "<Benutzername mit \\, / oder : wird nicht geöffnet.>",
    "<Benutzername enthält .. und wird nicht geöffnet.>",
    "<Benutzername ist ein Gerätename.>",
    "<Benutzername mit Steuerzeichen wird nicht geöffnet.>",
    "<Benutzername ist kein zulässiger Ordnername.>",
    "<Benutzername ist zu lang und wird nicht geöffnet.>",
    "<Zeile ist keine Benutzerzeile \"Kennung;Name;Voller Name\".>",
    "<Benutzer steht mehrmals in PMAIL.USR.>",
    "<Ordner des Benutzers fehlt.>",
    "<Ordner kann nicht gelesen werden.>",
    "<Ordner ohne Benutzer in PMAIL.USR.>",
    "<Datei \"hierarch.pm\" kann nicht gelesen werden.>",
};

const char* const kEnglishFailures[kFailureRows] = {
    "<File could not be opened for reading.>",
    "<File is not a valid PMM file.>",
    "<MBX file could not be opened for reading.>",
    "<PMG file could not be opened for reading.>",
    "<Folder has no valid PMG file.>",
    "<New-mail directory could not be read.>",
    "<User name is missing.>",
    "<User name with \\, / or : is not opened.>",
    "<User name contains .. and is not opened.>",
    "<User name is a device name.>",
    "<User name with control characters is not opened.>",
    "<User name is not a valid folder name.>",
    "<User name is too long and is not opened.>",
    "<Line is not a user line \"ID;Name;Full Name\".>",
    "<User is listed more than once in PMAIL.USR.>",
    "<User's folder is missing.>",
    "<Folder cannot be read.>",
    "<Folder without a user in PMAIL.USR.>",
    "<File \"hierarch.pm\" cannot be read.>",
};

// Both tables in the system's code page, converted once: the report asks at every row.
struct SystemTexts {
    SystemTexts() {
        for (int row = 0; row < kFailureRows; ++row) {
            german[row] = platform::SystemText(kGermanFailures[row]);
            english[row] = platform::SystemText(kEnglishFailures[row]);
        }
    }
    std::string german[kFailureRows];
    std::string english[kFailureRows];
};

const SystemTexts& Texts() {
    static const SystemTexts texts;
    return texts;
}

const std::string& TextOf(int row, Language language) {
    const SystemTexts& texts = Texts();
    return language == Language::English ? texts.english[row] : texts.german[row];
}

int UserFaultRow(UserFault fault, UserNameProblem problem) {
    switch (fault) {
    case UserFault::kNone:
        break;
    case UserFault::kUnsafeName:
        switch (problem) {
        case UserNameProblem::kEmpty:
            return kNameEmpty;
        case UserNameProblem::kSeparator:
            return kNameSeparator;
        case UserNameProblem::kDotDot:
            return kNameDotDot;
        case UserNameProblem::kDevice:
            return kNameDevice;
        case UserNameProblem::kControl:
            return kNameControl;
        case UserNameProblem::kReserved:
            return kNameReserved;
        case UserNameProblem::kTooLong:
        case UserNameProblem::kNone:
            break;
        }
        return kNameTooLong;
    case UserFault::kMalformedLine:
        return kMalformedLine;
    case UserFault::kDuplicate:
        return kDuplicate;
    case UserFault::kMissingFolder:
        return kMissingFolder;
    case UserFault::kUnreadable:
        return kUnreadable;
    case UserFault::kStray:
        return kStray;
    case UserFault::kNoHierarchy:
        return kNoHierarchy;
    }
    return -1;
}

} // namespace

const std::string& FailureText(FolderFailure kind) {
    return TextOf(static_cast<int>(kind), UserLanguage());
}

bool FolderFailureOf(const std::string& folderName, FolderFailure* kind) {
    if (folderName.empty() || folderName[0] != '<') {
        return false;
    }
    // A row keeps the text of the language it was scanned in.
    for (const Language language : {Language::German, Language::English}) {
        for (int row = 0; row < kFolderFailureKinds; ++row) {
            if (folderName == TextOf(row, language)) {
                *kind = static_cast<FolderFailure>(row);
                return true;
            }
        }
    }
    return false;
}

bool IsFailureText(const std::string& folderName) {
    FolderFailure kind;
    return FolderFailureOf(folderName, &kind);
}

std::string UserFaultText(UserFault fault, UserNameProblem problem) {
    const int row = UserFaultRow(fault, problem);
    return row < 0 ? std::string() : TextOf(row, UserLanguage());
}
