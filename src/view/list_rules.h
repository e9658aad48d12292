// Rules of the read-only folder list that need no window: where the list stands again
// after a refill, which row type-ahead finds, and the default column widths for the
// screen's DPI.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace view {

// The row to show first again after the rows were refilled, among `count` rows in
// sort order: the row that `isSame` recognises (the one shown first before), else the
// first row that `sortsAfter` puts after the old one, else the last row; -1 for no rows.
int FindKeptRow(int count, const std::function<bool(int)>& isSame,
                const std::function<bool(int)>& sortsAfter);

// Whether `text` starts with `prefix`, ignoring the case of Windows-1252 letters
// ("ö" finds "Öffentlich").
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

// The first of `count` rows whose text starts with `prefix`, or -1 (also for "").
int FindPrefixRow(int count, const std::function<std::string(int)>& textOf,
                  const std::string& prefix);

// The letters typed so far: a letter within the pause of the one before extends them,
// later ones start anew, as the platform's own lists and Explorer do.
class TypeAhead {
public:
    static constexpr uint32_t kPauseMs = 1000;

    // Adds `letter` typed at `nowMs` (a millisecond clock that may wrap) and returns
    // the letters to search for.
    const std::string& Add(char letter, uint32_t nowMs);
    void Reset() { m_strTyped.clear(); }

private:
    std::string m_strTyped;
    uint32_t m_nLastMs = 0;
};

// `pixels96` at 96 DPI, for a screen of `dpi` (rounded; 0 or less counts as 96).
int ScaleForDpi(int pixels96, int dpi);

// A column's default width: its scaled default, widened to hold a text of `textWidth`
// pixels with the list's cell padding on both sides.
int FitColumnWidth(int scaledDefault, int textWidth, int padding);

// The widest text of the size column in exact form: a folder of 5 GiB, which is over
// the mail client's limit and so carries its mark.
constexpr char kWidestSizeText[] = "!! 5.368.941.430";

} // namespace view
