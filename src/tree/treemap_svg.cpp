// The treemap as an SVG document: the tiles in the layout's order, so a parent lies
// beneath its children, each with a <title> a browser shows on hover, and the names of
// the branches in their bands. Names are Windows-1252 in the tree and leave as UTF-8,
// escaped for XML; control characters, which XML 1.0 does not allow, become '?'.
#include "mailbox/hierarchy.h"
#include "sizes/size_text.h"
#include "text/cp1252_unicode.h"
#include "tree/treemap.h"

#include <vector>

namespace tree {

std::string TreemapPath(const FolderTree& tree, uint32_t node) {
    std::vector<std::string> names;
    size_t length = 0;
    for (int at = static_cast<int>(node); at >= 0 && length <= kTreemapPathLength;
         at = tree.Nodes()[static_cast<size_t>(at)].parent) {
        names.push_back(tree.DisplayName(at));
        length += names.back().size() + 1;
    }
    std::string path;
    path.reserve(length);
    for (size_t k = names.size(); k-- > 0;) {
        path += names[k];
        if (k > 0) {
            path += '\\';
        }
    }
    KeepPathEnd(path, kTreemapPathLength);
    return path;
}

namespace {

// Appends Windows-1252 `text` as UTF-8 character data or an attribute value.
void AppendXmlText(std::string& out, std::string_view text) {
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default: {
            char bytes[3];
            const uint32_t code = text::IsWindows1252Control(byte)
                                      ? static_cast<uint32_t>('?')
                                      : text::UnicodeOfWindows1252(byte);
            out.append(bytes, static_cast<size_t>(text::Utf8OfCodePoint(code, bytes)));
        }
        }
    }
}

void AppendNumber(std::string& out, const char* name, int64_t value) {
    out += name;
    out += "=\"";
    out += std::to_string(value);
    out += '"';
}

// Half a pixel in from an edge: where a line of one pixel covers whole pixels.
void AppendInset(std::string& out, const char* name, int32_t value) {
    out += name;
    out += "=\"";
    out += std::to_string(value);
    out += ".5\"";
}

void AppendFill(std::string& out, uint32_t rgb) {
    static const char kHex[] = "0123456789abcdef";
    out += " fill=\"#";
    for (int shift = 20; shift >= 0; shift -= 4) {
        out += kHex[(rgb >> shift) & 0xF];
    }
    out += '"';
}

// The name in a band `width` pixels wide in a font `font` pixels high, cut with an
// ellipsis where an average letter (three fifths of the font's height) would not fit.
std::string BandName(const std::string& name, int32_t width, int32_t font) {
    const int64_t letters = static_cast<int64_t>(width) * 5 / (3 * static_cast<int64_t>(font));
    if (letters >= static_cast<int64_t>(name.size())) {
        return name;
    }
    return letters < 2 ? std::string() : name.substr(0, static_cast<size_t>(letters - 1)) + '\x85';
}

} // namespace

std::string TreemapSvg(const FolderTree& tree, const Treemap& map, TreemapColour colour,
                       int64_t now) {
    const int32_t width = map.bounds.right - map.bounds.left;
    const int32_t height = map.bounds.bottom - map.bounds.top;
    // The band's height is what lies between a named tile's top and its children.
    int32_t band = 0;
    for (const TreemapTile& tile : map.tiles) {
        if (tile.named) {
            band = tile.children.top - tile.rect.top;
            break;
        }
    }
    const int32_t font = band > 6 ? band - 4 : 8;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "
                      "xmlns=\"http://www.w3.org/2000/svg\"";
    AppendNumber(out, " width", width);
    AppendNumber(out, " height", height);
    out += " viewBox=\"0 0 " + std::to_string(width) + ' ' + std::to_string(height) + '"';
    out += " font-family=\"Segoe UI, Tahoma, Arial, sans-serif\"";
    AppendNumber(out, " font-size", font);
    out += ">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
           "<g stroke=\"#000000\" stroke-opacity=\"0.35\">\n";
    for (const TreemapTile& tile : map.tiles) {
        const TreemapRect& r = tile.rect;
        const int32_t w = r.right - r.left;
        const int32_t h = r.bottom - r.top;
        out += "<rect";
        if (w >= 3 && h >= 3) {
            // The outline inside the tile, so that neighbours' lines do not cover each other.
            AppendInset(out, " x", r.left);
            AppendInset(out, " y", r.top);
            AppendNumber(out, " width", w - 1);
            AppendNumber(out, " height", h - 1);
        } else {
            AppendNumber(out, " x", r.left);
            AppendNumber(out, " y", r.top);
            AppendNumber(out, " width", w);
            AppendNumber(out, " height", h);
            out += " stroke=\"none\"";
        }
        AppendFill(out, TileColour(tree, tile, colour, now));
        out += "><title>";
        AppendXmlText(out, TreemapPath(tree, tile.node));
        out += " (";
        AppendXmlText(out, FormatSize(tree.Nodes()[tile.node].totalSize, SizeStyle::Compact));
        out += ")</title></rect>\n";
        if (tile.named) {
            const int32_t inset = tile.children.left - r.left + 2;
            const std::string name =
                BandName(tree.DisplayName(static_cast<int>(tile.node)), w - 2 * inset, font);
            if (!name.empty()) {
                out += "<text stroke=\"none\" pointer-events=\"none\"";
                AppendNumber(out, " x", r.left + inset);
                AppendNumber(out, " y", tile.children.top - 3);
                out += '>';
                AppendXmlText(out, name);
                out += "</text>\n";
            }
        }
    }
    out += "</g>\n</svg>\n";
    return out;
}

} // namespace tree
