// CTreemapDlg's menu, its stored state (placement and colour) and the picture saved as
// PNG or SVG, under the export's rules for where a file may go.
#include "ui/treemap_dlg.h"

#include "diag/trace.h"
#include "framework/app_services.h"
#include "framework/monitors.h"
#include "framework/win_app.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "settings/settings_store.h"
#include "ui/window_placement.h"
#include "view/stored_values.h"
#include "view/window_state.h"

#include <ctime>

namespace {

const UINT kColourCommands[] = {ID_TREEMAP_COLOUR_LIMIT, ID_TREEMAP_COLOUR_AGE,
                                ID_TREEMAP_COLOUR_PLAIN};

bool EndsWithSvg(const std::string& path) {
    return path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, ".svg") == 0;
}

} // namespace

void CTreemapDlg::BuildMenu() {
    const auto item = [](HMENU menu, UINT id, UINT text) {
        ::AppendMenuA(menu, MF_STRING, id, LoadResourceString(text).c_str());
    };
    HMENU file = ::CreatePopupMenu();
    item(file, ID_TREEMAP_SAVE, IDS_TREEMAP_MENU_SAVE);
    ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    item(file, IDCANCEL, IDS_TREEMAP_MENU_CLOSE);
    HMENU view = ::CreatePopupMenu();
    item(view, ID_TREEMAP_COLOUR_LIMIT, IDS_TREEMAP_MENU_LIMIT);
    item(view, ID_TREEMAP_COLOUR_AGE, IDS_TREEMAP_MENU_AGE);
    item(view, ID_TREEMAP_COLOUR_PLAIN, IDS_TREEMAP_MENU_PLAIN);
    ::AppendMenuA(view, MF_SEPARATOR, 0, nullptr);
    item(view, ID_TREEMAP_ZOOM_IN, IDS_TREEMAP_MENU_ZOOM_IN);
    item(view, ID_TREEMAP_ZOOM_OUT, IDS_TREEMAP_MENU_ZOOM_OUT);
    HMENU help = ::CreatePopupMenu();
    item(help, ID_HELP_BUTTON, IDS_TREEMAP_MENU_HELP_PAGE);
    m_hMenu = ::CreateMenu();
    const auto popup = [this](HMENU menu, UINT text) {
        ::AppendMenuA(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(menu),
                      LoadResourceString(text).c_str());
    };
    popup(file, IDS_TREEMAP_MENU_FILE);
    popup(view, IDS_TREEMAP_MENU_VIEW);
    popup(help, IDS_TREEMAP_MENU_HELP);
    // Before the layout takes the window's size: the menu bar takes its room from the
    // client area.
    ::SetMenu(m_hWnd, m_hMenu);
}

void CTreemapDlg::CheckColour() {
    ::CheckMenuRadioItem(m_hMenu, kColourCommands[0], kColourCommands[2],
                         kColourCommands[static_cast<int>(m_colour)], MF_BYCOMMAND);
}

void CTreemapDlg::LoadState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        CenterWindow(::GetWindow(m_hWnd, GW_OWNER));
        return;
    }
    const view::WindowPlacementRecord placement = view::LoadPlacement(
        *store, view::StateNamesOf(view::StoredWindow::kTreemap), {}, MonitorWorkAreas());
    const int32_t colour = store->ReadInt(stored_names::kTreemapColour, 0);
    store->Close();
    if (colour >= 0 && colour <= static_cast<int32_t>(tree::TreemapColour::kPlain)) {
        m_colour = static_cast<tree::TreemapColour>(colour);
    }
    if (placement.length != view::kPlacementSize) {
        CenterWindow(::GetWindow(m_hWnd, GW_OWNER));
        return;
    }
    const WINDOWPLACEMENT wp = ToWindowPlacement(placement);
    ::SetWindowPlacement(m_hWnd, &wp);
}

void CTreemapDlg::SaveState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return;
    }
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_hWnd, &wp);
    // A store that refuses a value keeps the one it had; the window closes anyway.
    static_cast<void>(view::SaveWindowState(
        *store, view::StateNamesOf(view::StoredWindow::kTreemap), FromWindowPlacement(wp), {}));
    static_cast<void>(
        store->WriteInt(stored_names::kTreemapColour, static_cast<int32_t>(m_colour)));
    store->Close();
}

void CTreemapDlg::SaveImage() {
    if (m_pResult == nullptr) {
        return;
    }
    EnsureLayout();
    const std::vector<std::string> refused = ExportProtectedFolders(
        m_app.GetModulePath(), {m_pResult->request.mailboxDir, m_pResult->request.newmailDir}, {});
    std::string startFolder = view::ExportStartFolder(m_strSaveFolder, DocumentsFolder(), refused);
    const std::string firstFolder = startFolder;
    std::string path = LoadResourceString(IDS_TREEMAP_FILE_NAME);
    int filterIndex = 1;
    for (;;) {
        const bool chosen =
            m_savePrompt
                ? m_savePrompt(m_hWnd, startFolder, path, filterIndex)
                : PromptSavePath(m_hWnd,
                                 {IDS_TREEMAP_SAVE_FILTER, IDS_TREEMAP_SAVE_TITLE, {"png", "svg"}},
                                 startFolder, path, filterIndex);
        if (!chosen) {
            return;
        }
        const std::string full = platform::FullPath(path);
        // Compared by what the file system says the folders are, as the list's export.
        const platform::ProtectedFolders guard(refused, view::IsInProtectedDirectory);
        UINT error = IDS_ERROR_007;
        if (!full.empty() && !guard.Contains(full)) {
            const int32_t selected =
                m_nSelected >= 0 && static_cast<size_t>(m_nSelected) < m_map.tileOfNode.size()
                    ? m_map.tileOfNode[static_cast<size_t>(m_nSelected)]
                    : -1;
            const std::string bytes =
                EndsWithSvg(full) ? tree::TreemapSvg(m_tree, m_map, m_colour,
                                                     static_cast<int64_t>(std::time(nullptr)))
                                  : TreemapPng(PaintFor(selected));
            error = IDS_ERROR_008;
            if (!bytes.empty()) {
                switch (platform::ReplaceFileContents(full, bytes, guard)) {
                case platform::WriteOutcome::kWritten:
                    m_strSaveFolder = view::ExportFolderOf(full);
                    return;
                case platform::WriteOutcome::kRefused:
                    error = IDS_ERROR_007;
                    break;
                case platform::WriteOutcome::kFailed:
                    break;
                }
            }
        }
        m_app.Error(error);
        startFolder = error == IDS_ERROR_008 ? view::ExportFolderOf(full) : firstFolder;
        path = full.substr(view::ExportFolderOf(full).size());
    }
}
