// The installation generator: the list and the folders from one seed, each user's
// mailbox by the mailbox generator with a seed of its own.
#include "mailgen_installation.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace mailgen {

namespace {

const char* const kUserNames[] = {"anna",   "bernd", "carla",  "dieter", "erika", "frank",
                                  "gisela", "hans",  "ingrid", "jens",   "karin", "lutz"};
const char* const kPersonalNames[] = {"Anna Müller",   "Bernd Schäfer", "Carla Groß",
                                      "Dieter Krüger", "Erika Weiß",    "Frank Köhler",
                                      "Gisela Bär",    "Hans Jäger",    "Ingrid Möller",
                                      "Jens Voß",      "Karin Schütz",  "Lutz Hoffmann"};

// Lines whose names would reach outside the root or a device if they were used.
const char* const kHostileLines[] = {"U;..\\..\\Windows;Einbrecher", "U;CON;Konsole",
                                     "U;C:\\Daten;Laufwerk", "U;anna/../../etc;Schr\xE4gstrich"};

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The name of user `i`; past the table's end with a number.
std::string UserName(int i) {
    const int count = static_cast<int>(sizeof kUserNames / sizeof kUserNames[0]);
    std::string name = kUserNames[i % count];
    if (i >= count) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%d", i / count);
        name += suffix;
    }
    return name;
}

std::string PersonalName(int i) {
    return kPersonalNames[i % static_cast<int>(sizeof kPersonalNames / sizeof kPersonalNames[0])];
}

bool MakeRoot(const std::string& root, std::string& error) {
    std::error_code ec;
    const std::filesystem::path path(root);
    if (std::filesystem::exists(path, ec)) {
        if (!std::filesystem::is_directory(path, ec) || !std::filesystem::is_empty(path, ec)) {
            error = "not an empty directory: " + root;
            return false;
        }
        return true;
    }
    if (!std::filesystem::create_directories(path, ec)) {
        error = "cannot create directory: " + root;
        return false;
    }
    return true;
}

bool WriteText(const std::string& path, const std::string& bytes, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) {
        ok = false;
    }
    if (!ok) {
        error = "cannot write " + path;
    }
    return ok;
}

// One user's mailbox in `dir`, which serves as their new-mail folder too.
bool WriteMailbox(const std::string& dir, const InstallationOptions& options, uint32_t seed,
                  bool hierarchy, ExpectedUser& user, std::string& error) {
    Options mailbox = options.mailbox;
    mailbox.seed = seed;
    mailbox.writeHierarchy = hierarchy;
    Expectation expected;
    if (!Generate(dir, dir, mailbox, expected, error)) {
        return false;
    }
    user.hierarchy = hierarchy;
    user.folderFiles = static_cast<int>(expected.folders.size());
    user.newMailSize = expected.newMailSize;
    user.totalSize = expected.newMailSize;
    for (const ExpectedRow& row : expected.folders) {
        user.totalSize += row.size;
        user.largestSize = std::max(user.largestSize, row.size);
    }
    return true;
}

} // namespace

bool GenerateInstallation(const std::string& root, const InstallationOptions& options,
                          InstallationExpectation& expected, std::string& error) {
    expected = InstallationExpectation();
    std::string base = root;
    if (base.empty() || (base.back() != '/' && base.back() != '\\')) {
        base += '/';
    }
    if (!MakeRoot(base, error)) {
        return false;
    }
    std::string list = "; Benutzer dieser Installation\r\n;\r\n\r\n";
    uint32_t seed = options.seed;
    for (int i = 0; i < options.users; ++i) {
        ExpectedUser user;
        user.flag = i == 0 ? 'A' : 'U';
        user.userName = UserName(i);
        user.personalName = PersonalName(i);
        user.folderName = options.oddCase && i % 2 == 1 ? UpperAscii(user.userName) : user.userName;
        const bool hierarchy = i < options.users - options.noHierarchy;
        if (!WriteMailbox(base + user.folderName, options, seed++, hierarchy, user, error)) {
            return false;
        }
        list += std::string(1, user.flag) + ";" + user.userName + ";" + user.personalName + "\r\n";
        if (i == 1) {
            list += "; ehemalige Mitarbeiter stehen unten\r\n";
        }
        expected.users.push_back(user);
    }
    for (int i = 0; i < options.missingFolders; ++i) {
        ExpectedUser user;
        user.kind = ExpectedUser::Kind::kMissing;
        user.flag = 'U';
        user.userName = "fehlt" + std::to_string(i + 1);
        user.personalName = "Ohne Ordner";
        list += "U;" + user.userName + ";" + user.personalName + "\r\n";
        expected.users.push_back(user);
    }
    if (options.hostileLines) {
        for (const char* line : kHostileLines) {
            const std::string text = line;
            const size_t first = text.find(';');
            const size_t second = text.find(';', first + 1);
            ExpectedUser user;
            user.kind = ExpectedUser::Kind::kUnsafe;
            user.flag = text[0];
            user.userName = text.substr(first + 1, second - first - 1);
            user.personalName = text.substr(second + 1);
            list += text + "\r\n";
            expected.users.push_back(user);
        }
    }
    // Strays are named so that they sort after every listed user's folder.
    for (int i = 0; i < options.strayFolders; ++i) {
        ExpectedUser user;
        user.kind = ExpectedUser::Kind::kStray;
        user.userName = "zz-verwaist" + std::to_string(i + 1);
        user.folderName = user.userName;
        if (!WriteMailbox(base + user.folderName, options, seed++, true, user, error)) {
            return false;
        }
        expected.users.push_back(user);
    }
    for (const ExpectedUser& user : expected.users) {
        expected.folderFiles += user.folderFiles;
        expected.totalSize += user.totalSize;
    }
    return WriteText(base + "PMAIL.USR", list, error);
}

} // namespace mailgen
