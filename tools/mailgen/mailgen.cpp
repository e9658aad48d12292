// The generator: a random folder tree, folder files placed in it, broken files and new
// mail, all drawn from one seeded engine so the same options give the same bytes. The
// engine's numbers are mapped to ranges by our own arithmetic, never by a standard
// distribution, whose results differ between library implementations.
#include "mailgen.h"

#include "folder_formats.h"
#include "hash_flood.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace mailgen {

namespace {

class Random {
public:
    explicit Random(uint32_t seed) : m_engine(seed) {}
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(m_engine() % n); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }

private:
    std::mt19937 m_engine;
};

const char* const kGermanNames[] = {
    "Geschäftliches", "Übersicht", "Größen",  "Kündigungen", "Rechnungen",  "Privat",
    "Urlaub",         "Familie",   "Vereine", "Steuer",      "Bewerbungen", "Einkäufe",
    "Reisen",         "Projekte",  "Archiv",  "Bücher",      "Straße",      "Ärzte",
    "Öffentliches",   "Spaß",      "Kunden",  "Lieferanten", "Verträge",    "Entwürfe",
};

const char* const kPlainNames[] = {
    "Inbox",   "Archive", "Projects", "Invoices",  "Travel", "Family",
    "Friends", "Clubs",   "Taxes",    "Customers", "Drafts", "Lists",
};

// Failure texts of unreadable folder files, as the list shows them.
const char kPmmShort[] = "<Datei ist keine gültige PMM-Datei.>";
const char kPmmUnopenable[] = "<Datei konnte nicht zum Lesen geöffnet werden.>";
const char kMbxUnopenable[] = "<MBX-Datei konnte nicht zum Lesen geöffnet werden.>";
const char kPmgMissing[] = "<PMG-Datei konnte nicht zum Lesen geöffnet werden.>";
const char kPmgShort[] = "<Ordner hat keine gültige PMG-Datei.>";
const char kUnknownPath[] = "<?\?\?>";

struct Entry {
    int type;
    std::string id;
    int parent; // index, -1 for a root
    std::string name;
    int level;
};

std::string WithSeparator(const std::string& dir) {
    if (dir.empty() || dir.back() == '/' || dir.back() == '\\') {
        return dir;
    }
    return dir + "/";
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string MixCase(std::string text, Random& random) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z' && random.Chance(50)) {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

class Writer {
public:
    Writer(const Options& options, Expectation& expected, std::string& error)
        : m_options(options), m_random(options.seed), m_expected(expected), m_error(error) {}

    bool Run(const std::string& mailboxDir, const std::string& newmailDir);

private:
    bool PrepareDirectory(const std::string& dir);
    bool Write(const std::string& path, const std::string& bytes);
    std::string Name();
    std::string Filler(uint32_t count);
    std::string Extension(const char* upper);
    void BuildTree();
    std::string ParentPath(int parent) const;
    int PickParent();
    bool WriteFolder(const std::string& name, const std::string& id, int parent, bool asMbx);
    bool WriteBroken(int kind);
    bool WriteHuge(int n);
    bool WriteHierarchy();
    bool WriteDecoys();
    bool WriteNewMail(const std::string& dir);

    const Options& m_options;
    Random m_random;
    Expectation& m_expected;
    std::string& m_error;
    std::string m_mailbox;
    std::vector<Entry> m_entries;
    std::vector<int> m_parents; // entries that may still take children
    int m_fileCounter = 0;
};

bool Writer::PrepareDirectory(const std::string& dir) {
    std::error_code ec;
    const fs::path path(dir);
    if (fs::exists(path, ec)) {
        if (!fs::is_directory(path, ec) || !fs::is_empty(path, ec)) {
            m_error = "not an empty directory: " + dir;
            return false;
        }
        return true;
    }
    if (!fs::create_directories(path, ec)) {
        m_error = "cannot create directory: " + dir;
        return false;
    }
    return true;
}

bool Writer::Write(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) {
        ok = false;
    }
    if (!ok) {
        m_error = "cannot write " + path;
    }
    return ok;
}

