// Report text. Cells are measured in characters of the 8-bit text (one byte each) before
// the conversion, so aligned columns line up whatever the UTF-8 lengths are.
#include "report/report_text.h"

#include "diag/trace.h"
#include "sizes/byte_change.h"
#include "sizes/date_text.h"
#include "sizes/size_text.h"
#include "text/cp1252_unicode.h"
#include "view/scan_view.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

namespace report {

namespace {

// The Windows-1252 bytes whose characters are control characters: C0, DEL, and the five
// bytes the code page leaves undefined, which become the C1 controls of the same number.
constexpr bool IsControlByte(unsigned char byte) {
    return text::IsWindows1252Control(byte);
}

} // namespace

void AppendCell(std::string& out, std::string_view text) {
    for (char c : text) {
        out.push_back(IsControlByte(static_cast<unsigned char>(c)) ? '?' : c);
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

// The UTF-8 bytes of every Windows-1252 byte, built once: a length and up to 3 bytes.
struct Utf8Table {
    Utf8Table() {
        for (unsigned byte = 0; byte < 256; ++byte) {
            length[byte] = static_cast<unsigned char>(text::Utf8OfCodePoint(
                text::UnicodeOfWindows1252(static_cast<unsigned char>(byte)), bytes[byte]));
        }
    }
    char bytes[256][3];
    unsigned char length[256];
};

const Utf8Table& Utf8() {
    static const Utf8Table table;
    return table;
}

// Converts `text`; with `cell`, control characters become '?' on the way. Writes
// straight into `out`, grown once to the most the text can take (three bytes a
// character).
void AppendConverted(std::string& out, std::string_view text, bool cell) {
    const Utf8Table& table = Utf8();
    const unsigned char low = cell ? 0x20 : 0x00;
    // DEL, when it is to go: the one ASCII byte above `low` that does.
    const uint64_t del = cell ? 0x0101010101010101ull : 0;
    const size_t before = out.size();
    out.resize(before + 3 * text.size());
    char* p = &out[before];
    const char* in = text.data();
    const char* const end = in + text.size();
    // Eight bytes at a time while none has its top bit set, lies below `low` or (in a
    // cell) is DEL: runs of printable ASCII are the bulk of every report.
    const uint64_t lows = 0x0101010101010101ull * low;
    const uint64_t tops = 0x8080808080808080ull;
    while (in < end) {
        while (end - in >= 8) {
            uint64_t w;
            std::memcpy(&w, in, 8);
            if ((w & tops) != 0 || ((w - lows) & ~w & tops) != 0 || ((w + del) & tops) != 0) {
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
        if (cell && IsControlByte(byte)) {
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
    std::string changed; // only with --changed
};

Cells CellsOf(const FolderRecord& record, const ReportOptions& options) {
    Cells cells;
    AppendCell(cells.fileName, record.fileName);
    cells.size = FormatSize(record.size, SizeStyleFor(!options.exactSizes));
    AppendCell(cells.folder, record.folderPath);
    AppendCell(cells.folder, record.folderName);
    if (options.showChanged) {
        cells.changed = ChangeTimeText(record.lastWrite); // digits and ASCII
    }
    return cells;
}

} // namespace

Language LanguageOf(ReportFormat format) {
    return format == ReportFormat::kText || format == ReportFormat::kExcel ? UserLanguage()
                                                                           : Language::German;
}

void AppendUtf8FromCp1252(std::string& out, std::string_view text) {
    AppendConverted(out, text, false);
}

Controls ControlsFor(const ReportOptions& options) {
    const bool lines =
        options.format == ReportFormat::kText || options.format == ReportFormat::kTsv;
    return lines || options.toTerminal ? Controls::kMask : Controls::kKeep;
}

Controls ErrorControlsFor(const ReportOptions& options) {
    return options.errorsToTerminal ? Controls::kMask : Controls::kKeep;
}

void AppendText(std::string& out, std::string_view text, Controls controls) {
    AppendConverted(out, text, controls == Controls::kMask);
}

void AppendErrorLine(std::string& out, std::string_view line, Controls controls) {
    const bool ended = !line.empty() && line.back() == '\n';
    if (ended) {
        line.remove_suffix(1);
    }
    AppendText(out, line, controls);
    if (ended) {
        out += '\n';
    }
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
                if (text::kWindows1252High[h] == code) {
                    byte = static_cast<char>(0x80 + h);
                    break;
                }
            }
        }
        out.push_back(byte);
    }
    return out;
}

namespace {

// The change of the whole after the status line. The text form of --since names the
// day compared with, as the window's status line does; TSV stays as scripts read it.
std::string TotalChangeText(const ByteChange& bytes, const ReportOptions& options) {
    const std::string change = ChangeText({RowChange::kChanged, bytes}, false);
    if (options.format == ReportFormat::kText && !options.sinceText.empty()) {
        return FormatText(Say(Phrase::kTotalChangeSince), options.sinceText.c_str(),
                          change.c_str());
    }
    return FormatText(Say(Phrase::kTotalChange), change.c_str());
}

void AppendTsv(std::string& out, const OrderedRows& ordered, const ReportOptions& options,
               ReportSink& sink) {
    const bool compared = ordered.Compared();
    // Straight through: no column widths to find, so no table of cells.
    AppendUtf8FromCp1252(
        out, FormatText("%s\t%s\t", Say(Phrase::kTitleFileName), Say(Phrase::kTitleSize)));
    if (options.showChanged) {
        AppendUtf8FromCp1252(out, Say(Phrase::kTitleChanged));
        out += '\t';
    }
    AppendUtf8FromCp1252(out, Say(Phrase::kTitleFolder));
    if (compared) {
        out += '\t';
        AppendUtf8FromCp1252(out, Say(Phrase::kTitleChange));
    }
    out += '\n';
    FolderRecord scratch;
    for (size_t i = 0; i < ordered.Count(); ++i) {
        const FolderRecord* row = &ordered.Row(i, scratch);
        const bool removed = compared && ordered.Change(i).kind == RowChange::kRemoved;
        AppendConverted(out, row->fileName, true);
        out += '\t';
        if (!removed) {
            out +=
                FormatSize(row->size, SizeStyleFor(!options.exactSizes)); // digits and ASCII units
        }
        out += '\t';
        if (options.showChanged) {
            out += IsoChangeText(row->lastWrite); // for scripts: sortable, with the offset
            out += '\t';
        }
        AppendConverted(out, row->folderPath, true);
        AppendConverted(out, row->folderName, true);
        if (compared) {
            out += '\t';
            out += ChangeText(ordered.Change(i), options.exactSizes); // ASCII
        }
        out += '\n';
        SpillIfFull(out, sink);
    }
}

// The cells of line `i` of the aligned form: the titles for 0, then row i - 1.
Cells AlignedCells(const OrderedRows& ordered, const ReportOptions& options, size_t i,
                   std::string& change, FolderRecord& scratch) {
    if (i == 0) {
        change = Say(Phrase::kTitleChange);
        return Cells{Say(Phrase::kTitleFileName), Say(Phrase::kTitleSize),
                     Say(Phrase::kTitleFolder),
                     options.showChanged ? Say(Phrase::kTitleChanged) : ""};
    }
    Cells cells = CellsOf(ordered.Row(i - 1, scratch), options);
    if (ordered.Compared()) {
        if (ordered.Change(i - 1).kind == RowChange::kRemoved) {
            cells.size.clear();
        }
        change = ChangeText(ordered.Change(i - 1), options.exactSizes);
    }
    return cells;
}

void AppendAligned(std::string& out, const OrderedRows& ordered, const ReportOptions& options,
                   ReportSink& sink) {
    const bool compared = ordered.Compared();
    // The cells are made twice, first for the widths only: a table of them all would be
    // a second copy of the whole report.
    size_t nameWidth = 0;
    size_t sizeWidth = 0;
    size_t folderWidth = 0;
    size_t changedWidth = 0;
    std::string change;
    FolderRecord scratch;
    auto widen = [](size_t& width, const std::string& cell) {
        if (cell.size() <= kMaxPaddedWidth) {
            width = std::max(width, cell.size());
        }
    };
    for (size_t i = 0; i <= ordered.Count(); ++i) {
        const Cells cells = AlignedCells(ordered, options, i, change, scratch);
        widen(nameWidth, cells.fileName);
        widen(sizeWidth, cells.size);
        widen(folderWidth, cells.folder);
        widen(changedWidth, cells.changed);
    }
    for (size_t i = 0; i <= ordered.Count(); ++i) {
        const Cells cells = AlignedCells(ordered, options, i, change, scratch);
        AppendPadded(out, cells.fileName, nameWidth, false);
        out += "  ";
        AppendPadded(out, cells.size, sizeWidth, true);
        out += "  ";
        if (options.showChanged) {
            AppendPadded(out, cells.changed, changedWidth, false);
            out += "  ";
        }
        if (compared) {
            AppendPadded(out, cells.folder, folderWidth, false);
            out += "  ";
            AppendUtf8FromCp1252(out, change);
        } else {
            AppendUtf8FromCp1252(out, cells.folder);
        }
        out += '\n';
        SpillIfFull(out, sink);
    }
}

// Keeps the rows of `ordered` that pass `filter`, in their order, and counts the folder
// files among them; a removed row of --compare is judged by its earlier name and size.
void FilterRows(const view::RowFilter& filter, OrderedRows& ordered) {
    const size_t current = ordered.rows.current ? ordered.rows.current->size() : 0;
    FolderRecord scratch;
    std::string folder;
    size_t kept = 0;
    for (const uint32_t row : ordered.order) {
        const FolderRecord& record = ordered.rows.Row(row, scratch);
        folder = record.folderPath + record.folderName;
        if (!filter.Passes({record.fileName, folder}, record.size)) {
            continue;
        }
        ordered.order[kept++] = row;
        if (row < current) {
            ++ordered.shownFiles;
            ordered.shownSize = AddSizes(ordered.shownSize, record.size);
        }
    }
    ordered.order.resize(kept);
    ordered.filtered = true;
}

} // namespace

OrderedRows InScanOrder(const std::vector<FolderRecord>& records) {
    OrderedRows ordered;
    ordered.rows.current = &records;
    ordered.order.resize(records.size());
    std::iota(ordered.order.begin(), ordered.order.end(), 0u);
    return ordered;
}

void WriteReport(const FolderCatalogue& catalogue, const ReportOptions& options,
                 const ReportContext& context, ReportSink& sink) {
    OrderedRows ordered;
    if (context.earlier) {
        CompareRows(catalogue.records, catalogue.totalSize, *context.earlier, ordered.rows);
    } else {
        ordered.rows.current = &catalogue.records;
    }
    ordered.order = SortRowIndexes(ordered.rows, options.sortColumn, options.sortDescending);
    if (!options.filter.IsEmpty()) {
        FilterRows(options.filter, ordered);
    }
    WriteOrdered(catalogue, ordered, options, context, sink);
}

std::string OrderedStatusLine(const FolderCatalogue& catalogue, const OrderedRows& ordered) {
    if (ordered.filtered) {
        return view::FilteredStatusLine(Say(Phrase::kFilteredStatus), ordered.shownFiles,
                                        ordered.shownSize, catalogue.fileCount,
                                        catalogue.totalSize);
    }
    return view::StatusLine(Say(Phrase::kStatus), catalogue.fileCount, catalogue.totalSize);
}

std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options,
                         const ReportContext& context) {
    StringSink sink;
    WriteReport(catalogue, options, context, sink);
    return std::move(sink.Text());
}

std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options) {
    return FormatReport(catalogue, options, ReportContext());
}

void WriteOrdered(const FolderCatalogue& catalogue, const OrderedRows& ordered,
                  const ReportOptions& options, const ReportContext& context, ReportSink& sink) {
    const LanguageScope language(LanguageOf(options.format));
    if (options.format == ReportFormat::kCsv) {
        WriteCsv(ordered, options, sink);
        return;
    }
    if (options.format == ReportFormat::kExcel) {
        WriteExcel(ordered, options, sink);
        return;
    }
    if (options.format == ReportFormat::kJson) {
        WriteJson(ordered, catalogue, options, context, sink);
        return;
    }
    std::string out;
    out.reserve(kReportPieceBytes + 4096);
    if (options.format == ReportFormat::kTsv) {
        AppendTsv(out, ordered, options, sink);
    } else {
        AppendAligned(out, ordered, options, sink);
    }
    AppendUtf8FromCp1252(out, OrderedStatusLine(catalogue, ordered));
    if (ordered.Compared()) {
        AppendUtf8FromCp1252(out, TotalChangeText(ordered.rows.totalChange, options));
    }
    out += '\n';
    SpillAll(out, sink);
}

} // namespace report
