// The rows of a report set against an earlier one, and the change of each in sign and
// magnitude: two sizes of up to 2^64 - 1 differ by up to 65 bits, and a removed row of
// 2^63 bytes or more has no negative int64_t.
#include "report/earlier_report.h"

#include "view/folder_compare.h"

#include <algorithm>
#include <numeric>

namespace report {

namespace {

// The earlier rows' file names folded, end to end, and the rows in the order of their
// folded names (twins by row), so a current row finds its earlier one by binary search.
class NameIndex {
public:
    // Offsets and rows of 32 bits, as the earlier report's own: the index lives beside it.
    explicit NameIndex(const EarlierReport& earlier) {
        m_start.reserve(earlier.RowCount() + 1);
        for (size_t i = 0; i < earlier.RowCount(); ++i) {
            m_start.push_back(static_cast<uint32_t>(m_strFolded.size()));
            view::AppendFolded(m_strFolded, earlier.FileName(i));
        }
        m_start.push_back(static_cast<uint32_t>(m_strFolded.size()));
        m_order.resize(earlier.RowCount());
        std::iota(m_order.begin(), m_order.end(), 0u);
        std::sort(m_order.begin(), m_order.end(), [this](uint32_t a, uint32_t b) {
            const int r = Folded(a).compare(Folded(b));
            return r != 0 ? r < 0 : a < b;
        });
    }

    // The first earlier row of this folded name, or RowCount() when there is none.
    size_t Find(std::string_view folded) const {
        const auto it = std::lower_bound(
            m_order.begin(), m_order.end(), folded,
            [this](uint32_t row, std::string_view name) { return Folded(row) < name; });
        return it != m_order.end() && Folded(*it) == folded ? *it : m_order.size();
    }

private:
    std::string_view Folded(uint32_t row) const {
        return std::string_view(m_strFolded).substr(m_start[row], m_start[row + 1] - m_start[row]);
    }

    std::string m_strFolded;
    std::vector<uint32_t> m_start;
    std::vector<uint32_t> m_order;
};

} // namespace

view::FolderFields ComparedRows::Fields(size_t row) const {
    const size_t currentRows = current ? current->size() : 0;
    if (row < currentRows) {
        return view::FieldsOf((*current)[row]);
    }
    const uint32_t gone = removed[row - currentRows];
    return {earlier->FileName(gone), earlier->FolderPath(gone), earlier->FolderName(gone), 0, 0};
}

const FolderRecord& ComparedRows::Row(size_t row, FolderRecord& scratch) const {
    if (current && row < current->size()) {
        return (*current)[row];
    }
    const view::FolderFields fields = Fields(row);
    scratch.fileName.assign(fields.fileName);
    scratch.folderPath.assign(fields.folderPath);
    scratch.folderName.assign(fields.folderName);
    scratch.size = 0;
    scratch.lastWrite = 0;
    return scratch;
}

void CompareRows(const std::vector<FolderRecord>& current, uint64_t currentTotal,
                 const EarlierReport& earlier, ComparedRows& compared) {
    compared = ComparedRows();
    compared.current = &current;
    compared.earlier = &earlier;
    std::vector<bool> matched(earlier.RowCount(), false);
    {
        const NameIndex index(earlier);
        std::string folded;
        compared.changes.reserve(current.size());
        for (const FolderRecord& record : current) {
            RowChange change;
            folded.clear();
            view::AppendFolded(folded, record.fileName);
            const size_t row = index.Find(folded); // the first of twins counts
            if (row == earlier.RowCount() || matched[row]) {
                change.kind = RowChange::kNew;
                change.bytes = ChangeBetween(record.size, 0);
            } else {
                matched[row] = true;
                change.bytes = ChangeBetween(record.size, earlier.Size(row));
            }
            compared.changes.push_back(change);
        }
    }
    // The new-mail row shown or not is a choice of the view, not a change of the mailbox:
    // without one now, the earlier one is not gone.
    const bool newMailNow =
        std::any_of(current.begin(), current.end(),
                    [](const FolderRecord& record) { return record.fileName == kNewMailFileName; });
    size_t gone = 0;
    for (size_t i = 0; i < earlier.RowCount(); ++i) {
        matched[i] = matched[i] || (!newMailNow && earlier.FileName(i) == kNewMailFileName);
        gone += matched[i] ? 0 : 1;
    }
    compared.removed.reserve(gone);
    compared.changes.reserve(current.size() + gone);
    for (size_t i = 0; i < earlier.RowCount(); ++i) {
        if (!matched[i]) {
            compared.removed.push_back(static_cast<uint32_t>(i));
            compared.changes.push_back({RowChange::kRemoved, ChangeBetween(0, earlier.Size(i))});
        }
    }
    compared.totalChange = ChangeBetween(currentTotal, earlier.TotalSize());
}

} // namespace report
