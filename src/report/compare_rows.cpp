// The rows of a report set against an earlier one, and the change of each in sign and
// magnitude: two sizes of up to 2^64 - 1 differ by up to 65 bits, and a removed row of
// 2^63 bytes or more has no negative int64_t.
#include "report/earlier_report.h"

#include "view/folder_compare.h"

#include <algorithm>

namespace report {

namespace {

// The earlier rows' file names folded, end to end, and the rows in the order of their
// folded names (twins by row), so a current row finds its earlier one by binary search.
class NameIndex {
public:
    explicit NameIndex(const EarlierReport& earlier) {
        m_start.reserve(earlier.RowCount() + 1);
        for (size_t i = 0; i < earlier.RowCount(); ++i) {
            m_start.push_back(m_strFolded.size());
            view::AppendFolded(m_strFolded, earlier.FileName(i));
        }
        m_start.push_back(m_strFolded.size());
        m_order.resize(earlier.RowCount());
        for (size_t i = 0; i < m_order.size(); ++i) {
            m_order[i] = i;
        }
        std::sort(m_order.begin(), m_order.end(), [this](size_t a, size_t b) {
            const int r = Folded(a).compare(Folded(b));
            return r != 0 ? r < 0 : a < b;
        });
    }

    // The first earlier row of this folded name, or RowCount() when there is none.
    size_t Find(std::string_view folded) const {
        const auto it = std::lower_bound(
            m_order.begin(), m_order.end(), folded,
            [this](size_t row, std::string_view name) { return Folded(row) < name; });
        return it != m_order.end() && Folded(*it) == folded ? *it : m_order.size();
    }

private:
    std::string_view Folded(size_t row) const {
        return std::string_view(m_strFolded).substr(m_start[row], m_start[row + 1] - m_start[row]);
    }

    std::string m_strFolded;
    std::vector<size_t> m_start;
    std::vector<size_t> m_order;
};

} // namespace

void CompareRows(const std::vector<FolderRecord>& current, uint64_t currentTotal,
                 const EarlierReport& earlier, ComparedRows& compared) {
    compared = ComparedRows();
    const NameIndex index(earlier);
    std::vector<bool> matched(earlier.RowCount(), false);
    std::string folded;
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
        compared.rows.push_back(&record);
        compared.changes.push_back(change);
    }
    // The new-mail row shown or not is a choice of the view, not a change of the mailbox:
    // without one now, the earlier one is not gone.
    const bool newMailNow =
        std::any_of(current.begin(), current.end(),
                    [](const FolderRecord& record) { return record.fileName == kNewMailFileName; });
    for (size_t i = 0; i < earlier.RowCount(); ++i) {
        if (!newMailNow && earlier.FileName(i) == kNewMailFileName) {
            matched[i] = true;
        }
    }
    for (size_t i = 0; i < earlier.RowCount(); ++i) {
        if (!matched[i]) {
            FolderRecord gone;
            gone.fileName = earlier.FileName(i);
            gone.folderPath = earlier.FolderPath(i);
            gone.folderName = earlier.FolderName(i);
            compared.removed.push_back(std::move(gone));
        }
    }
    // Pointers only now: `removed` no longer grows.
    for (size_t i = 0, r = 0; i < earlier.RowCount(); ++i) {
        if (!matched[i]) {
            compared.rows.push_back(&compared.removed[r++]);
            compared.changes.push_back({RowChange::kRemoved, ChangeBetween(0, earlier.Size(i))});
        }
    }
    for (const RowChange& change : compared.changes) {
        compared.bytes.push_back(change.bytes);
    }
    compared.totalChange = ChangeBetween(currentTotal, earlier.TotalSize());
}

} // namespace report
