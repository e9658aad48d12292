// The placement and list state of the windows with one report list.
#include "ui/list_window_state.h"

#include "framework/app_services.h"
#include "framework/monitors.h"
#include "framework/report_list.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "settings/settings_store.h"
#include "ui/window_placement.h"

bool RestoreListWindow(AppServices& app, HWND window, CReportList& list,
                       const view::WindowStateNames& names, std::vector<int32_t>& storedWidths) {
    SettingsStore* store = app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return false;
    }
    const view::WindowPlacementRecord placement =
        view::LoadPlacement(*store, names, view::WindowPlacementRecord(), MonitorWorkAreas());
    const std::vector<int32_t> defaults = list.GetDefaultWidths();
    view::ListState state;
    state.widths = defaults;
    state.widthsDpi = list.GetDpi();
    state.sortColumn = list.GetSort().column;
    state.sortDescending = list.GetSort().descending;
    view::LoadListState(*store, names, defaults, state);
    storedWidths = state.storedWidths;
    store->Close();
    for (size_t c = 0; c < state.widths.size(); ++c) {
        list.SetColumnWidth(static_cast<int>(c), state.widths[c]);
    }
    if (names.sort != nullptr) {
        list.SetSort({state.sortColumn, state.sortDescending});
    }
    if (placement.length != view::kPlacementSize) {
        return false;
    }
    const WINDOWPLACEMENT wp = ToWindowPlacement(placement);
    ::SetWindowPlacement(window, &wp);
    return true;
}

void SaveListWindow(AppServices& app, HWND window, const CReportList& list,
                    const view::WindowStateNames& names, const std::vector<int32_t>& storedWidths) {
    SettingsStore* store = app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return;
    }
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(window, &wp);
    view::ListState state;
    state.widthsDpi = list.GetDpi();
    state.storedWidths = storedWidths;
    for (size_t c = 0; c < list.GetDefaultWidths().size(); ++c) {
        state.widths.push_back(list.GetColumnWidth(static_cast<int>(c)));
    }
    state.sortColumn = list.GetSort().column;
    state.sortDescending = list.GetSort().descending;
    static_cast<void>(view::SaveWindowState(*store, names, FromWindowPlacement(wp), state));
    store->Close();
}

view::TreeLayout PlaceListWindowControls(HWND window, HWND list, HWND status, int clientWidth,
                                         int clientHeight, const view::LayoutMetrics& metrics,
                                         int statusHeight) {
    const view::TreeLayout l =
        view::ComputeTreeLayout(clientWidth, clientHeight, metrics, statusHeight);
    ::MoveWindow(list, l.list.x, l.list.y, l.list.width, l.list.height, TRUE);
    ::MoveWindow(status, l.status.x, l.status.y, l.status.width, l.status.height, TRUE);
    ::MoveWindow(::GetDlgItem(window, ID_HELP_BUTTON), l.help.x, l.help.y, l.help.width,
                 l.help.height, TRUE);
    ::MoveWindow(::GetDlgItem(window, IDCANCEL), l.close.x, l.close.y, l.close.width,
                 l.close.height, TRUE);
    return l;
}
