// The picture of a treemap on a device context, and that picture as a PNG file's bytes.
// The window paints it into a memory bitmap and copies that to the screen in one go, so
// that nothing flickers; "Bild speichern..." encodes the same bitmap.
#pragma once

#include "tree/treemap.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct TreemapPaint {
    const tree::FolderTree* tree = nullptr;
    const tree::Treemap* map = nullptr;
    tree::TreemapColour colour = tree::TreemapColour::kLimit;
    int64_t now = 0;       // Unix seconds, what the age colours are measured from
    HFONT font = nullptr;  // of the branches' names
    int32_t selected = -1; // the tile outlined; -1 for none
    // Of the screen: the frames, the outline, the margins of names and legend grow with it.
    int dpi = 96;
    // With a filter in the window it was opened from: per node, tree::kNodePasses for a
    // folder the filter shows, which keeps its colour; the others are dimmed. Null for
    // no filter.
    const std::vector<uint8_t>* kept = nullptr;
    // With the age colours: the legend's two ends, and their colours (0xRRGGBB).
    std::string newText;
    std::string oldText;
};

// Paints the map on `dc` (its bounds in the DC's coordinates): each tile filled with its
// colour and framed in a darker one, a branch's name in its band, the selected tile
// outlined, and with the age colours a legend at the bottom right.
void PaintTreemap(HDC dc, const TreemapPaint& paint);

// The map painted as above into a bitmap of its size and encoded as PNG by GDI+ (from
// the system directory); empty when GDI+ is missing or fails.
std::string TreemapPng(const TreemapPaint& paint);
