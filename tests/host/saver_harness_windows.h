// Test doubles for the host: a saver window object that records its hooks and
// runs a test's script on the window's own thread once the window exists, and
// a fixture that runs the real RunSaverWindow around it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/app_windows.h"
#include "host/saver_bases_windows.h"
#include "host/saver_host_windows.h"

namespace lumetra::testing {

inline constexpr UINT kRunScript = WM_APP + 7;
inline constexpr POINT kAnchor{200, 150};

class CRecordingSaverWnd : public CScreenSaverWnd {
public:
    void OnDraw(CDC* /*pDC*/) override { hooks.emplace_back("OnDraw"); }
    void OnStart() override {
        hooks.emplace_back("OnStart");
        PostMessageA(m_hWnd, kRunScript, 0, 0);
    }
    void LoadSettings() override { hooks.emplace_back("LoadSettings"); }
    void SaveSettings() override { hooks.emplace_back("SaveSettings"); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (firstMessage == 0) {
            firstMessage = message;
            attachedAtFirstMessage = FromHandlePermanent(m_hWnd) == this;
        }
        return CScreenSaverWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { frameworkRunningAfterNcDestroy = AfxGetModuleState()->bRunning; }

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

    std::function<void(HWND)> script;
    std::vector<std::string> hooks;
    int timers = 0;
    int sysCommands = 0;
    UINT firstMessage = 0;
    bool attachedAtFirstMessage = false;
    bool frameworkRunningAfterNcDestroy = false;

private:
    void OnTimer(UINT_PTR /*id*/) { ++timers; }
    LRESULT OnSysCommand() {
        ++sysCommands;
        return Default();
    }
    LRESULT OnRunScript() {
        if (script) script(m_hWnd);
        if (m_hWnd != nullptr && IsWindow(m_hWnd) != FALSE) DestroyWindow(m_hWnd);
        return 0;
    }

    static const MessageEntry kMessageEntries[];
};

inline const MessageEntry CRecordingSaverWnd::kMessageEntries[] = {
    msg::OnTimer<&CRecordingSaverWnd::OnTimer>(),
    msg::OnMessage<WM_SYSCOMMAND, &CRecordingSaverWnd::OnSysCommand>(),
    msg::OnMessage<kRunScript, &CRecordingSaverWnd::OnRunScript>(),
};
inline const MessageMap CRecordingSaverWnd::kMessageMap{&CScreenSaverWnd::kMessageMap,
                                                        CRecordingSaverWnd::kMessageEntries};

// Takes a WM_CLOSE that the window posted to itself; false when there is none.
inline bool TakePostedClose(HWND hwnd) {
    MSG message{};
    return PeekMessageA(&message, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

// Dispatches what is queued, leaving a quit message for the loop.
inline void Pump() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline POINT Cursor() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

class SaverWindowFixture : public ::testing::Test {
protected:
    void SetUp() override { ResetHost(); }
    void TearDown() override { UnregisterClassA(kSaverClassName, g_saverHost.hInstance); }

    // The host as at process start, as SaverMain leaves it before a mode runs.
    static void ResetHost() {
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        g_saverHost = SaverHost{};
        g_saverHost.hInstance = GetModuleHandleA(nullptr);
        g_saverHost.bWin9x = RunsAsWin9x() ? TRUE : FALSE;
        SetCursorPos(kAnchor.x, kAnchor.y);
    }

    int Run(std::function<void(HWND)> script, HWND parent = nullptr) {
        window.script = std::move(script);
        return RunSaverWindow(parent);
    }

    static bool RunsAsWin9x() {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        return GetVersionExA(&info) != FALSE && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#pragma GCC diagnostic pop
    }

    CRecordingSaverWnd window;
};

}  // namespace lumetra::testing
