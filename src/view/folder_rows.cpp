// The folder list's rows: indices into the result's records, sorted stably by the
// list's rule.
#include "view/folder_rows.h"

#include "sizes/date_text.h"
#include "sizes/size_text.h"
#include "view/folder_compare.h"
#include "view/limit_mark.h"
#include "view/list_rules.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace view {

FolderRows::FolderRows()
    : m_listColumns{kColumnFileName, kColumnSize, kColumnFolderName}, m_order{kColumnFileName,
                                                                              kColumnSize,
                                                                              kColumnFolderName} {}

void FolderRows::SetResult(SharedScanResult result, FolderChangeSet changes) {
    m_pResult = std::move(result);
    SetChanges(std::move(changes));
}

void FolderRows::SetChanges(FolderChangeSet changes) {
    const size_t records = m_pResult ? m_pResult->catalogue.records.size() : 0;
    m_changes = changes.changes.size() == records + changes.removed.size() && m_pResult
                    ? std::move(changes)
                    : FolderChangeSet();
    SortRows();
}

bool FolderRows::ShowsRemoved() const {
    return !m_changes.removed.empty() && ListColumn(kColumnChange) >= 0;
}

const FolderRecord& FolderRows::RecordAt(uint32_t index) const {
    const std::vector<FolderRecord>& records = m_pResult->catalogue.records;
    return index < records.size() ? records[index] : m_changes.removed[index - records.size()];
}

const RowChange* FolderRows::ChangeOf(int row) const {
    return HasChanges() && row >= 0 && row < RowCount()
               ? &m_changes.changes[m_rows[static_cast<size_t>(row)]]
               : nullptr;
}

void FolderRows::SetListColumns(const std::vector<int32_t>& columns) {
    m_listColumns.clear();
    for (int32_t column : columns) {
        if (column >= 0 && column < kAllFolderColumns) {
            m_listColumns.push_back(column);
        }
    }
    if (ListColumn(m_sort.column) < 0) {
        m_sort = {kColumnFolderName, false};
    }
    std::vector<int32_t> order;
    for (int32_t column : m_order) {
        if (ListColumn(column) >= 0) {
            order.push_back(column);
        }
    }
    m_order = order;
    // Gone files are rows only while the change's column shows why they are there.
    const size_t records = m_pResult ? m_pResult->catalogue.records.size() : 0;
    if (m_rows.size() != records + (ShowsRemoved() ? m_changes.removed.size() : 0)) {
        SortRows();
    }
}

int FolderRows::ModelColumn(int listColumn) const {
    return listColumn >= 0 && listColumn < static_cast<int>(m_listColumns.size())
               ? m_listColumns[static_cast<size_t>(listColumn)]
               : -1;
}

