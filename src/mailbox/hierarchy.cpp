// Parsing "hierarch.pm" and walking its tree. The file comes from another program and
// may be damaged in any way: the parser reads each line with defined results for every
// byte sequence, and the walk up the tree keeps its own list instead of recursing, so
// neither a loop of parents nor a chain of any depth can exhaust the stack.
#include "mailbox/hierarchy.h"

#include "diag/trace.h"
#include "platform/files.h"
#include "platform/keyed_hash.h"
#include "platform/text.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

// The identifier's hash with ASCII letters folded, so case variants hash alike; keyed
// for the run, so a file cannot pick identifiers that all share one slot.
uint32_t FoldedHash(const text::HashKey& key, const std::string& id) {
    return static_cast<uint32_t>(text::SipHash13(key, id, text::FoldAscii));
}

// Reads the fields of one line from left to right. The line is a text: it ends at its
// first NUL byte, as it does for the trace line that names it when it fails. Kept
// inside a name, the NUL would cut off, in the list, everything shown after it: the
// names below it and the folder's own name.
class FieldReader {
public:
    explicit FieldReader(const std::string& line)
        : m_line(line.data(), std::min(line.size(), line.find('\0'))) {}

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
            value.assign(m_line.data() + m_pos, end - m_pos);
            m_pos = end;
            SkipPastComma();
            return true;
        }
        ++m_pos;
        for (;;) {
            // Plain characters up to the next quote or backslash go over in one piece.
            size_t stop = m_pos;
            while (stop < m_line.size() && m_line[stop] != '"' && m_line[stop] != '\\') {
                ++stop;
            }
            value.append(m_line.data() + m_pos, stop - m_pos);
            m_pos = stop;
            if (AtEnd()) {
                return false;
            }
            if (m_line[m_pos++] == '"') {
                break;
            }
            if (AtEnd()) { // a backslash as the last character
                return false;
            }
            value += m_line[m_pos++];
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

    const std::string_view m_line;
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
    m_slots.clear();
    m_nLongestProbe = 0;
    m_parentIndex.clear();
    m_isRoot.clear();
    const std::string path = mailboxDir + "hierarch.pm";
    platform::TextLineReader reader;
    reader.SetLimits(kMaxLineBytes, kMaxFileBytes);
    // An unknown mailbox directory is empty text, never the current directory.
    if (mailboxDir.empty() || !reader.Open(path)) {
        Trace("[pmHierarch.Fill] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n",
              path.c_str());
        return false;
    }
    std::string line;
    HierarchyEntry entry;
    while (reader.ReadLine(line)) {
        if (entry.ParseLine(line)) {
            Append(std::move(entry)); // ParseLine resets it for the next line
        } else {
            Trace("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"%s\".\n", line.c_str());
        }
    }
    if (reader.TooLong()) {
        // Half a tree would place folders wrongly without a word: none is placed.
        m_entries = std::vector<HierarchyEntry>();
        Trace("[pmHierarch.Fill] WARNUNG: Datei \"%s\" ist l\xE4nger als %u Bytes oder hat eine "
              "Zeile von mehr als %u Bytes\n",
              path.c_str(), static_cast<unsigned>(kMaxFileBytes),
              static_cast<unsigned>(kMaxLineBytes));
        return false;
    }
    BuildIndex();
    m_parentIndex.reserve(m_entries.size());
    m_isRoot.reserve(m_entries.size());
    for (const HierarchyEntry& e : m_entries) {
        m_parentIndex.push_back(FindIndex(e.parentId));
        m_isRoot.push_back(e.type == 2 ? 1 : 0);
    }
    return true;
}

void pmHierarch::Append(HierarchyEntry&& entry) {
    m_entries.push_back(std::move(entry));
}

