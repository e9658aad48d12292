/* A stranger's library planted beside the program under the name of a system library
   (hhctrl.ocx or version.dll). When any process loads it, it leaves "<own path>.loaded"
   beside itself; its functions fail, so a program that used it would show no help and
   no version. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH + 8];
        DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            lstrcatA(path, ".loaded");
            HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
            }
        }
    }
    return TRUE;
}

__declspec(dllexport) HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
    (void)owner;
    (void)file;
    (void)command;
    (void)data;
    return NULL;
}
__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle) {
    (void)file;
    (void)handle;
    return 0;
}
__declspec(dllexport) BOOL WINAPI
    GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data) {
    (void)file;
    (void)handle;
    (void)size;
    (void)data;
    return FALSE;
}
__declspec(dllexport) BOOL WINAPI
    VerQueryValueA(LPCVOID block, LPCSTR sub, LPVOID* data, PUINT size) {
    (void)block;
    (void)sub;
    (void)data;
    (void)size;
    return FALSE;
}
