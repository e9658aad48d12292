// The generator writes what the file formats say and knows what it wrote: header bytes
// at their offsets, a tree whose paths match the expectation, the broken files it
// promises, the same bytes for the same seed, and nothing among files of others.
#include "folder_formats.h"
#include "mailgen.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

using testsupport::ReadFile;
using testsupport::TempDir;

std::string CString(const std::string& bytes, size_t offset, size_t last) {
    std::string text;
    for (size_t i = offset; i < last && bytes[i] != '\0'; ++i) {
        text.push_back(bytes[i]);
    }
    return text;
}

TEST(FolderFormatsTest, HeadersPutNameAndIdentifierAtTheirOffsets) {
    struct Case {
        std::string name;
        std::string id;
        std::string pmmName; // as read up to byte 63 / 127
        std::string pmmId;
        std::string pmgName; // as read up to byte 57 / 89
        std::string pmgId;
    } cases[] = {
        {"Kunden", "ID1", "Kunden", "ID1", "Kunden", "ID1"},
        {"", "", "", "", "", ""},
        {std::string(70, 'n'), std::string(50, 'i'), std::string(63, 'n'), std::string(41, 'i'),
         std::string(57, 'n'), std::string(31, 'i')},
        {"Gr\xF6\xDF"
         "e",
         "x",
         "Gr\xF6\xDF"
         "e",
         "x",
         "Gr\xF6\xDF"
         "e",
         "x"},
    };
    for (const Case& c : cases) {
        const std::string pmm = mailgen::PmmHeader(c.name, c.id);
        ASSERT_EQ(128u, pmm.size());
        EXPECT_EQ(c.pmmName, CString(pmm, 0, 63));
        EXPECT_EQ(c.pmmId, CString(pmm, 86, 127));
        EXPECT_EQ(std::string(22, '\x5A'), pmm.substr(64, 22)) << "unread bytes must not be zero";
        const std::string pmg = mailgen::PmgHeader(c.name, c.id);
        ASSERT_EQ(90u, pmg.size());
        EXPECT_EQ(c.pmgName, CString(pmg, 0, 57));
        EXPECT_EQ(c.pmgId, CString(pmg, 58, 89));
    }
}

TEST(FolderFormatsTest, HierarchyLinesQuoteAndEscapeEveryText) {
    EXPECT_EQ("2,0,\"R\",\"\",\"Meine Ordner\"",
              mailgen::HierarchyLine(2, 0, "R", "", "Meine Ordner"));
    EXPECT_EQ("0,7,\"a\\\\b\",\"p\",\"x \\\"y\\\", z\"",
              mailgen::HierarchyLine(0, 7, "a\\b", "p", "x \"y\", z"));
}

// A reader of the generated tree written for this test: quoted fields only, as the
// generator writes them.
struct TreeEntry {
    int type;
    std::string parent;
    std::string name;
};

bool ReadQuoted(const std::string& line, size_t& i, std::string& value) {
    if (i >= line.size() || line[i] != '"') {
        return false;
    }
    value.clear();
    for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        value.push_back(line[i]);
    }
    i += 2; // closing quote and comma
    return true;
}

std::map<std::string, TreeEntry> ReadTree(const std::string& text, int& badLines) {
    std::map<std::string, TreeEntry> tree;
    badLines = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        const size_t c1 = line.find(',');
        const size_t c2 = line.find(',', c1 + 1);
        std::string id, parent, name;
        size_t i = c2 + 1;
        if (line.empty() || line[0] == '-' || c2 == std::string::npos || !ReadQuoted(line, i, id) ||
            !ReadQuoted(line, i, parent) || !ReadQuoted(line, i, name)) {
            ++badLines;
            continue;
        }
        tree[id] = TreeEntry{std::stoi(line.substr(0, c1)), parent, name};
    }
    return tree;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

std::string PathOf(const std::map<std::string, TreeEntry>& tree, const std::string& id) {
    const auto it = tree.find(Upper(id));
    if (it == tree.end()) {
        return "<?\?\?>";
    }
    std::string path = "\\";
    for (auto p = tree.find(it->second.parent); p != tree.end() && p->second.type != 2;
         p = tree.find(p->second.parent)) {
        path = "\\" + p->second.name + path;
    }
    return path;
}

TEST(MailgenTest, ExpectedRowsMatchTheHeadersAndTheTreeOnDisk) {
    TempDir dir;
    mailgen::Options options;
    options.seed = 7;
    options.folders = 300;
    options.maxDepth = 8;
    options.orphans = 3;
    options.caseVariants = true;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(dir / "mb", "", options, expected, error)) << error;
    ASSERT_EQ(303u, expected.folders.size());
    EXPECT_EQ(8, expected.deepestLevel);
    int badLines = 0;
    const auto tree = ReadTree(ReadFile(dir / "mb/HIERARCH.PM"), badLines);
    EXPECT_EQ(0, badLines);
    EXPECT_EQ(expected.hierarchyEntries, static_cast<int>(tree.size()));
    std::set<std::string> extensions;
    for (const mailgen::ExpectedRow& row : expected.folders) {
        const std::string bytes = ReadFile(dir / "mb/" + row.fileName);
        EXPECT_EQ(row.size, bytes.size()) << row.fileName;
        const std::string ext = row.fileName.substr(row.fileName.size() - 4);
        extensions.insert(ext);
        std::string header = bytes;
        size_t nameEnd = 63, idAt = 86, idEnd = 127;
        if (Upper(ext) == ".MBX") {
            header =
                ReadFile(dir / "mb/" + row.fileName.substr(0, row.fileName.size() - 4) + ".PMG");
            for (const char* e : {".pmg", ".Pmg", ".pMg", ".pmG", ".PMg", ".PmG", ".pMG"}) {
                if (header.empty()) {
                    header = ReadFile(dir / "mb/" + row.fileName.substr(0, 8) + e);
                }
            }
            nameEnd = 57, idAt = 58, idEnd = 89;
        }
        ASSERT_GE(header.size(), idEnd + 1) << row.fileName;
        EXPECT_EQ(row.folderName, CString(header, 0, nameEnd));
        EXPECT_EQ(row.folderPath, PathOf(tree, CString(header, idAt, idEnd))) << row.fileName;
    }
    EXPECT_GT(extensions.size(), 4u) << "extensions should come in several letter cases";
}