std::string Writer::Name() {
    if (m_options.awkwardNames) {
        // What a file of separated values must quote, and bytes of every high value.
        // (Octal escapes: a hex escape would swallow the letters after it.)
        static const char* const kAwkward[] = {"Rechnungen; 2024",   "\"Zitate\"",
                                               "Gr\366\337en;\"a\"", "\304rzte, B\374ro",
                                               "Semi;;Kolon",        "Normal"};
        std::string name = kAwkward[m_random.Below(6)];
        name += ' ';
        for (int i = 0; i < 3; ++i) {
            name += static_cast<char>(0x80 + m_random.Below(0x80));
        }
        return name + std::to_string(m_random.Below(100));
    }
    if (m_options.germanNames) {
        const size_t n = sizeof kGermanNames / sizeof kGermanNames[0];
        return kGermanNames[m_random.Below(n)] + std::string(" ") +
               std::to_string(m_random.Below(100));
    }
    const size_t n = sizeof kPlainNames / sizeof kPlainNames[0];
    return kPlainNames[m_random.Below(n)] + std::string(" ") + std::to_string(m_random.Below(100));
}

std::string Writer::Filler(uint32_t count) {
    static const char kLine[] = "Subject: Gruss aus dem Generator\r\nX-Line: ";
    std::string bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        bytes += kLine;
        bytes += std::to_string(bytes.size());
        bytes += "\r\n";
    }
    bytes.resize(count);
    return bytes;
}

std::string Writer::Extension(const char* upper) {
    return m_options.caseVariants ? MixCase(upper, m_random) : std::string(upper);
}

int Writer::PickParent() {
    // Now and then the newest possible parent, so chains reach the deepest level.
    if (m_random.Chance(35)) {
        return m_parents.back();
    }
    return m_parents[m_random.Below(static_cast<uint32_t>(m_parents.size()))];
}

std::string Writer::ParentPath(int parent) const {
    std::vector<const std::string*> names;
    for (int i = parent; i >= 0 && m_entries[i].type != 2; i = m_entries[i].parent) {
        names.push_back(&m_entries[i].name);
    }
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        path += "\\" + **it;
    }
    return path + "\\";
}

bool Writer::WriteFolder(const std::string& name, const std::string& id, int parent, bool asMbx) {
    const std::string base = "FOL" + Hex(static_cast<uint32_t>(++m_fileCounter), 5);
    const uint32_t messages = m_random.Below(m_options.maxMessageBytes + 1);
    const std::string headerId =
        m_options.caseVariants && m_random.Chance(30) ? LowerAscii(id) : id;
    ExpectedRow row;
    row.folderName = name;
    row.folderPath = parent >= 0 ? ParentPath(parent) : kUnknownPath;
    if (asMbx) {
        row.fileName = base + Extension(".MBX");
        row.size = messages;
        const std::string pmg = base + Extension(".PMG");
        if (!Write(m_mailbox + row.fileName, Filler(messages)) ||
            !Write(m_mailbox + pmg, PmgHeader(name, headerId) + Filler(m_random.Below(3) * 7))) {
            return false;
        }
    } else {
        row.fileName = base + Extension(".PMM");
        row.size = kPmmHeaderSize + messages;
        if (!Write(m_mailbox + row.fileName, PmmHeader(name, headerId) + Filler(messages))) {
            return false;
        }
    }
    m_expected.folders.push_back(row);
    return true;
}

