// What a report list asks of the rows it shows, without a window: how many, what each
// cell says, how a header click sorts and which row typed letters find. Both windows'
// lists render through one list class (CReportList) that asks a model of this kind.
#pragma once

#include "view/sort_compare.h"

#include <cstdint>
#include <string>

namespace view {

class ReportModel {
public:
    virtual ~ReportModel() = default;

    virtual int RowCount() const = 0;
    virtual std::string CellText(int row, int column) const = 0;
    // What the screen shows in a cell: the cell text, with a size cell's mark of the
    // folder limit in front where a model has one. Exports take CellText.
    virtual std::string ShownText(int row, int column) const { return CellText(row, column); }
    // The folder limit that a cell warns of (0 none, 1 near, 2 over), for its colour.
    virtual int WarningOf(int /*row*/, int /*column*/) const { return 0; }
    // The first click on a column's header: descending for true.
    virtual bool DescendingOnFirstClick(int column) const = 0;
    // Orders the rows by `column` in the direction given.
    virtual void Sort(int column, bool descending) = 0;
    // The first row from `start` on, wrapping around, whose name starts with `prefix`;
    // -1 for none.
    virtual int FindRow(int start, const std::string& prefix) const = 0;
    // The row the context menu opened from the keyboard points at, given the first
    // visible row `topRow`; -1 for none.
    virtual int ContextRow(int topRow) const = 0;
    // The row's share of the whole in tenths of a percent, for a share column's bar.
    virtual uint32_t ShareOf(int /*row*/) const { return 0; }
    // How long its bar is drawn, in tenths of the bar's whole length: the share itself
    // unless a model scales its bars.
    virtual uint32_t BarOf(int row) const { return ShareOf(row); }
    // A row shown only for the way down to rows a filter lets pass, drawn greyed.
    virtual bool IsGreyed(int /*row*/) const { return false; }
    // The image and indent of a row's first cell; none unless a model has them.
    virtual int ImageOf(int /*row*/) const { return -1; }
    virtual int IndentOf(int /*row*/) const { return 0; }
};

} // namespace view
