// Fuzzes the hierarchy: the line parser on any bytes, then the input as a whole
// "hierarch.pm", whose lookups must agree with a linear search and whose paths must
// agree with the plain recursive definition wherever that ends (cut to the bound of a
// path), and end regardless.
#include "fuzz_files.h"
#include "mailbox/hierarchy.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string Fold(std::string s) {
    for (char& c : s) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return s;
}

int LinearFind(const pmHierarch& h, const std::string& id) {
    for (size_t i = 0; i < h.Entries().size(); ++i) {
        if (Fold(h.Entries()[i].id) == Fold(id)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The path by its recursive definition; false when deeper than the table is long,
// which only a loop of parents can be.
bool ReferencePath(const pmHierarch& h, const std::string& id, bool own, size_t depth,
                   std::string& out) {
    if (depth > h.Entries().size()) {
        return false;
    }
    const int i = LinearFind(h, id);
    if (i < 0) {
        out = "<\?\?\?>";
        return true;
    }
    const HierarchyEntry& e = h.Entries()[i];
    if (e.type == 2) {
        out.clear();
        return true;
    }
    if (!ReferencePath(h, e.parentId, true, depth + 1, out)) {
        return false;
    }
    out += '\\';
    if (own) {
        out += e.name;
    }
    return true;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

void CheckLine(const std::string& line) {
    HierarchyEntry e;
    if (!e.ParseLine(line)) {
        return;
    }
    Check(e.type >= 0);
    // Every parsed entry written back with quoted texts reads the same.
    HierarchyEntry again;
    Check(again.ParseLine(std::to_string(e.type) + ",0," + Quote(e.id) + "," + Quote(e.parentId) +
                          "," + Quote(e.name)));
    Check(again.type == e.type && again.id == e.id && again.parentId == e.parentId &&
          again.name == e.name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckLine(input);

    const std::string& dir = fuzzfiles::ScratchDir();
    fuzzfiles::Write(dir + "hierarch.pm", input);
    pmHierarch h;
    // Only a line past the bound makes the file unreadable; a file past it is longer still.
    if (!h.Fill(dir)) {
        Check(input.size() > pmHierarch::kMaxLineBytes);
        Check(h.Entries().empty());
        return 0;
    }
    std::string probe;
    // The reference walk is quadratic in the table; a few dozen probes find as much.
    const size_t probes = h.Entries().size() < 32 ? h.Entries().size() : 32;
    for (size_t i = 0; i <= probes; ++i) {
        const std::string ids[] = {
            i < probes ? h.Entries()[i].id : std::string(),
            i < probes ? Fold(h.Entries()[i].parentId) : std::string("?"),
        };
        for (const std::string& id : ids) {
            Check(h.FindIndex(id) == LinearFind(h, id));
            for (bool own : {false, true}) {
                const std::string path = h.ResolvePath(id, own);
                Check(path.size() <= pmHierarch::kMaxPathLength);
                if (ReferencePath(h, id, own, 0, probe)) {
                    KeepPathEnd(probe, pmHierarch::kMaxPathLength);
                    Check(path == probe);
                } else {
                    Check(path.compare(0, 5, "<\?\?\?>") == 0);
                }
            }
        }
    }
    return 0;
}
