// Parsing "hierarch.pm" and walking its tree. The file comes from another program and
// may be damaged in any way: the parser reads each line with defined results for every
// byte sequence, and the walk up the tree keeps its own list instead of recursing, so
// neither a loop of parents nor a chain of any depth can exhaust the stack.
#include "mailbox/hierarchy.h"

#include "diag/trace.h"
#include "platform/files.h"

#include <unordered_set>

namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string FoldedKey(const std::string& id) {
    std::string key(id);
    for (char& c : key) {
        c = FoldAscii(c);
    }
    return key;
}

// Reads the fields of one line from left to right.
class FieldReader {
public:
    explicit FieldReader(const std::string& line) : m_line(line) {}

    // A number: blanks, then at least one decimal digit. The digits give the value
    // (held at INT32_MAX when there are too many for 32 bits); whatever follows them
    // up to and including the next comma is skipped.
    bool ReadNumber(int32_t& value) {
        SkipBlanks();
        if (AtEnd() || !IsDigit(m_line[m_pos])) {
            return false;
        }
        int64_t n = 0;
        while (!AtEnd() && IsDigit(m_line[m_pos])) {
            if (n <= INT32_MAX) {
                n = n * 10 + (m_line[m_pos] - '0');
            }
            ++m_pos;
        }
        value = n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
        SkipPastComma();
        return true;
    }

    // A text: fails only when the line has already ended, so blanks alone make an
    // empty plain value. A quoted value runs to the next unescaped quote; a backslash
    // takes the next character as it is. A quoted value that the line ends inside
    // (no closing quote, or a backslash as the last character) fails the line: such a
    // line was cut off, and what it would name cannot be trusted.
    bool ReadText(std::string& value) {
        value.clear();
        if (AtEnd()) {
            return false;
        }
        SkipBlanks();
        if (AtEnd() || m_line[m_pos] != '"') {
            const size_t comma = m_line.find(',', m_pos);
            const size_t end = comma == std::string::npos ? m_line.size() : comma;
            value.assign(m_line, m_pos, end - m_pos);
            m_pos = end;
            SkipPastComma();
            return true;
        }
        ++m_pos;
        for (;;) {
            if (AtEnd()) {
                return false;
            }
            char c = m_line[m_pos++];
            if (c == '"') {
                break;
            }
            if (c == '\\') {
                if (AtEnd()) {
                    return false;
                }
                c = m_line[m_pos++];
            }
            value += c;
        }
        SkipPastComma();
        return true;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    bool AtEnd() const { return m_pos >= m_line.size(); }

    void SkipBlanks() {
        while (!AtEnd() && (m_line[m_pos] == ' ' || m_line[m_pos] == '\t')) {
            ++m_pos;
        }
    }

    void SkipPastComma() {
        const size_t comma = m_line.find(',', m_pos);
        m_pos = comma == std::string::npos ? m_line.size() : comma + 1;
    }

    const std::string& m_line;
    size_t m_pos = 0;
};

} // namespace

bool HierarchyEntry::ParseLine(const std::string& line) {
    type = -1;
    id.clear();
    parentId.clear();
    name.clear();
    FieldReader reader(line);
    int32_t ignored = 0;
    return reader.ReadNumber(type) && reader.ReadNumber(ignored) && reader.ReadText(id) &&
           reader.ReadText(parentId) && reader.ReadText(name);
}

bool pmHierarch::Fill(const std::string& mailboxDir) {
    m_entries.clear();
    m_firstIndex.clear();
    const std::string path = mailboxDir + "hierarch.pm";
    platform::TextLineReader reader;
    if (!reader.Open(path)) {
        Trace("[pmHierarch.Fill] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n",
              path.c_str());
        return false;
    }
    std::string line;
    HierarchyEntry entry;
    while (reader.ReadLine(line)) {
        if (entry.ParseLine(line)) {
            Append(entry);
        } else {
            Trace("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"%s\".\n", line.c_str());
        }
    }
    return true;
}

void pmHierarch::Append(const HierarchyEntry& entry) {
    m_entries.push_back(entry);
    // emplace keeps an existing key: the first entry of an identifier stays the one found.
    m_firstIndex.emplace(FoldedKey(entry.id), static_cast<int>(m_entries.size() - 1));
}

int pmHierarch::FindIndex(const std::string& id) const {
    const auto it = m_firstIndex.find(FoldedKey(id));
    return it == m_firstIndex.end() ? -1 : it->second;
}

std::string pmHierarch::ResolvePath(const std::string& id, bool withOwnName) const {
    // Written with escapes: "??>" would be a trigraph.
    const std::string unknown = "<\?\?\?>";
    int index = FindIndex(id);
    if (index < 0) {
        return unknown;
    }
    if (m_entries[index].type == 2) {
        return std::string();
    }
    // The entries from the folder up to just below the root, at most one visit each.
    // A parent that is already on the way is a loop in the file: no root can be
    // reached, which is what "<???>" says for a missing parent, so a loop renders
    // like one: "<???>" followed by the names from the first repeated entry down.
    std::vector<int> chain{index};
    std::unordered_set<int> seen;
    constexpr size_t kLinearLimit = 16; // short chains, the usual case, need no set
    std::string prefix;
    for (;;) {
        const int parent = FindIndex(m_entries[index].parentId);
        if (parent < 0) {
            prefix = unknown;
            break;
        }
        if (m_entries[parent].type == 2) {
            break;
        }
        bool repeated = false;
        if (chain.size() < kLinearLimit) {
            for (int visited : chain) {
                repeated = repeated || visited == parent;
            }
        } else {
            if (seen.empty()) {
                seen.insert(chain.begin(), chain.end());
            }
            repeated = !seen.insert(parent).second;
        }
        if (repeated) {
            prefix = unknown;
            break;
        }
        chain.push_back(parent);
        index = parent;
    }
    size_t length = prefix.size() + chain.size();
    for (size_t k = 1; k < chain.size(); ++k) {
        length += m_entries[chain[k]].name.size();
    }
    std::string path;
    path.reserve(length + (withOwnName ? m_entries[chain[0]].name.size() : 0));
    path = prefix;
    for (size_t k = chain.size() - 1; k > 0; --k) {
        path += '\\';
        path += m_entries[chain[k]].name;
    }
    path += '\\';
    if (withOwnName) {
        path += m_entries[chain[0]].name;
    }
    return path;
}