void Writer::BuildTree() {
    const int roots = std::max(1, m_options.roots);
    for (int r = 0; r < roots; ++r) {
        m_entries.push_back({2, "ROOT" + Hex(static_cast<uint32_t>(r), 2), -1,
                             r == 0 ? "Meine Ordner" : Name(), 0});
        m_parents.push_back(r);
    }
    const int trays = m_options.trays >= 0 ? m_options.trays : m_options.folders / 10 + 1;
    const int folders = std::max(0, m_options.folders);
    // Trays and folders interleave, so folders sit at every level and under folders too.
    std::vector<int> kinds(static_cast<size_t>(trays), 1);
    kinds.insert(kinds.end(), static_cast<size_t>(folders), 0);
    for (size_t i = kinds.size(); i > 1; --i) {
        std::swap(kinds[i - 1], kinds[m_random.Below(static_cast<uint32_t>(i))]);
    }
    const int maxDepth = std::max(1, m_options.maxDepth);
    for (int type : kinds) {
        const int parent = PickParent();
        const int level = m_entries[parent].level + 1;
        const uint32_t serial = static_cast<uint32_t>(m_entries.size());
        m_entries.push_back({type, Hex(m_random.Below(0xFFFFFF), 6) + "F:" + Hex(serial, 6), parent,
                             Name(), level});
        m_expected.deepestLevel = std::max(m_expected.deepestLevel, level);
        if (level < maxDepth) {
            m_parents.push_back(static_cast<int>(m_entries.size()) - 1);
        }
    }
}

bool Writer::WriteBroken(int kind) {
    const std::string base = "BAD" + Hex(static_cast<uint32_t>(++m_fileCounter), 5);
    const uint32_t messages = 1 + m_random.Below(m_options.maxMessageBytes + 1);
    ExpectedRow row;
    row.folderPath = kUnknownPath; // no identifier was read, and no entry has an empty one
    bool ok = true;
    switch (kind % 5) {
    case 0:
        row.fileName = base + Extension(".PMM");
        row.folderName = kPmmShort;
        ok = Write(m_mailbox + row.fileName,
                   PmmHeader(Name(), "X").substr(0, m_random.Below(kPmmHeaderSize)));
        break;
    case 1:
        row.fileName = base + Extension(".MBX");
        row.folderName = kPmgMissing;
        row.size = messages;
        ok = Write(m_mailbox + row.fileName, Filler(messages));
        break;
    case 2:
        row.fileName = base + Extension(".MBX");
        row.folderName = kPmgShort;
        row.size = messages;
        ok = Write(m_mailbox + row.fileName, Filler(messages)) &&
             Write(m_mailbox + base + Extension(".PMG"),
                   PmgHeader(Name(), "X").substr(0, m_random.Below(kPmgHeaderSize)));
        break;
    default: {
        const bool mbx = kind % 5 == 4;
        row.fileName = base + Extension(mbx ? ".MBX" : ".PMM");
        row.folderName = mbx ? kMbxUnopenable : kPmmUnopenable;
        std::error_code ec;
        ok = fs::create_directory(fs::path(m_mailbox + row.fileName), ec);
        if (!ok) {
            m_error = "cannot create directory " + m_mailbox + row.fileName;
        }
        break;
    }
    }
    m_expected.folders.push_back(row);
    return ok;
}

bool Writer::WriteHuge(int n) {
    const std::string base = "BIG" + Hex(static_cast<uint32_t>(++m_fileCounter), 5);
    const int parent = m_parents[m_random.Below(static_cast<uint32_t>(m_parents.size()))];
    const std::string id = "BIG:" + Hex(static_cast<uint32_t>(n), 6);
    m_entries.push_back({0, id, parent, Name(), m_entries[parent].level + 1});
    ExpectedRow row;
    row.fileName = base + Extension(".MBX");
    row.folderName = m_entries.back().name;
    row.folderPath = ParentPath(parent);
    row.size = (5ull << 30) + m_random.Below(1u << 20);
    if (!Write(m_mailbox + row.fileName, "") ||
        !Write(m_mailbox + base + Extension(".PMG"), PmgHeader(row.folderName, id))) {
        return false;
    }
    std::error_code ec;
    fs::resize_file(fs::path(m_mailbox + row.fileName), row.size, ec); // sparse: no disk used
    if (ec) {
        m_error = "cannot extend " + m_mailbox + row.fileName;
        return false;
    }
    m_expected.folders.push_back(row);
    return true;
}

