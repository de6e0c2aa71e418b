// The host's process-wide state and the saver window's procedures: the
// window class, the message loop, the dismissal rules and the 9x family's
// password verification around closing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "host/dismissal.h"

namespace lumetra {

// Sent by the saver window to itself to run the password verification; a
// non-zero answer lets the close proceed.
inline constexpr UINT WM_VERIFYPASSWORD = 0x8000;

inline constexpr char kSaverClassName[] = "WindowsScreenSaverClass";
inline constexpr char kSaverWindowName[] = "Screen Saver";
inline constexpr char kPreviewWindowName[] = "Preview";

using VerifyPasswordFn = BOOL(WINAPI*)(HWND);
using ImmAssociateContextFn = HANDLE(WINAPI*)(HWND, HANDLE);

struct SaverHost {
    HINSTANCE hInstance = nullptr;
    HWND hSaverWnd = nullptr;
    BOOL bPreview = FALSE;
    BOOL bCloseAccepted = FALSE;  // from then on the window only closes
    BOOL bVerifying = FALSE;
    HMODULE hPasswordLib = nullptr;
    VerifyPasswordFn pfnVerifyPassword = nullptr;
    HMODULE hImmLib = nullptr;
    ImmAssociateContextFn pfnImmAssociateContext = nullptr;
    HANDLE hPrevImc = nullptr;
    BOOL bWin9x = FALSE;
    std::uint32_t nMouseThreshold = kMouseThreshold;
    std::uint32_t dwLastVerifyTick = kNoVerifyYet;
    POINT ptCursorAnchor{};
};

// The one record of the process.
extern SaverHost g_saverHost;

// Full screen with a null parent, else a preview inside `parent`. Returns the
// quit code of the message loop, or 0 when a full-screen saver already runs.
int RunSaverWindow(HWND parent);
LRESULT CALLBACK SaverWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL VerifyBeforeClose(HWND hwnd);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunning(BOOL running);

}  // namespace lumetra
