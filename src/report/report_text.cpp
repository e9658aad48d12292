// Report text. Cells are measured in characters of the 8-bit text (one byte each) before
// the conversion, so aligned columns line up whatever the UTF-8 lengths are.
#include "report/report_text.h"

#include "diag/trace.h"
#include "sizes/size_text.h"
#include "view/scan_view.h"

#include <algorithm>
#include <cstring>

namespace report {

void AppendCell(std::string& out, std::string_view text) {
    for (char c : text) {
        out.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    }
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

// Converts `text`; with `cell`, bytes below 0x20 become '?' on the way. Writes straight
// into `out`, grown once to the most the text can take (three bytes a character).
void AppendConverted(std::string& out, std::string_view text, bool cell) {
    const Utf8Table& table = Utf8();
    const unsigned char low = cell ? 0x20 : 0x00;
    const size_t before = out.size();
    out.resize(before + 3 * text.size());
    char* p = &out[before];
    const char* in = text.data();
    const char* const end = in + text.size();
    // Eight bytes at a time while none has its top bit set or lies below `low`: runs of
    // printable ASCII are the bulk of every report.
    const uint64_t lows = 0x0101010101010101ull * low;
    const uint64_t tops = 0x8080808080808080ull;
    while (in < end) {
        while (end - in >= 8) {
            uint64_t w;
            std::memcpy(&w, in, 8);
            if ((w & tops) != 0 || ((w - lows) & ~w & tops) != 0) {
                break;
            }
            std::memcpy(p, &w, 8);
            in += 8;
            p += 8;
        }
        if (in == end) {
            break;
        }
        const unsigned char byte = static_cast<unsigned char>(*in++);
        if (byte < low) {
            *p++ = '?';
        } else if (byte < 0x80) {
            *p++ = static_cast<char>(byte);
        } else {
            std::memcpy(p, table.bytes[byte], 3);
            p += table.length[byte];
        }
    }
    out.resize(static_cast<size_t>(p - out.data()));
}

struct Cells {
    std::string fileName;
    std::string size;
    std::string folder;
};

Cells CellsOf(const FolderRecord& record, bool exact) {
    Cells cells;
    AppendCell(cells.fileName, record.fileName);
    cells.size = FormatSize(record.size, SizeStyleFor(!exact));
    AppendCell(cells.folder, record.folderPath);
    AppendCell(cells.folder, record.folderName);
    return cells;
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

std::string Cp1252FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const int n = b < 0x80                ? 1
                      : b >= 0xC2 && b < 0xE0 ? 2
                      : b >= 0xE0 && b < 0xF0 ? 3
                      : b >= 0xF0 && b < 0xF5 ? 4
                                              : 0;
        unsigned code = n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : n == 4 ? b & 0x07 : b;
        int k = 1;
        for (; k < n && i + k < text.size(); ++k) {
            const unsigned char c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) {
                break;
            }
            code = (code << 6) | (c & 0x3F);
        }
        if (n == 0 || k < n) {
            out.push_back('?');
            i += static_cast<size_t>(n == 0 ? 1 : k);
            continue;
        }
        i += static_cast<size_t>(n);
        char byte = '?';
        if (code < 0x80 || (code >= 0xA0 && code < 0x100)) {
            byte = static_cast<char>(code);
        } else {
            for (unsigned h = 0; h < 32; ++h) {
                if (kHighControls[h] == code) {
                    byte = static_cast<char>(0x80 + h);
                    break;
                }
            }
        }
        out.push_back(byte);
    }
    return out;
}

std::string StatusLine(int32_t fileCount, uint64_t totalSize) {
    return view::StatusLine(view::kStatusFormat, fileCount, totalSize);
}

std::string ChangeText(const RowChange& change, bool exact) {
    if (change.kind == RowChange::kNew) {
        return "neu";
    }
    if (change.kind == RowChange::kRemoved) {
        return "entfernt";
    }
    if (change.bytes == 0) {
        return FormatSize(0, SizeStyleFor(!exact));
    }
    const uint64_t magnitude = change.bytes < 0 ? 0 - static_cast<uint64_t>(change.bytes)
                                                : static_cast<uint64_t>(change.bytes);
    return (change.bytes < 0 ? "-" : "+") + FormatSize(magnitude, SizeStyleFor(!exact));
}

