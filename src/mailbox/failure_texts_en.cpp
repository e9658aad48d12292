// The failure texts of the folder-name column in English, in the order of the German
// table in failure_texts.cpp.

extern const char* const kEnglishFailureTexts[] = {
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
extern const int kEnglishFailureTextCount =
    static_cast<int>(sizeof kEnglishFailureTexts / sizeof kEnglishFailureTexts[0]);