int FolderRows::ListColumn(int modelColumn) const {
    for (size_t i = 0; i < m_listColumns.size(); ++i) {
        if (m_listColumns[i] == modelColumn) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void FolderRows::SetColumnOrder(const std::vector<int32_t>& order) {
    m_order.clear();
    for (int32_t listColumn : order) {
        const int column = ModelColumn(listColumn);
        if (column >= 0) {
            m_order.push_back(column);
        }
    }
}

void FolderRows::SetSort(int column, bool descending) {
    const int last = static_cast<int>(m_listColumns.size()) - 1;
    m_sort = {ModelColumn(std::min(std::max(column, 0), last)), descending};
}

bool FolderRows::DescendingOnFirstClick(int column) const {
    // The newest change and the largest growth first.
    return ModelColumn(column) == kColumnChanged || ModelColumn(column) == kColumnChange;
}

void FolderRows::Sort(int column, bool descending) {
    SetSort(column, descending);
    SortRows();
}

void FolderRows::SetFilter(const RowFilter& filter) {
    m_filter = filter;
    FilterRows();
}

bool FolderRows::PassesFilter(uint32_t index) const {
    const FolderRecord& record = RecordAt(index);
    const bool removed = index >= m_pResult->catalogue.records.size();
    // The folder's whole name, so that a word may run from its path into its name; kept
    // between calls, as every row of every keystroke comes through here.
    thread_local std::string folder;
    folder.assign(record.folderPath).append(record.folderName);
    return m_filter.Passes({record.fileName, folder}, removed ? 0 : record.size);
}

int32_t FolderRows::ShownFileCount() const {
    const size_t records = m_pResult ? m_pResult->catalogue.records.size() : 0;
    return static_cast<int32_t>(
        std::count_if(m_rows.begin(), m_rows.end(), [records](uint32_t i) { return i < records; }));
}

uint64_t FolderRows::ShownSize() const {
    const size_t records = m_pResult ? m_pResult->catalogue.records.size() : 0;
    uint64_t total = 0;
    for (uint32_t index : m_rows) {
        if (index < records) {
            total = AddSizes(total, RecordAt(index).size); // held at the top, as the catalogue's
        }
    }
    return total;
}

void FolderRows::SortRows() {
    const size_t count = (m_pResult ? m_pResult->catalogue.records.size() : 0) +
                         (ShowsRemoved() ? m_changes.removed.size() : 0);
    m_sorted.resize(count);
    std::iota(m_sorted.begin(), m_sorted.end(), 0u);
    if (m_sorted.size() < 2) {
        FilterRows();
        return;
    }
    const std::vector<int> order(m_order.begin(), m_order.end());
    const auto compare = [this](uint32_t a, uint32_t b, int column) {
        if (column != kColumnChange) {
            return CompareFolderItems(RecordAt(a), RecordAt(b), column);
        }
        return HasChanges() ? CompareChanges(m_changes.changes[a].bytes, m_changes.changes[b].bytes)
                            : 0;
    };
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [&](uint32_t a, uint32_t b) {
        return SortCompare(a, b, m_sort, kTieFromLeftmost, order.data(),
                           static_cast<int>(order.size()), compare) < 0;
    });
    FilterRows();
}

void FolderRows::FilterRows() {
    if (m_filter.IsEmpty()) {
        m_rows = m_sorted;
        return;
    }
    m_rows.clear();
    std::copy_if(m_sorted.begin(), m_sorted.end(), std::back_inserter(m_rows),
                 [this](uint32_t index) { return PassesFilter(index); });
}

const FolderRecord& FolderRows::Record(int row) const {
    return RecordAt(m_rows[static_cast<size_t>(row)]);
}

std::string FolderRows::CellText(int row, int column) const {
    return ModelCellText(row, ModelColumn(column));
}

std::string FolderRows::ShownText(int row, int column) const {
    const std::string text = CellText(row, column);
    return ModelColumn(column) == kColumnSize && row >= 0 && row < RowCount()
               ? MarkedSize(text, LimitOf(Record(row)))
               : text;
}

int FolderRows::WarningOf(int row, int column) const {
    return ModelColumn(column) == kColumnSize && row >= 0 && row < RowCount()
               ? WarningLevel(LimitOf(Record(row)))
               : 0;
}

std::string FolderRows::ModelCellText(int row, int column) const {
    if (row < 0 || row >= RowCount()) {
        return std::string();
    }
    const FolderRecord& record = Record(row);
    switch (column) {
    case kColumnFileName:
        return record.fileName;
    case kColumnSize: {
        const RowChange* change = ChangeOf(row);
        return change != nullptr && change->kind == RowChange::kRemoved
                   ? std::string() // a gone file has no size now, as in the report
                   : FormatSize(record.size, SizeStyleFor(m_bCompactSizes));
    }
    case kColumnFolderName:
        return record.folderPath + record.folderName;
    case kColumnChanged:
        return ChangeTimeText(record.lastWrite);
    case kColumnChange: {
        const RowChange* change = ChangeOf(row);
        return change != nullptr ? ChangeText(*change, !m_bCompactSizes) : std::string();
    }
    default:
        return std::string();
    }
}

int FolderRows::FindRow(int /*start*/, const std::string& prefix) const {
    if (m_sort.column != kColumnFolderName) {
        return FindPrefixRow(
            RowCount(), [this](int row) { return ModelCellText(row, m_sort.column); }, prefix);
    }
    // Nobody types the path's backslashes before the name they look for.
    for (int row = 0; !prefix.empty() && row < RowCount(); ++row) {
        if (StartsWithIgnoringCase(ModelCellText(row, kColumnFolderName), prefix) ||
            StartsWithIgnoringCase(Record(row).folderName, prefix)) {
            return row;
        }
    }
    return -1;
}

int FolderRows::ContextRow(int topRow) const {
    return topRow >= 0 && topRow < RowCount() ? topRow : -1;
}

int FolderRows::KeptRow(const FolderRecord& old) const {
    const std::vector<int> order(m_order.begin(), m_order.end());
    // A change is not kept with the place: among equal changes the other columns decide.
    const auto compare = [](const FolderRecord& a, const FolderRecord& b, int column) {
        return column == kColumnChange ? 0 : CompareFolderItems(a, b, column);
    };
    return FindKeptRow(
        RowCount(), [&](int row) { return Record(row).fileName == old.fileName; },
        [&](int row) {
            return SortCompare(Record(row), old, m_sort, kTieFromLeftmost, order.data(),
                               static_cast<int>(order.size()), compare) > 0;
        });
}

int FolderRows::ShownTopRow(const FolderRecord& old, const std::vector<std::string>& above) const {
    const int kept = KeptRow(old);
    if (m_sort.column == kColumnFileName || m_sort.column == kColumnFolderName) {
        return kept;
    }
    for (int row = 0; row < kept; ++row) {
        if (!std::binary_search(above.begin(), above.end(), Record(row).fileName)) {
            return row;
        }
    }
    return kept;
}

} // namespace view