namespace {

std::string TotalChangeText(int64_t bytes) {
    return ", \xC4nderung " + ChangeText({RowChange::kChanged, bytes}, false);
}

const char kTitleChange[] = "\xC4nderung";

void AppendTsv(std::string& out, const OrderedRows& ordered, const ReportOptions& options) {
    const bool compared = !ordered.changes.empty();
    // Straight through: no column widths to find, so no table of cells.
    AppendUtf8FromCp1252(out, FormatText("%s\t%s\t%s", kTitleFileName, kTitleSize, kTitleFolder));
    if (compared) {
        out += '\t';
        AppendUtf8FromCp1252(out, kTitleChange);
    }
    out += '\n';
    for (size_t i = 0; i < ordered.rows.size(); ++i) {
        const FolderRecord* row = ordered.rows[i];
        const bool removed = compared && ordered.changes[i].kind == RowChange::kRemoved;
        AppendConverted(out, row->fileName, true);
        out += '\t';
        if (!removed) {
            out +=
                FormatSize(row->size, SizeStyleFor(!options.exactSizes)); // digits and ASCII units
        }
        out += '\t';
        AppendConverted(out, row->folderPath, true);
        AppendConverted(out, row->folderName, true);
        if (compared) {
            out += '\t';
            out += ChangeText(ordered.changes[i], options.exactSizes); // ASCII
        }
        out += '\n';
    }
}

void AppendAligned(std::string& out, const OrderedRows& ordered, const ReportOptions& options) {
    const bool compared = !ordered.changes.empty();
    std::vector<Cells> table;
    std::vector<std::string> changes;
    table.reserve(ordered.rows.size() + 1);
    table.push_back(Cells{kTitleFileName, kTitleSize, kTitleFolder});
    changes.push_back(kTitleChange);
    for (size_t i = 0; i < ordered.rows.size(); ++i) {
        table.push_back(CellsOf(*ordered.rows[i], options.exactSizes));
        if (compared) {
            if (ordered.changes[i].kind == RowChange::kRemoved) {
                table.back().size.clear();
            }
            changes.push_back(ChangeText(ordered.changes[i], options.exactSizes));
        }
    }
    size_t nameWidth = 0;
    size_t sizeWidth = 0;
    size_t folderWidth = 0;
    for (const Cells& cells : table) {
        nameWidth = std::max(nameWidth, cells.fileName.size());
        sizeWidth = std::max(sizeWidth, cells.size.size());
        folderWidth = std::max(folderWidth, cells.folder.size());
    }
    for (size_t i = 0; i < table.size(); ++i) {
        const Cells& cells = table[i];
        AppendPadded(out, cells.fileName, nameWidth, false);
        out += "  ";
        AppendPadded(out, cells.size, sizeWidth, true);
        out += "  ";
        if (compared) {
            AppendPadded(out, cells.folder, folderWidth, false);
            out += "  ";
            AppendUtf8FromCp1252(out, changes[i]);
        } else {
            AppendUtf8FromCp1252(out, cells.folder);
        }
        out += '\n';
    }
}

} // namespace

std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options,
                         const ReportContext& context) {
    OrderedRows ordered;
    if (context.earlier) {
        ComparedRows compared;
        CompareRows(catalogue.records, catalogue.totalSize, *context.earlier, compared);
        const std::vector<uint32_t> order = SortRowIndexes(compared.rows, options.sortColumn,
                                                           options.sortDescending, &compared.bytes);
        for (uint32_t index : order) {
            ordered.rows.push_back(compared.rows[index]);
            ordered.changes.push_back(compared.changes[index]);
        }
        ordered.totalChange = compared.totalChange;
        // The removed rows live in `compared`; the text is made before it goes.
        return FormatOrdered(catalogue, ordered, options, context);
    }
    ordered.rows = SortRows(catalogue, options.sortColumn, options.sortDescending);
    return FormatOrdered(catalogue, ordered, options, context);
}

std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options) {
    return FormatReport(catalogue, options, ReportContext());
}

std::string FormatOrdered(const FolderCatalogue& catalogue, const OrderedRows& ordered,
                          const ReportOptions& options, const ReportContext& context) {
    if (options.format == ReportFormat::kCsv) {
        return FormatCsv(ordered, options);
    }
    if (options.format == ReportFormat::kJson) {
        return FormatJson(ordered, catalogue, options, context);
    }
    std::string out;
    out.reserve((ordered.rows.size() + 2) * 96);
    if (options.format == ReportFormat::kTsv) {
        AppendTsv(out, ordered, options);
    } else {
        AppendAligned(out, ordered, options);
    }
    AppendUtf8FromCp1252(out, StatusLine(catalogue.fileCount, catalogue.totalSize));
    if (!ordered.changes.empty()) {
        AppendUtf8FromCp1252(out, TotalChangeText(ordered.totalChange));
    }
    out += '\n';
    return out;
}

} // namespace report
