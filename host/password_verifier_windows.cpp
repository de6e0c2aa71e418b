// The 9x family's screen-saver password: the system's verifier, loaded while
// a full-screen saver runs when the desktop settings ask for it, is asked
// before every close; while it is loaded the system is told that a screen
// saver runs (which blocks task switching on that family).
#include <windows.h>

#include "framework/system_library_windows.h"
#include "host/saver_host_windows.h"

namespace lumetra {
namespace {

constexpr UINT kSpiSetScreenSaverRunning = 97;

}  // namespace

BOOL VerifyBeforeClose(HWND hwnd) {
    if (g_saverHost.bVerifying != FALSE) return FALSE;
    if (g_saverHost.pfnVerifyPassword == nullptr) {
        g_saverHost.bCloseAccepted = TRUE;
        return TRUE;
    }
    if (VerificationDue(g_saverHost.dwLastVerifyTick, GetTickCount())) {
        g_saverHost.bVerifying = TRUE;
        // Each of the window's two timers has at most one timer message
        // pending: two removals drop both, so no probe or motion tick runs
        // between the close request and the verifier's dialog. PM_NOYIELD:
        // no other program runs before the dialog shows.
        MSG pending{};
        PeekMessageA(&pending, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
        PeekMessageA(&pending, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
        const LRESULT answer = SendMessageA(hwnd, WM_VERIFYPASSWORD, 0, 0);
        g_saverHost.bCloseAccepted = answer != 0 ? TRUE : FALSE;
        g_saverHost.bVerifying = FALSE;
        if (answer == 0) SetCursor(nullptr);  // hidden again after the dialog
        g_saverHost.dwLastVerifyTick = GetTickCount();
    }
    return g_saverHost.bCloseAccepted;
}

void LoadPasswordVerifier() {
    if (g_saverHost.bWin9x == FALSE) return;
    if (g_saverHost.hPasswordLib != nullptr) UnloadPasswordVerifier();
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        value != 0) {
        g_saverHost.hPasswordLib = LoadSystemLibrary("PASSWORD.CPL");
        if (g_saverHost.hPasswordLib != nullptr) {
            g_saverHost.pfnVerifyPassword = reinterpret_cast<VerifyPasswordFn>(
                reinterpret_cast<void*>(GetProcAddress(g_saverHost.hPasswordLib, "VerifyScreenSavePwd")));
            if (g_saverHost.pfnVerifyPassword != nullptr) {
                SetSaverRunning(TRUE);
            } else {
                UnloadPasswordVerifier();
            }
        }
    }
    RegCloseKey(key);
}

void UnloadPasswordVerifier() {
    if (g_saverHost.bWin9x == FALSE || g_saverHost.hPasswordLib == nullptr) return;
    FreeLibrary(g_saverHost.hPasswordLib);
    g_saverHost.hPasswordLib = nullptr;
    if (g_saverHost.pfnVerifyPassword != nullptr) {
        g_saverHost.pfnVerifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

void SetSaverRunning(BOOL running) {
    if (g_saverHost.bWin9x == FALSE) return;
    BOOL previous = FALSE;
    SystemParametersInfoA(kSpiSetScreenSaverRunning, static_cast<UINT>(running), &previous, 0);
}

}  // namespace lumetra
