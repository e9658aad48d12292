// Rerunnable timing of the main window on a large mailbox (Windows, under Wine): the
// whole refresh (empty the list, scan, fill, sort, status line) against the bare scan of
// the same mailbox (with its helper threads, and on the calling thread alone) and against
// the minimal loop of the scan's system calls, which runs on one thread, a repaint of
// the filled list (texts made on demand for the visible rows only), and a header click
// that sorts by size. Then the heap bytes a row costs, in the catalogue and in the list.
// And how the window answers while it scans (on a thread of its own): the time from a
// key posted to the list (End, Home by turns) to the list scrolled, during a refresh.
// The window is the real CMainDlg; HKEY_CURRENT_USER is redirected to a scratch key for
// the run, so no stored setting of anyone is touched.
// Usage: main_window_bench [folders] [runs] [mailbox newmail]
// Without directories the mailbox is generated once in the temporary folder. Wine
// creates files slowly in a large directory (each new name is first looked for in every
// letter case), so for 100 000 folders pass bench/run.sh's natively generated mailbox.
#include "app/foldtally_app.h"
#include "mailbox/folder_catalogue.h"
#include "mailgen.h"
#include "minimal_scan_win32.h"
#include "resource.h"
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

// Bytes in busy blocks of every heap of the process: what the C runtime (operator new)
// and the common controls hold, without the pages a heap keeps in reserve.
double HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = ::GetProcessHeaps(64, heaps);
    double bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        ::HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                bytes += entry.cbData;
            }
        }
        ::HeapUnlock(heaps[i]);
    }
    return bytes;
}

std::string WithBackslash(std::string dir) {
    if (!dir.empty() && dir.back() != '\\') {
        dir += '\\';
    }
    return dir;
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
    std::vector<double> refresh, scan, oneThread, loop, repaint, sortClick, keyAnswer, filterKey;
    std::vector<double> narrowingKey; // keys that each change the rows' count
    int keysDuringScans = 0;
    int rows = 0;
    double catalogueBytes = 0; // heap bytes of one bare scan's catalogue, kept
    double listBytes = 0;      // heap bytes the filled list holds beyond the empty one
};

// Shared with the timer callback, which runs inside the dialog's own modal loop.
CMainDlg* g_pDlg = nullptr;
Figures* g_pFigures = nullptr;
std::string g_strMailbox, g_strNewmail;
int g_nRuns = 0;

// The longest handling of one message while keys are timed, and that message: what a
// key waits for at worst.
bool g_bWatch = false;
double g_longestMessage = 0;
UINT g_longestMessageId = 0;

// Handles the window's messages until `done` holds, as its modal loop does; false
// when it did not within `limitMs`.
template <class Done> bool PumpUntil(Done done, DWORD limitMs = 600000) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (!done()) {
        if (::GetTickCount() - start > limitMs) {
            return false;
        }
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // As the window's modal loop does: its keys first go through the window.
            const double ms = Milliseconds([&] {
                CDialog* dialog = g_pDlg;
                if (dialog == nullptr || !dialog->PreTranslateMessage(&msg)) {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageA(&msg);
                }
            });
            if (g_bWatch && ms > g_longestMessage) {
                g_longestMessage = ms;
                g_longestMessageId = msg.message;
            }
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
    return true;
}

// F5 as the user sees it: from the request to the new rows shown.
void RefreshAndWait(CMainDlg& dlg) {
    const int count = dlg.GetRefreshCount();
    dlg.Refresh();
    PumpUntil([&] { return dlg.GetRefreshCount() != count && !dlg.IsScanBusy(); });
}

// Keys during one refresh: each is posted, then the messages are handled until the list
// has scrolled to the other end.
void MeasureKeysDuringAScan(CMainDlg& dlg, Figures& f) {
    HWND list = dlg.GetFolderList().GetSafeHwnd();
    dlg.Refresh();
    g_bWatch = true;
    while (dlg.IsScanBusy()) {
        // To the other end of the list from where it stands.
        const int top = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        const WPARAM key = top == 0 ? VK_END : VK_HOME;
        bool answered = false;
        const double ms = Milliseconds([&] {
            ::PostMessageA(list, WM_KEYDOWN, key, 1);
            ::PostMessageA(list, WM_KEYUP, key, 0xC0000001);
            answered = PumpUntil(
                [&] {
                    return static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0)) != top;
                },
                5000);
        });
        if (answered) {
            f.keyAnswer.push_back(ms);
            ++f.keysDuringScans;
        }
        const DWORD pause = ::GetTickCount();
        PumpUntil([&] { return ::GetTickCount() - pause >= 50; });
    }
    g_bWatch = false;
}

