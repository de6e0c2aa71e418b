// The saver window: class, creation, message loop, the raw window procedure
// in front of the framework and the dismissal rules behind it. The 9x
// family's password check before a close is in password_verifier_windows.cpp.
#include <windows.h>

#include "host/saver_bases_windows.h"
#include "host/saver_host_windows.h"
#include "resources/resource_ids.h"

namespace lumetra {

SaverHost g_saverHost;

namespace {

constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;

bool FullScreen() {
    return g_saverHost.bPreview == FALSE;
}

POINT CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

void HideCursor() {
    SetCursor(nullptr);
}

void PostClose(HWND hwnd) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

void DetachInputMethod(HWND hwnd) {
    HMODULE imm = GetModuleHandleA("IMM32.DLL");  // only when something else loaded it
    if (imm == nullptr) return;
    g_saverHost.hImmLib = imm;
    g_saverHost.pfnImmAssociateContext =
        reinterpret_cast<ImmAssociateContextFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmAssociateContext")));
    if (g_saverHost.pfnImmAssociateContext != nullptr) {
        g_saverHost.hPrevImc = g_saverHost.pfnImmAssociateContext(hwnd, nullptr);
    }
}

void RestoreInputMethod(HWND hwnd) {
    if (g_saverHost.hImmLib != nullptr && g_saverHost.pfnImmAssociateContext != nullptr &&
        g_saverHost.hPrevImc != nullptr) {
        g_saverHost.pfnImmAssociateContext(hwnd, g_saverHost.hPrevImc);
    }
}

// A preview hands help and context-menu requests to the display settings.
LRESULT ForwardToPreviewParent(HWND hwnd, UINT message, LPARAM lParam) {
    HWND parent = GetParent(hwnd);
    if (parent != nullptr && IsWindow(parent) != FALSE) {
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    }
    return 1;
}

bool IsSwitchCommand(WPARAM command) {
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

LRESULT OnMouseMove(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The cursor itself, not the message's client coordinates: the anchor is in screen terms.
    const POINT now = CursorPos();
    const ScreenPoint anchor{g_saverHost.ptCursorAnchor.x, g_saverHost.ptCursorAnchor.y};
    if (MovedBeyondThreshold(anchor, {now.x, now.y}, g_saverHost.nMouseThreshold)) {
        PostClose(hwnd);
        g_saverHost.ptCursorAnchor = now;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int RunSaverWindow(HWND parent) {
    WNDCLASSA windowClass{};
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = g_saverHost.hInstance;
    windowClass.hIcon = LoadIconA(g_saverHost.hInstance, MAKEINTRESOURCEA(IDI_SAVER));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kSaverClassName;

    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    const char* name = nullptr;
    if (parent != nullptr) {
        RECT client{};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        style = kPreviewStyle;
        name = kPreviewWindowName;
        g_saverHost.bPreview = TRUE;
    } else {
        // Every monitor, not the primary one alone: the virtual screen.
        left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        style = kFullScreenStyle;
        exStyle = WS_EX_TOPMOST;
        name = kSaverWindowName;
        HWND running = FindWindowA(kSaverClassName, kSaverWindowName);
        if (running != nullptr && IsWindow(running) != FALSE) {
            SetForegroundWindow(running);
            return 0;
        }
        LoadPasswordVerifier();
    }

    MSG message{};
    if (RegisterClassA(&windowClass) != 0) {
        g_saverHost.hSaverWnd = CreateWindowExA(exStyle, kSaverClassName, name, style, left, top, width, height, parent,
                                                nullptr, g_saverHost.hInstance, nullptr);
    }
    if (g_saverHost.hSaverWnd != nullptr) {
        if (FullScreen()) SetForegroundWindow(g_saverHost.hSaverWnd);
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    UnloadPasswordVerifier();
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK SaverWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            DetachInputMethod(hwnd);
            g_saverHost.ptCursorAnchor = CursorPos();
            if (FullScreen()) HideCursor();
            break;
        case WM_DESTROY:
            RestoreInputMethod(hwnd);
            PostQuitMessage(0);
            break;
        case WM_SETTEXT: return 0;
        case WM_PAINT:
            if (g_saverHost.bCloseAccepted != FALSE) return DefWindowProcA(hwnd, message, wParam, lParam);
            if (FullScreen()) HideCursor();
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (!FullScreen()) return ForwardToPreviewParent(hwnd, message, lParam);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (g_saverHost.bCloseAccepted != FALSE) return DefWindowProcA(hwnd, message, wParam, lParam);
            break;
        case WM_SYSCOMMAND:
            if (FullScreen() && IsSwitchCommand(wParam)) return 0;
            break;
        case WM_TIMER:
            if (g_saverHost.bCloseAccepted != FALSE) return 0;
            // Timer messages come only when the queue is otherwise empty; giving
            // up the rest of the time slice here lets input and the desktop's
            // own work go first, so a busy saver never delays its dismissal.
            Sleep(0);
            break;
        default: break;
    }
    return BridgeWindowProc(hwnd, message, wParam, lParam);
}

LRESULT DefaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_saverHost.bPreview != FALSE || g_saverHost.bCloseAccepted != FALSE) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        if (g_saverHost.bWin9x != FALSE && VerifyBeforeClose(hwnd) == FALSE) {
            g_saverHost.ptCursorAnchor = CursorPos();
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_VERIFYPASSWORD) {
        if (g_saverHost.bWin9x == FALSE) return DefWindowProcA(hwnd, message, wParam, lParam);
        return g_saverHost.pfnVerifyPassword != nullptr ? g_saverHost.pfnVerifyPassword(hwnd) : 1;
    }
    if (g_saverHost.bVerifying != FALSE) return DefWindowProcA(hwnd, message, wParam, lParam);

    switch (message) {
        case WM_SETCURSOR: HideCursor(); return TRUE;
        case WM_SHOWWINDOW:
            if (wParam != 0) HideCursor();
            break;
        case WM_ACTIVATEAPP:
            if (wParam == FALSE) PostClose(hwnd);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: PostClose(hwnd); break;
        case WM_MOUSEMOVE: return OnMouseMove(hwnd, message, wParam, lParam);
        default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace lumetra
