// CMainDlg's status line: the scan's files and bytes, or with a filter what the list
// shows of them; the folders near their limit and the change since the chosen day.
#include "diag/trace.h"
#include "framework/win_app.h"
#include "history/change_since.h"
#include "resource.h"
#include "ui/main_dlg.h"
#include "view/limit_mark.h"
#include "view/main_layout.h"
#include "view/scan_view.h"

void CMainDlg::ApplyFilter(const view::RowFilter& filter) {
    m_list.SetFilter(filter);
    if (!m_scans.IsBusy()) {
        ShowResultStatus(); // a running scan's progress keeps the line
    }
}

void CMainDlg::ShowResultStatus() {
    const SharedScanResult& r = m_list.GetResult();
    if (r == nullptr) {
        SetStatusParts({});
        return;
    }
    if (!r->catalogue.mailboxListed) {
        // Not "1 Dateien" from the new-mail row: what is wrong is the directory.
        SetStatusParts(
            view::WordParts(FormatText(LoadResourceString(IDS_MAILBOX_UNREADABLE_STATUS).c_str(),
                                       r->request.mailboxDir.c_str())));
        return;
    }
    std::string change;
    if (m_list.GetRows().HasChanges()) {
        // Which day the column measures from, and the whole change since.
        change = FormatText(LoadResourceString(IDS_CHANGE_STATUS).c_str(),
                            history::ChangeReferenceText(m_changeReference).c_str(),
                            ChangeText({RowChange::kChanged, m_list.GetRows().Changes().total},
                                       !m_settings.m_bCompactFileSizes)
                                .c_str());
    }
    // Parts that keep whole where a narrow window wraps the line.
    const view::FolderRows& rows = m_list.GetRows();
    SetStatusParts(
        {rows.IsFiltered()
             ? view::FilteredStatusLine(LoadResourceString(IDS_FILTERED_STATUS_FORMAT),
                                        rows.ShownFileCount(), rows.ShownSize(),
                                        r->catalogue.fileCount, r->catalogue.totalSize)
             : view::StatusLine(LoadResourceString(IDS_STATUS_FORMAT), r->catalogue.fileCount,
                                r->catalogue.totalSize),
         view::LimitStatus(LoadResourceString(IDS_LIMIT_STATUS), CountLimits(r->catalogue.records)),
         change});
}
