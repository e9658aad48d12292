// Rerunnable timing of the main window on a large mailbox (Windows, under Wine): the
// whole refresh (empty the list, scan, fill, sort, status line) against the bare scan of
// the same mailbox, a repaint of the filled list (texts made on demand for the visible
// rows only), and a header click that sorts by size. The window is the real CMainDlg;
// HKEY_CURRENT_USER is redirected to a scratch key for the run, so no stored setting of
// anyone is touched. Usage: main_window_bench [folders] [runs]
#include "app/foldtally_app.h"
#include "mailbox/folder_catalogue.h"
#include "mailgen.h"
#include "ui/main_dlg.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const char kScratch[] = "Software\\FoldtallyBench";

double Milliseconds(const std::function<void()>& action) {
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    action();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void SetDirectoryKey(const char* key, const std::string& dir) {
    HKEY h = nullptr;
    const std::string path = std::string("Software\\Pegasus Mail\\") + key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr);
    ::RegSetValueExA(h, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(dir.c_str()),
                     static_cast<DWORD>(dir.size() + 1));
    ::RegCloseKey(h);
}

class BenchApp : public CFoldtallyApp {
public:
    BenchApp() { InitApplication(::GetModuleHandleA(nullptr)); }
};

struct Figures {
    std::vector<double> refresh, scan, repaint, sortClick;
    int rows = 0;
};

// The timings, taken from a thread timer inside the dialog's own modal loop.
CMainDlg* g_pDlg = nullptr;
Figures* g_pFigures = nullptr;
std::string g_strMailbox, g_strNewmail;
int g_nRuns = 0;

void CALLBACK Measure(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    CMainDlg& dlg = *g_pDlg;
    Figures& f = *g_pFigures;
    HWND list = dlg.GetFolderList().GetSafeHwnd();
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    for (int i = 0; i < g_nRuns; ++i) {
        f.refresh.push_back(Milliseconds([&] { dlg.Refresh(); }));
        FolderCatalogue bare;
        f.scan.push_back(Milliseconds(
            [&] { bare.Scan(g_strMailbox, true, true, g_strNewmail, "<Posteingang>"); }));
        f.repaint.push_back(Milliseconds([&] {
            ::RedrawWindow(list, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }));
        // A click on "Größe" as the mouse gives it, then the list repainted.
        RECT r = {};
        ::SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        f.sortClick.push_back(Milliseconds([&] {
            ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::SendMessageA(header, WM_LBUTTONUP, 0, at);
            ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }));
    }
    f.rows = dlg.GetFolderList().GetItemCount();
    dlg.EndDialog(IDOK);
}

} // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    g_nRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "foldtally-bench-" + std::to_string(folders);
    g_strMailbox = root + "\\mail\\";
    g_strNewmail = root + "\\new\\";
    if (::GetFileAttributesA((g_strMailbox + "hierarch.pm").c_str()) == INVALID_FILE_ATTRIBUTES) {
        mailgen::Options options;
        options.folders = folders;
        options.maxDepth = 8;
        options.newMailFiles = 100;
        options.maxMessageBytes = 256;
        mailgen::Expectation expected;
        std::string error;
        if (!mailgen::Generate(g_strMailbox, g_strNewmail, options, expected, error)) {
            std::fprintf(stderr, "main_window_bench: %s\n", error.c_str());
            return 1;
        }
    }

    HKEY scratch = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                      nullptr);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, scratch);
    SetDirectoryKey("Mailbox", g_strMailbox);
    SetDirectoryKey("Newmail", g_strNewmail);

    Figures figures;
    double open = 0;
    {
        BenchApp app;
        app.SetStrings();
        app.CreateRegistryStore();
        CMainDlg dlg(app);
        g_pDlg = &dlg;
        g_pFigures = &figures;
        ::SetTimer(nullptr, 0, 10, Measure);
        open = Milliseconds([&] { app.RunModal(dlg); });
    }
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegCloseKey(scratch);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);

    std::printf("%d folders, %d rows, %d runs, medians in ms:\n", folders, figures.rows, g_nRuns);
    std::printf("  refresh (F5)           %9.1f\n", Median(figures.refresh));
    std::printf("  bare scan              %9.1f\n", Median(figures.scan));
    std::printf("  repaint of the list    %9.1f\n", Median(figures.repaint));
    std::printf("  header click + repaint %9.1f\n", Median(figures.sortClick));
    std::printf("  whole run of the window (open, %d x all of the above, close) %.0f\n", g_nRuns,
                open);
    return 0;
}