void pmHierarch::BuildIndex() {
    // Open addressing in one array, at most half full: a lookup hashes the identifier
    // once and usually touches one slot and one entry, with no key strings built.
    size_t capacity = 16;
    while (capacity < 2 * m_entries.size()) {
        capacity *= 2;
    }
    m_slots.assign(capacity, Slot{0, -1});
    m_key = platform::RunHashKey();
    m_nLongestProbe = 0;
    const size_t mask = capacity - 1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const uint32_t hash = FoldedHash(m_key, m_entries[i].id);
        size_t probe = 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask, ++probe) {
            m_nLongestProbe = std::max(m_nLongestProbe, probe);
            Slot& slot = m_slots[at];
            if (slot.entry < 0) {
                slot = Slot{hash, static_cast<int32_t>(i)};
                break;
            }
            if (slot.hash == hash &&
                text::EqualIgnoringAsciiCase(m_entries[slot.entry].id, m_entries[i].id)) {
                break; // the first entry of an identifier stays the one found
            }
        }
    }
}

int pmHierarch::FindIndex(const std::string& id) const {
    if (m_slots.empty()) {
        return -1;
    }
    const uint32_t hash = FoldedHash(m_key, id);
    const size_t mask = m_slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.entry < 0) {
            return -1;
        }
        if (slot.hash == hash && text::EqualIgnoringAsciiCase(m_entries[slot.entry].id, id)) {
            return slot.entry;
        }
    }
}

std::vector<int> pmHierarch::WalkUp(int index, size_t& length, bool& rootReached) const {
    // At most one visit per entry. A parent that is already on the way is a loop in
    // the file: no root can be reached from it, as from a missing parent, so the walk
    // ends there the same way.
    std::vector<int> chain;
    chain.reserve(16); // one allocation for the usual depths, not one per doubling
    chain.push_back(index);
    std::vector<bool> seen;             // one bit per entry, made only for chains past kLinearLimit
    constexpr size_t kLinearLimit = 16; // short chains, the usual case, need no more
    rootReached = false;
    for (;;) {
        const int parent = m_parentIndex[index];
        if (parent < 0 || length > kMaxPathLength) {
            return chain;
        }
        if (m_isRoot[parent]) {
            rootReached = true;
            return chain;
        }
        bool repeated = false;
        if (chain.size() < kLinearLimit) {
            for (int visited : chain) {
                repeated = repeated || visited == parent;
            }
        } else {
            if (seen.empty()) {
                seen.assign(m_entries.size(), false);
                for (int visited : chain) {
                    seen[visited] = true;
                }
            }
            repeated = seen[parent];
            seen[parent] = true;
        }
        if (repeated) {
            return chain;
        }
        chain.push_back(parent);
        length += 1 + m_entries[parent].name.size();
        index = parent;
    }
}

std::string pmHierarch::ResolvePath(const std::string& id, bool withOwnName) const {
    return ResolvePathAt(FindIndex(id), withOwnName);
}

std::string pmHierarch::ResolvePathAt(int index, bool withOwnName) const {
    // Written with escapes: "??>" would be a trigraph.
    const std::string unknown = "<\?\?\?>";
    if (index < 0) {
        return unknown;
    }
    if (m_entries[index].type == 2) {
        return std::string();
    }
    // A loop renders like a missing parent: "<???>", then the names from the first
    // repeated entry down, so the user sees how far the tree could be followed.
    size_t length = 1 + (withOwnName ? m_entries[index].name.size() : 0);
    bool rootReached = false;
    const std::vector<int> chain = WalkUp(index, length, rootReached);
    std::string path = rootReached ? std::string() : unknown;
    path.reserve(path.size() + length);
    for (size_t k = chain.size() - 1; k > 0; --k) {
        path += '\\';
        path += m_entries[chain[k]].name;
    }
    path += '\\';
    if (withOwnName) {
        path += m_entries[index].name;
    }
    KeepPathEnd(path, kMaxPathLength);
    return path;
}

void KeepPathEnd(std::string& path, size_t limit) {
    if (path.size() <= limit) {
        return;
    }
    const std::string ellipsis = platform::SystemText("\x85");
    const size_t keep = limit > ellipsis.size() ? limit - ellipsis.size() : 0;
    path.replace(0, path.size() - keep, ellipsis);
    if (path.size() > limit) { // an ellipsis of more bytes than the limit itself
        path.resize(limit);
    }
}
