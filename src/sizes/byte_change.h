// A change in bytes between two scans, and its text: the report's change column, the
// main list's column "Änderung" and the tree's branch change all say it the same way.
#pragma once

#include <cstdint>
#include <string>

// Now minus then. Either side may be any size up to 2^64 - 1, so a change needs 65
// bits: it is kept as sign and magnitude.
struct ByteChange {
    bool negative = false; // never with magnitude 0
    uint64_t magnitude = 0;
};
ByteChange ChangeBetween(uint64_t now, uint64_t then);
// The sum of two byte counts, stopping at 2^64 - 1: a total that wrapped around would
// compare as a loss of nearly all of it.
uint64_t AddSizes(uint64_t a, uint64_t b);
// The change in decimal digits, '-' before a negative one: "-300", "0", "1200".
std::string ChangeDigits(const ByteChange& change);
inline bool operator==(const ByteChange& a, const ByteChange& b) {
    return a.negative == b.negative && a.magnitude == b.magnitude;
}
// The sum of two changes; a sum past 2^64 - 1 either way stops there.
ByteChange AddChanges(const ByteChange& a, const ByteChange& b);
// -1, 0, +1 as the signed values compare.
int CompareChanges(const ByteChange& a, const ByteChange& b);

// One folder file's change: grown or shrunk, new since, or gone since.
struct RowChange {
    enum Kind : uint8_t { kChanged, kNew, kRemoved };
    Kind kind = kChanged;
    ByteChange bytes; // now minus then; a new row its size, a removed one minus its size
};

// A change as the change columns show it: "+1,2 MB" (exact: "+1.234"), "neu",
// "entfernt"; no change is "0 Bytes" ("0"). In English "+1.2 MB", "new", "removed".
std::string ChangeText(const RowChange& change, bool exact);