// The heap cost of the rows: a catalogue filled beside the window's, then the window's
// list emptied. The window is refreshed again afterwards.
void MeasureMemory(CMainDlg& dlg, Figures& f) {
    HWND list = dlg.GetFolderList().GetSafeHwnd();
    {
        const double before = HeapBytesInUse();
        FolderCatalogue catalogue;
        catalogue.Scan({g_strMailbox, g_strNewmail, true, true, "<Posteingang>"});
        f.catalogueBytes = HeapBytesInUse() - before;
    }
    const double filled = HeapBytesInUse();
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    f.listBytes = filled - HeapBytesInUse();
    RefreshAndWait(dlg);
}

void CALLBACK Measure(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    CMainDlg& dlg = *g_pDlg;
    Figures& f = *g_pFigures;
    HWND list = dlg.GetFolderList().GetSafeHwnd();
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    PumpUntil([&] { return dlg.GetRefreshCount() > 0 && !dlg.IsScanBusy(); }); // the first
    for (int i = 0; i < g_nRuns; ++i) {
        f.refresh.push_back(Milliseconds([&] { RefreshAndWait(dlg); }));
        MeasureKeysDuringAScan(dlg, f);
        FolderCatalogue bare;
        f.scan.push_back(Milliseconds([&] {
            bare.Scan({g_strMailbox, g_strNewmail, true, true, "<Posteingang>"});
        }));
        FolderCatalogue alone;
        ScanThreading oneThread;
        oneThread.helpers = 0;
        f.oneThread.push_back(Milliseconds([&] {
            alone.Scan({g_strMailbox, g_strNewmail, true, true, "<Posteingang>"}, nullptr,
                       oneThread);
        }));
        f.loop.push_back(Milliseconds([&] { MinimalScan(g_strMailbox, g_strNewmail); }));
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
        // A filter typed a letter at a time: each key's text set in the box (its change
        // filters the rows at once), then the list repainted; emptied again at the end.
        // Every file name holds "fol0", so most of these keys keep the rows' count; the
        // letters of a folder's name take fewer rows with nearly every key.
        const HWND filter = ::GetDlgItem(g_pDlg->GetSafeHwnd(), IDC_FILTER);
        for (const auto& [text, times] : {std::make_pair("fol0 -x", &f.filterKey),
                                          std::make_pair("urlaub 1", &f.narrowingKey)}) {
            std::string typed;
            for (const char key : std::string(text)) {
                typed += key;
                times->push_back(Milliseconds([&] {
                    ::SetWindowTextA(filter, typed.c_str());
                    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                }));
            }
            ::SetWindowTextA(filter, "");
        }
    }
    f.rows = dlg.GetFolderList().GetItemCount();
    MeasureMemory(dlg, f);
    dlg.EndDialog(IDOK);
}

} // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    g_nRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "foldtally-bench-" + std::to_string(folders);
    g_strMailbox = argc > 4 ? WithBackslash(argv[3]) : root + "\\mail\\";
    g_strNewmail = argc > 4 ? WithBackslash(argv[4]) : root + "\\new\\";
    const bool generated = argc <= 4; // a given mailbox is only read
    if (generated &&
        ::GetFileAttributesA((g_strMailbox + "hierarch.pm").c_str()) == INVALID_FILE_ATTRIBUTES) {
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
    std::printf("  bare scan, one thread  %9.1f\n", Median(figures.oneThread));
    std::printf("  minimal loop           %9.1f\n", Median(figures.loop));
    std::printf("  repaint of the list    %9.1f\n", Median(figures.repaint));
    std::printf("  header click + repaint %9.1f\n", Median(figures.sortClick));
    if (!figures.filterKey.empty()) {
        std::printf("  filter key + repaint   %9.1f (worst %.1f)\n", Median(figures.filterKey),
                    *std::max_element(figures.filterKey.begin(), figures.filterKey.end()));
        std::printf("  narrowing key + repaint %8.1f (worst %.1f)\n", Median(figures.narrowingKey),
                    *std::max_element(figures.narrowingKey.begin(), figures.narrowingKey.end()));
    }
    if (!figures.keyAnswer.empty()) {
        std::printf("  key to list scrolled, during a refresh: median %.1f, worst %.1f (%d keys)\n",
                    Median(figures.keyAnswer),
                    *std::max_element(figures.keyAnswer.begin(), figures.keyAnswer.end()),
                    figures.keysDuringScans);
        std::printf("  longest message handled meanwhile: %.1f (message 0x%04X)\n",
                    g_longestMessage, g_longestMessageId);
    }
    const double loop = Median(figures.loop);
    if (loop > 0) {
        std::printf("  ratio to the loop: refresh %.2f, bare scan %.2f, one thread %.2f\n",
                    Median(figures.refresh) / loop, Median(figures.scan) / loop,
                    Median(figures.oneThread) / loop);
    }
    std::printf("  whole run of the window (open, %d x all of the above, close) %.0f\n", g_nRuns,
                open);
    std::printf("heap bytes per row: catalogue %.0f, list %.0f\n",
                figures.catalogueBytes / figures.rows, figures.listBytes / figures.rows);
    return 0;
}