bool Writer::WriteHierarchy() {
    std::vector<std::string> lines;
    for (const Entry& e : m_entries) {
        const std::string parentId = e.parent >= 0 ? m_entries[e.parent].id : std::string();
        lines.push_back(
            HierarchyLine(e.type, static_cast<int>(m_random.Below(10)), e.id, parentId, e.name));
    }
    if (m_options.hashFlood > 0) {
        for (const std::string& id : FnvFloodIdentifiers(m_options.hashFlood)) {
            lines.push_back(HierarchyLine(0, 0, id, m_entries[0].id, "Flut"));
        }
    }
    m_expected.hierarchyEntries = static_cast<int>(lines.size());
    if (m_options.brokenFolders > 0) {
        lines.push_back("");
        lines.push_back("-1,0,\"BROKEN\",\"\",\"Kaputt\"");
        lines.push_back("0,0,\"NOFIELD\",\"ROOT00\",");
    }
    for (size_t i = lines.size(); i > 1; --i) {
        std::swap(lines[i - 1], lines[m_random.Below(static_cast<uint32_t>(i))]);
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    const char* name = m_options.caseVariants ? "HIERARCH.PM" : "hierarch.pm";
    return Write(m_mailbox + name, text);
}

bool Writer::WriteDecoys() {
    // Names a careless match would take for folder files; none of them is one.
    return Write(m_mailbox + "NOTIZEN.PMMX", PmmHeader("Keine Mappe", "DECOY")) &&
           Write(m_mailbox + "ALT.PMM.BAK", PmmHeader("Sicherung", "DECOY")) &&
           Write(m_mailbox + "EINSAM.PMG", PmgHeader("Ohne MBX", "DECOY"));
}

bool Writer::WriteNewMail(const std::string& dir) {
    for (int i = 0; i < m_options.newMailFiles; ++i) {
        const uint32_t bytes = 1 + m_random.Below(m_options.maxMessageBytes + 1);
        const std::string name = Hex(static_cast<uint32_t>(0x1000 + i), 8) + Extension(".CNM");
        if (!Write(dir + name, Filler(bytes))) {
            return false;
        }
        m_expected.newMailFiles++;
        m_expected.newMailSize += bytes;
    }
    if (m_options.brokenFolders > 0) {
        return Write(dir + "ENTWURF.CNM.TMP", Filler(100)) && Write(dir + "LIESMICH.TXT", "x");
    }
    return true;
}

bool Writer::Run(const std::string& mailboxDir, const std::string& newmailDir) {
    m_expected = Expectation();
    m_mailbox = WithSeparator(mailboxDir);
    if (!PrepareDirectory(m_mailbox)) {
        return false;
    }
    const std::string newmail = WithSeparator(newmailDir);
    if (!newmail.empty() && !PrepareDirectory(newmail)) {
        return false;
    }
    BuildTree();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].type == 0 &&
            !WriteFolder(m_entries[i].name, m_entries[i].id, m_entries[i].parent,
                         m_random.Chance(static_cast<uint32_t>(m_options.mbxPercent)))) {
            return false;
        }
    }
    for (int i = 0; i < m_options.orphans; ++i) {
        if (!WriteFolder(Name(), "VERWAIST:" + Hex(static_cast<uint32_t>(i), 6), -1,
                         m_random.Chance(static_cast<uint32_t>(m_options.mbxPercent)))) {
            return false;
        }
    }
    for (int i = 0; i < m_options.hugeFolders; ++i) {
        if (!WriteHuge(i)) {
            return false;
        }
    }
    for (int i = 0; i < m_options.brokenFolders; ++i) {
        if (!WriteBroken(i)) {
            return false;
        }
    }
    if (m_options.brokenFolders > 0 && !WriteDecoys()) {
        return false;
    }
    if (m_options.writeHierarchy && !WriteHierarchy()) {
        return false;
    }
    if (!m_options.writeHierarchy) {
        for (ExpectedRow& row : m_expected.folders) {
            row.folderPath.clear();
        }
    }
    return newmail.empty() || WriteNewMail(newmail);
}

} // namespace

bool Generate(const std::string& mailboxDir, const std::string& newmailDir, const Options& options,
              Expectation& expected, std::string& error) {
    Writer writer(options, expected, error);
    return writer.Run(mailboxDir, newmailDir);
}

} // namespace mailgen
