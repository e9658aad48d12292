// The failure texts that stand in the folder-name column, in German and in English: for
// a folder file that cannot be read and for a row of an installation's overview. One
// table per language, in the same order (the English one in failure_texts_en.cpp).
#include "mailbox/folder_headers.h"
#include "mailbox/installation.h"
#include "platform/text.h"
#include "text/language.h"

#include <cstdlib>

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

} // namespace

// The English table, in a file of its own for the translator (failure_texts_en.cpp).
extern const char* const kEnglishFailureTexts[];
extern const int kEnglishFailureTextCount;

namespace {

// Both tables in the system's code page, converted once: the report asks at every row.
struct SystemTexts {
    SystemTexts() {
        // A table a row short would read past its end.
        if (kEnglishFailureTextCount != kFailureRows) {
            std::abort();
        }
        for (int row = 0; row < kFailureRows; ++row) {
            german[row] = platform::SystemText(kGermanFailures[row]);
            english[row] = platform::SystemText(kEnglishFailureTexts[row]);
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
