// The mail client's folder tree, read from "hierarch.pm" in the mailbox directory:
// one entry per line, each naming its parent by identifier. A scan fills the table
// once and asks it for the parent path of every folder file.
#pragma once

#include "text/sip_hash.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class HierarchyEntry {
public:
    HierarchyEntry() = default;
    HierarchyEntry(const HierarchyEntry&) = default;
    HierarchyEntry& operator=(const HierarchyEntry&) = default;
    // Moves too, so the growing table moves its entries instead of copying every text.
    HierarchyEntry(HierarchyEntry&&) = default;
    HierarchyEntry& operator=(HierarchyEntry&&) = default;
    virtual ~HierarchyEntry() = default;

    // Resets the entry and reads the five comma-separated fields of `line` (two
    // numbers, then the identifier, the parent's identifier and the name, each quoted
    // or plain). The line ends at its first NUL byte, if it has one. True when all five
    // were read; otherwise the entry holds what was read before the failing field and
    // is not to be used.
    bool ParseLine(const std::string& line);

    int32_t type = -1; // 2 marks a root: the walk up to the top ends there
    std::string id;
    std::string parentId;
    std::string name;
};

// `path` cut at the front to at most `limit` bytes when it is longer: the ellipsis of
// the system's code page ("…", 0x85 in Windows-1252), then as much of the path's end
// as fits, from wherever the limit falls: "…rchiv\Kunden\2024\".
void KeepPathEnd(std::string& path, size_t limit);

class pmHierarch {
public:
    // Bounds far above any tree a mail client writes (lines of a few dozen bytes, a
    // few MiB for tens of thousands of folders): a longer "hierarch.pm", one with a
    // longer line, or a device that never ends, is no folder tree, and reading it
    // whole could exhaust the memory.
    static constexpr size_t kMaxLineBytes = 64 * 1024;
    static constexpr uint64_t kMaxFileBytes = 32u << 20;
    // The longest folder path a scan gives, in characters of the 8-bit text, the
    // longest path Windows' wide functions take: a longer one (a chain of thousands of
    // entries) keeps its end, as KeepPathEnd cuts it.
    static constexpr size_t kMaxPathLength = 32767;

    // Empties the table and reads "hierarch.pm" from `mailboxDir` (which ends with a
    // separator). False when the file cannot be opened, is no regular file, or passes
    // a bound above (the table then stays empty); lines that do not parse are traced
    // and skipped.
    bool Fill(const std::string& mailboxDir);

    // Position of the first entry whose identifier equals `id` without regard to the
    // case of ASCII letters, or -1.
    int FindIndex(const std::string& id) const;

    // The path of the entry `id`: "\" after each ancestor's name below the root,
    // beginning with "\", followed by the entry's own name when `withOwnName` is set.
    // An entry of type 2 has the empty path; an identifier not in the table gives
    // "<???>", and so does a parent missing from the table, in front of the names
    // found below it. A path longer than kMaxPathLength keeps its end (KeepPathEnd);
    // the walk up then ends where the names have filled it.
    std::string ResolvePath(const std::string& id, bool withOwnName) const;
    // The same for the entry at `index`, as FindIndex gave it (-1: not in the table).
    std::string ResolvePathAt(int index, bool withOwnName) const;

    const std::vector<HierarchyEntry>& Entries() const { return m_entries; }
    // The most slots one identifier's insertion into the index looked at: a few for any
    // file, where a hash the file could choose would let it reach the number of entries.
    size_t LongestProbe() const { return m_nLongestProbe; }
    // The step of the walk up from entry `index`: FindIndex of its parentId (-1 when
    // missing), and whether an entry is a root (type 2), where the walk ends.
    int ParentIndex(int index) const { return m_parentIndex[index]; }
    bool IsRoot(int index) const { return m_isRoot[index] != 0; }

private:
    void Append(HierarchyEntry&& entry);
    void BuildIndex();
    // Positions from `index` up to the entry just below a root (type 2); `rootReached`
    // is false when the walk ended at a missing parent or at a loop. `length` starts
    // as the length of the path without ancestors and grows by a backslash and a name
    // per step; the walk ends early once it passes kMaxPathLength.
    std::vector<int> WalkUp(int index, size_t& length, bool& rootReached) const;

    std::vector<HierarchyEntry> m_entries;
    // Identifier (folded) -> first entry with it, built once when filling, so each
    // lookup of a scan costs one hash instead of a walk over the whole table.
    struct Slot {
        uint32_t hash;
        int32_t entry; // -1: empty
    };
    std::vector<Slot> m_slots;
    text::HashKey m_key; // the run's, for the identifiers' hashes
    size_t m_nLongestProbe = 0;
    // FindIndex of each entry's parentId, found once after filling: walking up the
    // tree then follows positions and hashes nothing.
    std::vector<int> m_parentIndex;
    // Whether each entry is a root (type 2), by position: the walk reads these for
    // every step, and a byte each keeps them all close together.
    std::vector<unsigned char> m_isRoot;
};
