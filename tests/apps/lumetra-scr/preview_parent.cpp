// preview_parent.exe SAVER [LETTER [WIDTHxHEIGHT]]: plays the display
// settings' preview. It makes a window (a client area of WIDTH x HEIGHT when
// given), starts "SAVER /LETTER <handle>" (LETTER p by default), waits for
// the preview window to appear inside it, prints that window's size, destroys
// its own window and exits with the saver's exit code; 99 when no preview appeared, 98 when
// the saver did not end.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Serves this thread's windows while waiting: the preview's creation sends
// messages to its parent, which must be answered.
bool WaitPumping(HANDLE process, DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) return false;
        const DWORD woke =
            MsgWaitForMultipleObjects(process != nullptr ? 1 : 0, &process, FALSE, end - now, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 && process != nullptr) return true;
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) DispatchMessageA(&message);
        if (process == nullptr) return true;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string letter = argc > 2 ? argv[2] : "p";
    RECT frame{0, 0, 200, 160};
    if (argc > 3) {
        int width = 0, height = 0;
        if (std::sscanf(argv[3], "%dx%d", &width, &height) != 2) return 2;
        frame = {0, 0, width, height};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PreviewParent";
    RegisterClassA(&windowClass);
    HWND parent = CreateWindowExA(0, "PreviewParent", "Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    std::string command =
        "\"" + std::string(argv[1]) + "\" /" + letter + " " + std::to_string(reinterpret_cast<UINT_PTR>(parent));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child) ==
        FALSE) {
        return 97;
    }
    HWND preview = nullptr;
    for (int i = 0; i < 100 && preview == nullptr; ++i) {
        WaitPumping(nullptr, 100);
        preview = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview");
    }
    const bool appeared = preview != nullptr;
    RECT client{};
    GetClientRect(preview, &client);
    std::printf("preview %ldx%ld\n", static_cast<long>(client.right), static_cast<long>(client.bottom));
    WaitPumping(nullptr, 300);  // let it draw
    DestroyWindow(parent);
    const bool ended = WaitPumping(child.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    if (!ended) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    std::printf("preview %s, exit %ld\n", appeared ? "appeared" : "never appeared", static_cast<long>(code));
    if (!appeared) return 99;
    if (!ended) return 98;
    return static_cast<int>(code);
}
