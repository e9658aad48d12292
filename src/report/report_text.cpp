// Report text. Cells are measured in characters of the 8-bit text (one byte each) before
// the conversion, so aligned columns line up whatever the UTF-8 lengths are.
#include "report/report_text.h"

#include "diag/trace.h"
#include "sizes/size_text.h"

#include <algorithm>
#include <cstring>

namespace report {

namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252.
const uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const char kTitleFileName[] = "Dateiname";
const char kTitleSize[] = "Größe";
const char kTitleFolder[] = "Ordnername";

// The UTF-8 bytes of every Windows-1252 byte, built once: a length and up to 3 bytes.
struct Utf8Table {
    Utf8Table() {
        for (unsigned byte = 0; byte < 256; ++byte) {
            const unsigned code = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
            char* b = bytes[byte];
            if (code < 0x80) {
                b[0] = static_cast<char>(code);
                length[byte] = 1;
            } else if (code < 0x800) {
                b[0] = static_cast<char>(0xC0 | (code >> 6));
                b[1] = static_cast<char>(0x80 | (code & 0x3F));
                length[byte] = 2;
            } else {
                b[0] = static_cast<char>(0xE0 | (code >> 12));
                b[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                b[2] = static_cast<char>(0x80 | (code & 0x3F));
                length[byte] = 3;
            }
        }
    }
    char bytes[256][3];
    unsigned char length[256];
};

const Utf8Table& Utf8() {
    static const Utf8Table table;
    return table;
}

// Converts `text`; with `cell`, bytes below 0x20 become '?' on the way.
void AppendConverted(std::string& out, std::string_view text, bool cell) {
    const Utf8Table& table = Utf8();
    const unsigned char low = cell ? 0x20 : 0x00;
    size_t i = 0;
    while (i < text.size()) {
        // Runs of printable ASCII, the bulk of every report, go over in one piece.
        size_t run = i;
        // Eight bytes at a time while none has its top bit set or lies below `low`.
        const uint64_t lows = 0x0101010101010101ull * low;
        const uint64_t tops = 0x8080808080808080ull;
        while (run + 8 <= text.size()) {
            uint64_t w;
            std::memcpy(&w, text.data() + run, 8);
            if ((w & tops) != 0 || ((w - lows) & ~w & tops) != 0) {
                break;
            }
            run += 8;
        }
        while (run < text.size() && static_cast<unsigned char>(text[run]) < 0x80 &&
               static_cast<unsigned char>(text[run]) >= low) {
            ++run;
        }
        out.append(text.data() + i, run - i);
        if (run == text.size()) {
            break;
        }
        const unsigned char byte = static_cast<unsigned char>(text[run]);
        if (byte < low) {
            out.push_back('?');
        } else {
            out.append(table.bytes[byte], table.length[byte]);
        }
        i = run + 1;
    }
}

struct Cells {
    std::string fileName;
    std::string size;
    std::string folder;
};

void AppendCell(std::string& out, std::string_view text) {
    for (char c : text) {
        out.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    }
}

Cells CellsOf(const FolderRecord& record, bool exact) {
    Cells cells;
    AppendCell(cells.fileName, record.fileName);
    cells.size = FormatSize(record.size, SizeStyleFor(!exact));
    AppendCell(cells.folder, record.folderPath);
    AppendCell(cells.folder, record.folderName);
    return cells;
}

void AppendPadded(std::string& out, const std::string& cell, size_t width, bool right) {
    const std::string padding(width > cell.size() ? width - cell.size() : 0, ' ');
    if (right) {
        out += padding;
    }
    AppendUtf8FromCp1252(out, cell);
    if (!right) {
        out += padding;
    }
}

} // namespace

void AppendUtf8FromCp1252(std::string& out, std::string_view text) {
    AppendConverted(out, text, false);
}

std::string Utf8FromCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    AppendUtf8FromCp1252(out, text);
    return out;
}

std::string StatusLine(int32_t fileCount, uint64_t totalSize) {
    return FormatText("%d Dateien, %s (%s Bytes)", static_cast<int>(fileCount),
                      FormatSize(totalSize, SizeStyle::Compact).c_str(),
                      FormatSize(totalSize, SizeStyle::Exact).c_str());
}

std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options) {
    const std::vector<const FolderRecord*> rows =
        SortRows(catalogue, options.sortColumn, options.sortDescending);
    std::string out;
    out.reserve((rows.size() + 2) * 96);
    if (options.tsv) {
        // Straight through: no column widths to find, so no table of cells.
        AppendUtf8FromCp1252(out,
                             FormatText("%s\t%s\t%s\n", kTitleFileName, kTitleSize, kTitleFolder));
        for (const FolderRecord* row : rows) {
            AppendConverted(out, row->fileName, true);
            out += '\t';
            out +=
                FormatSize(row->size, SizeStyleFor(!options.exactSizes)); // digits and ASCII units
            out += '\t';
            AppendConverted(out, row->folderPath, true);
            AppendConverted(out, row->folderName, true);
            out += '\n';
        }
    } else {
        std::vector<Cells> table;
        table.reserve(rows.size() + 1);
        table.push_back(Cells{kTitleFileName, kTitleSize, kTitleFolder});
        for (const FolderRecord* row : rows) {
            table.push_back(CellsOf(*row, options.exactSizes));
        }
        size_t nameWidth = 0;
        size_t sizeWidth = 0;
        for (const Cells& cells : table) {
            nameWidth = std::max(nameWidth, cells.fileName.size());
            sizeWidth = std::max(sizeWidth, cells.size.size());
        }
        for (const Cells& cells : table) {
            AppendPadded(out, cells.fileName, nameWidth, false);
            out += "  ";
            AppendPadded(out, cells.size, sizeWidth, true);
            out += "  ";
            AppendUtf8FromCp1252(out, cells.folder);
            out += '\n';
        }
    }
    AppendUtf8FromCp1252(out, StatusLine(catalogue.fileCount, catalogue.totalSize));
    out += '\n';
    return out;
}

} // namespace report
