// One rule set for every window's stored state.
#include "view/window_state.h"

#include "settings/settings_store.h"
#include "settings/value_codecs.h"
#include "view/column_order.h"

#include <algorithm>
#include <climits>

namespace view {

namespace {

// Reads of a value that is missing or of another form give the default; a default no
// store holds tells them apart.
constexpr int32_t kAbsentInt = INT32_MIN;

int64_t Width(const PixelRect& r) {
    return static_cast<int64_t>(r.right) - r.left;
}

int64_t Height(const PixelRect& r) {
    return static_cast<int64_t>(r.bottom) - r.top;
}

bool Overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The area `a` and `b` have in common; 0 when they do not overlap.
int64_t OverlapArea(const PixelRect& a, const PixelRect& b) {
    const int64_t w = std::min<int64_t>(a.right, b.right) - std::max<int64_t>(a.left, b.left);
    const int64_t h = std::min<int64_t>(a.bottom, b.bottom) - std::max<int64_t>(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far `r` lies from `area`, along both axes together: 0 when they touch.
int64_t Distance(const PixelRect& r, const PixelRect& area) {
    const int64_t dx = std::max<int64_t>(
        {0, static_cast<int64_t>(area.left) - r.right, static_cast<int64_t>(r.left) - area.right});
    const int64_t dy = std::max<int64_t>(
        {0, static_cast<int64_t>(area.top) - r.bottom, static_cast<int64_t>(r.top) - area.bottom});
    return dx + dy;
}

// One axis of `r` moved into [low, high), shrunk when longer.
void Fit(int32_t& start, int32_t& end, int32_t low, int32_t high) {
    const int64_t length =
        std::min<int64_t>(static_cast<int64_t>(end) - start, static_cast<int64_t>(high) - low);
    int64_t from = std::max<int64_t>(start, low);
    from = std::min<int64_t>(from, high - length);
    start = static_cast<int32_t>(from);
    end = static_cast<int32_t>(from + length);
}

} // namespace

int32_t ScaleBetweenDpis(int32_t pixels, int32_t fromDpi, int32_t toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) {
        return pixels;
    }
    const int64_t scaled = static_cast<int64_t>(pixels) * toDpi;
    const int64_t half = fromDpi / 2;
    const int64_t rounded = (scaled >= 0 ? scaled + half : scaled - half) / fromDpi;
    return static_cast<int32_t>(
        std::min<int64_t>(std::max<int64_t>(rounded, INT32_MIN), INT32_MAX));
}

WindowPlacementRecord ScalePlacementForDpi(const WindowPlacementRecord& at96, int32_t dpi) {
    WindowPlacementRecord r = at96;
    if (dpi < kMinDpi || dpi > kMaxDpi) {
        return r;
    }
    r.normal.right = static_cast<int32_t>(
        r.normal.left +
        ScaleBetweenDpis(static_cast<int32_t>(Width(at96.normal)), kDefaultDpi, dpi));
    r.normal.bottom = static_cast<int32_t>(
        r.normal.top +
        ScaleBetweenDpis(static_cast<int32_t>(Height(at96.normal)), kDefaultDpi, dpi));
    return r;
}

WindowPlacementRecord FitPlacement(const WindowPlacementRecord& stored,
                                   const WindowPlacementRecord& fallback,
                                   const std::vector<PixelRect>& workAreas) {
    WindowPlacementRecord r = stored;
    if (r.length != kPlacementSize || Width(r.normal) <= 0 || Height(r.normal) <= 0) {
        r = fallback;
    }
    r.showCmd = r.showCmd == kShowMaximized ? kShowMaximized : kShowNormal;
    // A window on the screens keeps its place, even across two of them, unless it is
    // larger than all the screens it lies on together: then its caption may well be on
    // none, and it goes into the one it covers most.
    const PixelRect* nearest = nullptr;
    int64_t best = 0;
    const PixelRect* covered = nullptr;
    int64_t most = 0;
    PixelRect span = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const PixelRect& area : workAreas) {
        if (Width(area) <= 0 || Height(area) <= 0) {
            continue;
        }
        if (Overlaps(r.normal, area)) {
            span = {std::min(span.left, area.left), std::min(span.top, area.top),
                    std::max(span.right, area.right), std::max(span.bottom, area.bottom)};
            if (OverlapArea(r.normal, area) > most) {
                covered = &area;
                most = OverlapArea(r.normal, area);
            }
            continue;
        }
        const int64_t d = Distance(r.normal, area);
        if (nearest == nullptr || d < best) {
            nearest = &area;
            best = d;
        }
    }
    if (covered != nullptr) {
        if (Width(r.normal) <= Width(span) && Height(r.normal) <= Height(span)) {
            return r;
        }
        nearest = covered;
    }
    if (nearest != nullptr) {
        Fit(r.normal.left, r.normal.right, nearest->left, nearest->right);
        Fit(r.normal.top, r.normal.bottom, nearest->top, nearest->bottom);
    }
    return r;
}

WindowPlacementRecord LoadPlacement(SettingsStore& store, const WindowStateNames& names,
                                    const WindowPlacementRecord& fallback,
                                    const std::vector<PixelRect>& workAreas) {
    uint8_t bytes[kPlacementSize];
    EncodePlacement(fallback, bytes);
    if (names.placement != nullptr) {
        store.ReadBinary(names.placement, sizeof bytes, bytes, bytes);
    }
    return FitPlacement(DecodePlacement(bytes), fallback, workAreas);
}

namespace {

// The widths as stored under `names.widths`: `count` of them, or as many as an older
// version kept (each number from count - 1 down to olderWidthCount); all kAbsentInt for none.
std::vector<int32_t> ReadStoredWidths(SettingsStore& store, const WindowStateNames& names,
                                      size_t count) {
    const std::vector<int32_t> absent(count, kAbsentInt);
    std::vector<int32_t> stored(count, kAbsentInt);
    store.ReadIntArray(names.widths, count, absent.data(), stored.data());
    for (size_t older = count - 1;
         stored == absent && names.olderWidthCount > 0 && older >= names.olderWidthCount; --older) {
        store.ReadIntArray(names.widths, older, absent.data(), stored.data());
    }
    return stored;
}

} // namespace

void LoadListState(SettingsStore& store, const WindowStateNames& names,
                   const std::vector<int32_t>& defaultWidths, ListState& state) {
    const size_t count = state.widths.size();
    if (names.widths != nullptr && count > 0) {
        const std::vector<int32_t> absent(count, kAbsentInt);
        const std::vector<int32_t> stored = ReadStoredWidths(store, names, count);
        state.storedWidths.clear();
        if (stored != absent) {
            state.storedWidths = stored;
            // Widths kept without their DPI were kept by a version that knew none.
            const int32_t storedDpi = names.widthsDpi != nullptr
                                          ? store.ReadInt(names.widthsDpi, state.widthsDpi)
                                          : state.widthsDpi;
            const bool scale = storedDpi >= kMinDpi && storedDpi <= kMaxDpi &&
                               state.widthsDpi >= kMinDpi && state.widthsDpi <= kMaxDpi;
            for (size_t c = 0; c < count; ++c) {
                const bool usable = stored[c] >= 0 && stored[c] <= kMaxColumnWidth;
                state.widths[c] =
                    usable && scale
                        ? std::min(ScaleBetweenDpis(stored[c], storedDpi, state.widthsDpi),
                                   kMaxColumnWidth)
                        : stored[c];
            }
        }
        for (size_t c = 0; c < count; ++c) {
            if (state.widths[c] < 0 || state.widths[c] > kMaxColumnWidth) {
                state.widths[c] = c < defaultWidths.size() ? defaultWidths[c] : 0;
            }
        }
    }
    // An order that is not a permutation of the columns (edited by hand, or written
    // for another number of columns) would leave the header inconsistent.
    if (names.order != nullptr && !state.order.empty()) {
        std::vector<int32_t> order = state.order;
        store.ReadIntArray(names.order, order.size(), order.data(), order.data());
        if (IsColumnPermutation(order.data(), static_cast<int>(order.size()))) {
            state.order = order;
        }
    }
    if (names.sort != nullptr) {
        unsigned char sort[kSortValueSize];
        StoreLittleEndian32(state.sortColumn, sort);
        StoreLittleEndian32(state.sortDescending ? 1 : 0, sort + 4);
        store.ReadBinary(names.sort, sizeof sort, sort, sort);
        const int32_t columns =
            state.sortColumns > 0 ? state.sortColumns : static_cast<int32_t>(count);
        const int32_t last = columns > 0 ? columns - 1 : 0;
        state.sortColumn = std::min(std::max(LoadLittleEndian32(sort), 0), last);
        state.sortDescending = LoadLittleEndian32(sort + 4) != 0;
    }
}

bool SaveWindowState(SettingsStore& store, const WindowStateNames& names,
                     const WindowPlacementRecord& placement, const ListState& list) {
    bool written = true;
    if (names.placement != nullptr) {
        uint8_t bytes[kPlacementSize];
        EncodePlacement(placement, bytes);
        written = store.WriteBinary(names.placement, sizeof bytes, bytes) && written;
    }
    if (names.widths != nullptr) {
        written =
            store.WriteIntArray(names.widths, list.widths.size(), list.widths.data()) && written;
        // Read again right before: what another run stored meanwhile with its widths is
        // replaced only together with them. A store without the value (a new portable
        // file, or widths of a version that kept none) gets the DPI the widths showed at.
        const int32_t storedDpi =
            names.widthsDpi != nullptr ? store.ReadInt(names.widthsDpi, kAbsentInt) : kAbsentInt;
        if (names.widthsDpi != nullptr && storedDpi != list.widthsDpi &&
            (list.widths != list.storedWidths || storedDpi == kAbsentInt)) {
            written = store.WriteInt(names.widthsDpi, list.widthsDpi) && written;
        }
    }
    if (names.order != nullptr) {
        written = store.WriteIntArray(names.order, list.order.size(), list.order.data()) && written;
    }
    if (names.sort != nullptr) {
        unsigned char sort[kSortValueSize];
        StoreLittleEndian32(list.sortColumn, sort);
        StoreLittleEndian32(list.sortDescending ? 1 : 0, sort + 4);
        written = store.WriteBinary(names.sort, sizeof sort, sort) && written;
    }
    return written;
}

} // namespace view
