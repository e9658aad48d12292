// The header-click rule.
#include "view/report_model.h"

namespace view {

ColumnSort NextSort(const ColumnSort& current, int column, bool descendingFirst) {
    ColumnSort next;
    next.column = column;
    next.descending = column == current.column ? !current.descending : descendingFirst;
    return next;
}

} // namespace view
