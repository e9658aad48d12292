// Changes in sign and magnitude: two sizes of up to 2^64 - 1 differ by up to 65 bits,
// and a removed row of 2^63 bytes or more has no negative int64_t.
#include "sizes/byte_change.h"

#include "sizes/size_text.h"
#include "text/language.h"

ByteChange ChangeBetween(uint64_t now, uint64_t then) {
    if (now >= then) {
        return {false, now - then};
    }
    return {true, then - now};
}

uint64_t AddSizes(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

std::string ChangeDigits(const ByteChange& change) {
    return (change.negative ? "-" : "") + std::to_string(change.magnitude);
}

ByteChange AddChanges(const ByteChange& a, const ByteChange& b) {
    const uint64_t grown = AddSizes(a.negative ? 0 : a.magnitude, b.negative ? 0 : b.magnitude);
    const uint64_t shrunk = AddSizes(a.negative ? a.magnitude : 0, b.negative ? b.magnitude : 0);
    return ChangeBetween(grown, shrunk);
}

int CompareChanges(const ByteChange& a, const ByteChange& b) {
    if (a.negative != b.negative) {
        return a.negative ? -1 : 1;
    }
    if (a.magnitude == b.magnitude) {
        return 0;
    }
    const bool smaller = a.magnitude < b.magnitude;
    return smaller != a.negative ? -1 : 1;
}

std::string ChangeText(const RowChange& change, bool exact) {
    const bool english = UserLanguage() == Language::English;
    if (change.kind == RowChange::kNew) {
        return english ? "new" : "neu";
    }
    if (change.kind == RowChange::kRemoved) {
        return english ? "removed" : "entfernt";
    }
    if (change.bytes.magnitude == 0) {
        return FormatSize(0, SizeStyleFor(!exact));
    }
    return (change.bytes.negative ? "-" : "+") +
           FormatSize(change.bytes.magnitude, SizeStyleFor(!exact));
}