TEST(MailgenTest, BrokenFoldersAreTheFilesTheirFailureTextsDescribe) {
    TempDir dir;
    mailgen::Options options;
    options.folders = 0;
    options.brokenFolders = 5;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(dir / "mb", dir / "nm", options, expected, error)) << error;
    std::map<std::string, const mailgen::ExpectedRow*> byText;
    for (const mailgen::ExpectedRow& row : expected.folders) {
        byText[row.folderName] = &row;
        EXPECT_EQ("<?\?\?>", row.folderPath);
    }
    ASSERT_EQ(5u, byText.size());
    const std::string mb = dir / "mb/";
    const auto* shortPmm = byText.at("<Datei ist keine g\xFCltige PMM-Datei.>");
    EXPECT_LT(fs::file_size(mb + shortPmm->fileName), 128u);
    EXPECT_EQ(0u, shortPmm->size);
    const auto* noPmg = byText.at("<PMG-Datei konnte nicht zum Lesen ge\xF6"
                                  "ffnet werden.>");
    EXPECT_EQ(noPmg->size, fs::file_size(mb + noPmg->fileName));
    EXPECT_FALSE(fs::exists(mb + noPmg->fileName.substr(0, 8) + ".PMG"));
    const auto* shortPmg = byText.at("<Ordner hat keine g\xFCltige PMG-Datei.>");
    EXPECT_LT(fs::file_size(mb + shortPmg->fileName.substr(0, 8) + ".PMG"), 90u);
    EXPECT_TRUE(fs::is_directory(mb + byText
                                          .at("<Datei konnte nicht zum Lesen ge\xF6"
                                              "ffnet werden.>")
                                          ->fileName));
    EXPECT_TRUE(fs::is_directory(mb + byText
                                          .at("<MBX-Datei konnte nicht zum Lesen ge\xF6"
                                              "ffnet werden.>")
                                          ->fileName));
    int badLines = 0;
    ReadTree(ReadFile(mb + "hierarch.pm"), badLines);
    EXPECT_EQ(3, badLines);
    EXPECT_TRUE(fs::exists(mb + "NOTIZEN.PMMX"));
}

TEST(MailgenTest, NewMailSizesAddUpToTheExpectation) {
    TempDir dir;
    mailgen::Options options;
    options.newMailFiles = 17;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(dir / "mb", dir / "nm", options, expected, error)) << error;
    uint64_t sum = 0;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(dir / "nm"))) {
        EXPECT_EQ(".CNM", entry.path().extension().string());
        sum += entry.file_size();
        ++count;
    }
    EXPECT_EQ(17, count);
    EXPECT_EQ(expected.newMailFiles, count);
    EXPECT_EQ(expected.newMailSize, sum);
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(dir))) {
        const std::string rel = fs::relative(entry.path(), fs::path(dir)).string();
        files[rel] = entry.is_regular_file() ? ReadFile(entry.path().string()) : "<dir>";
    }
    return files;
}

TEST(MailgenTest, TheSameSeedWritesTheSameBytesAndAnotherSeedOthers) {
    TempDir dir;
    mailgen::Options options;
    options.folders = 40;
    options.brokenFolders = 6;
    options.caseVariants = true;
    mailgen::Expectation e1, e2, e3;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(dir / "a/mb", dir / "a/nm", options, e1, error)) << error;
    ASSERT_TRUE(mailgen::Generate(dir / "b/mb", dir / "b/nm", options, e2, error)) << error;
    options.seed = 2;
    ASSERT_TRUE(mailgen::Generate(dir / "c/mb", dir / "c/nm", options, e3, error)) << error;
    const auto a = Snapshot(dir / "a");
    EXPECT_GT(a.size(), 60u);
    EXPECT_EQ(a, Snapshot(dir / "b"));
    EXPECT_NE(a, Snapshot(dir / "c"));
}

TEST(MailgenTest, RefusesADirectoryThatHoldsFilesAndLeavesThemAlone) {
    TempDir dir;
    ASSERT_TRUE(testsupport::WriteFile(dir / "hierarch.pm", "mine"));
    mailgen::Options options;
    mailgen::Expectation expected;
    std::string error;
    EXPECT_FALSE(mailgen::Generate(dir.Path(), "", options, expected, error));
    EXPECT_NE(std::string::npos, error.find("not an empty directory"));
    EXPECT_EQ("mine", ReadFile(dir / "hierarch.pm"));
    EXPECT_EQ(
        1, std::distance(fs::directory_iterator(fs::path(dir.Path())), fs::directory_iterator()));
}

} // namespace
